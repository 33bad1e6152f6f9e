#include "print/ReportExpression.h"

#include <QDate>
#include <QString>
#include <cctype>
#include <charconv>
#include <stdexcept>

namespace rsgz::print {

namespace {

struct ExprError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

int64_t divideHalfEven(__int128 num, __int128 den)
{
    if (den == 0)
        throw ExprError("除数为零");
    if (den < 0) {
        num = -num;
        den = -den;
    }
    __int128 q = num / den, r = num % den;
    if (r < 0) {
        q -= 1;
        r += den;
    }
    if (2 * r > den || (2 * r == den && (q & 1)))
        q += 1;
    return static_cast<int64_t>(q);
}

// A recursive-descent reader over the expression text; values are fixed-point amounts.
class Parser {
public:
    Parser(const std::string& text, const ReportTable& table, const std::string& ownField)
        : s_(text), table_(table), own_(ownField) {}

    db::Money run(bool* countOnly)
    {
        db::Money v = expr();
        skipSpace();
        if (pos_ != s_.size())
            throw ExprError("公式在“" + s_.substr(pos_) + "”处无法识别");
        *countOnly = countOnly_;
        return v;
    }

private:
    db::Money expr()
    {
        db::Money v = term();
        while (true) {
            if (eat('+'))
                v = v + term();
            else if (eat('-'))
                v = v - term();
            else
                return v;
        }
    }
    db::Money term()
    {
        db::Money v = factor();
        while (true) {
            if (eat('*')) {
                const db::Money f = factor();
                v = db::Money::fromUnits(divideHalfEven(static_cast<__int128>(v.units()) * f.units(), db::Money::kScale));
            } else if (eat('/')) {
                const db::Money d = factor();
                countOnly_ = false;
                v = db::Money::fromUnits(divideHalfEven(static_cast<__int128>(v.units()) * db::Money::kScale, d.units()));
            } else {
                return v;
            }
        }
    }
    db::Money factor()
    {
        skipSpace();
        if (eat('-'))
            return -factor();
        if (eat('(')) {
            db::Money v = expr();
            if (!eat(')'))
                throw ExprError("括号不成对");
            return v;
        }
        if (pos_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '.'))
            return number();
        return function();
    }
    db::Money number()
    {
        size_t end = pos_;
        while (end < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[end])) || s_[end] == '.'))
            ++end;
        db::Money m;
        if (!db::Money::parse(s_.substr(pos_, end - pos_), &m))
            throw ExprError("数字“" + s_.substr(pos_, end - pos_) + "”无效");
        if (m.units() % db::Money::kScale != 0)
            countOnly_ = false;
        pos_ = end;
        return m;
    }
    db::Money function()
    {
        size_t end = pos_;
        while (end < s_.size() && std::isalpha(static_cast<unsigned char>(s_[end])))
            ++end;
        QString name = QString::fromStdString(s_.substr(pos_, end - pos_)).toUpper();
        pos_ = end;
        std::string field = own_;
        if (eat('(')) {
            const size_t close = s_.find(')', pos_);
            if (close == std::string::npos)
                throw ExprError("括号不成对");
            field = QString::fromStdString(s_.substr(pos_, close - pos_)).trimmed().toStdString();
            pos_ = close + 1;
        }
        const int col = table_.fieldIndex(field);
        if (col < 0)
            throw ExprError("字段“" + field + "”不存在");
        if (name == "COUNT")
            return db::Money::fromUnits(static_cast<int64_t>(values(col).count) * db::Money::kScale);
        countOnly_ = false;
        const Totals t = values(col);
        if (name == "SUM")
            return t.sum;
        if (name == "AVG") {
            if (t.count == 0)
                throw ExprError("没有可求平均的数据");
            return db::Money::fromUnits(divideHalfEven(t.sum.units(), t.count));
        }
        throw ExprError("函数“" + name.toStdString() + "”无法识别，可用 COUNT、SUM、AVG");
    }

    struct Totals {
        db::Money sum;
        int64_t count = 0;
    };
    Totals values(int col) const
    {
        Totals t;
        for (const auto& row : table_.rows) {
            const db::Value& v = row[static_cast<size_t>(col)];
            if (v.isNull())
                continue;
            t.sum = t.sum + v.toMoney();
            ++t.count;
        }
        return t;
    }

    void skipSpace()
    {
        while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_])))
            ++pos_;
    }
    bool eat(char c)
    {
        skipSpace();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    const std::string& s_;
    const ReportTable& table_;
    const std::string& own_;
    size_t pos_ = 0;
    bool countOnly_ = true;
};

// Decimals and grouping of a number format such as "0.00" or "#,##0.0"; false for other formats.
bool numberFormat(const std::string& format, int* decimals, bool* grouping)
{
    if (format.empty() || format.find_first_not_of("#0,.") != std::string::npos)
        return false;
    const size_t dot = format.find('.');
    *decimals = dot == std::string::npos ? 0 : static_cast<int>(format.size() - dot - 1);
    *grouping = format.find(',') != std::string::npos;
    return *decimals <= 4;
}

std::string withGrouping(std::string text)
{
    const size_t start = text[0] == '-' ? 1 : 0;
    size_t end = text.find('.');
    if (end == std::string::npos)
        end = text.size();
    for (size_t i = end; i > start + 3; i -= 3)
        text.insert(i - 3, ",");
    return text;
}

std::string moneyText(db::Money m, int decimals, bool grouping)
{
    const std::string t = m.toString(decimals);
    return grouping ? withGrouping(t) : t;
}

}  // namespace

SummaryResult evaluateSummary(const std::string& expression, const ReportTable& table,
                              const std::string& ownField)
{
    SummaryResult r;
    try {
        Parser p(expression, table, ownField);
        r.value = p.run(&r.countOnly);
    } catch (const ExprError& e) {
        r.error = e.what();
    }
    return r;
}

std::string summaryText(const SummaryResult& r, const std::string& format)
{
    if (!r.value)
        return {};
    int decimals = r.countOnly ? 0 : 2;
    bool grouping = false;
    numberFormat(format, &decimals, &grouping);
    return moneyText(*r.value, decimals, grouping);
}

std::string formatCell(const db::Value& v, const std::string& format)
{
    if (v.isNull())
        return {};
    int decimals = 0;
    bool grouping = false;
    if (numberFormat(format, &decimals, &grouping)) {
        db::Money m;
        if (v.kind() == db::Value::Kind::Text && !db::Money::parse(v.toString(), &m))
            return v.toString();
        return moneyText(v.toMoney(), decimals, grouping);
    }
    const QString f = QString::fromStdString(format);
    if (f.contains("yyyy", Qt::CaseInsensitive)) {
        const QDate d = v.toDate();
        if (d.isValid())
            return d.toString(QString(f).replace("mm", "MM").replace("DD", "dd")).toStdString();
    }
    return v.toString();
}

}  // namespace rsgz::print
