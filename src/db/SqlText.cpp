#include "db/SqlText.h"

#include <QDateTime>
#include <cmath>

#include "db/Dialect.h"

namespace rsgz::db {

std::string joinSqlLines(const SqlLines& lines)
{
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) out += "\r\n";
        out += lines[i];
    }
    return out;
}

SqlLines splitSqlLines(std::string_view text)
{
    SqlLines lines;
    std::string cur;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(cur);
            cur.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            cur += c;
        }
    }
    if (!cur.empty() || lines.empty()) lines.push_back(cur);
    return lines;
}

std::string sqlQuote(std::string_view value)
{
    std::string out;
    out.reserve(value.size() + 2);
    out += '\'';
    for (char c : value) {
        if (c == '\'') out += '\'';
        out += c;
    }
    out += '\'';
    return out;
}

std::string sqlIdent(std::string_view name) { return sqliteDialect().quoteName(name); }

namespace {
// A plain decimal number: [+-]digits[.digits][e[+-]digits]. Anything else (also what strtod would
// accept beyond that, such as "inf", "nan(…)" or hex) is not let into a statement bare.
bool isDecimalNumber(std::string_view s)
{
    size_t i = 0;
    auto digits = [&] {
        const size_t start = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
        return i - start;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t n = digits();
    if (i < s.size() && s[i] == '.') {
        ++i;
        n += digits();
    }
    if (n == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (digits() == 0) return false;
    }
    return i == s.size();
}
}  // namespace

std::string sqlLiteral(const Value& value, FieldType type)
{
    // A yes/no value is written as the truth words both engines read: SQLite stores them as the
    // numbers 1 and 0 of its yes/no columns, the server has a truth type of its own that takes
    // neither a number nor an empty text.
    if (type == FieldType::YesNo) return value.isNull() ? "null" : value.toBool() ? "true" : "false";
    switch (literalForm(type)) {
    case LiteralForm::Bare: {
        if (type == FieldType::Currency) return value.toMoney().toSqlLiteral();
        const std::string s = value.toString();
        if (isDecimalNumber(s)) return s;
        const double d = value.toDouble();
        return std::isfinite(d) ? Value(d).toString() : "0";
    }
    case LiteralForm::DateHash: {
        // No date is no value: the server's date type holds no empty text.
        if (value.isNull() || value.toString().empty()) return "null";
        const QDateTime d = value.toDateTime();
        // A date that does not parse cannot go between "#" safely: quote it as text instead.
        if (!d.isValid()) return sqlQuote(value.toString());
        // With its time, as stored: a condition made from a row's own value finds that row.
        std::string out = dateText(d.date(), d.time());
        out.insert(out.begin(), '#');
        out += '#';
        return out;
    }
    case LiteralForm::Quoted: break;
    }
    return sqlQuote(value.toString());
}

}  // namespace rsgz::db
