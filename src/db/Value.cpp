#include "db/Value.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace rsgz::db {

Value::Value(const QString& v) : kind_(Kind::Text), s_(v.toStdString()) {}

Value Value::fromDate(const QDate& d)
{
    if (!d.isValid()) return Value();
    return Value(d.toString(QStringLiteral("yyyy-MM-dd")).toStdString());
}

namespace {
// Number text is written and read the same way whatever the process locale says: the Qt
// application takes LC_NUMERIC from the environment, and under a decimal-comma locale the C
// library's printf and strtod would write "1,5" into a statement and read "2.5" as 2.
std::string doubleText(double d)
{
    char buf[64];
    const bool whole = std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15;
    const auto res = whole ? std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed, 0)
                           : std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, 15);
    return std::string(buf, res.ptr);
}

// The leading number of a text, as the lenient accessors read it: blanks and a plus sign before
// it are skipped, whatever follows it is ignored, and no number at all gives 0.
double leadingNumber(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r' || s.front() == '\n')) s.remove_prefix(1);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double d = 0;
    const auto res = std::from_chars(s.data(), s.data() + s.size(), d);
    return res.ec == std::errc() ? d : 0;
}

// Rounded to a whole number; what no 64-bit integer holds gives 0 rather than an undefined result.
int64_t roundedInt(double d)
{
    return std::isfinite(d) && std::fabs(d) < 9.2e18 ? static_cast<int64_t>(std::llround(d)) : 0;
}
}  // namespace

std::string Value::toString() const
{
    switch (kind_) {
    case Kind::Null: return {};
    case Kind::Int: return std::to_string(i_);
    case Kind::Double: return doubleText(d_);
    case Kind::Money: return Money::fromUnits(i_).toSqlLiteral();
    case Kind::Bool: return i_ ? "True" : "False";
    case Kind::Text: return s_;
    }
    return {};
}

QString Value::toQString() const { return QString::fromStdString(toString()); }

int64_t Value::toInt() const
{
    switch (kind_) {
    case Kind::Int:
    case Kind::Bool: return i_;
    case Kind::Double: return roundedInt(d_);
    case Kind::Money: return static_cast<int64_t>(std::llround(static_cast<double>(i_) / Money::kScale));
    case Kind::Text: return roundedInt(leadingNumber(s_));
    case Kind::Null: break;
    }
    return 0;
}

double Value::toDouble() const
{
    switch (kind_) {
    case Kind::Int:
    case Kind::Bool: return static_cast<double>(i_);
    case Kind::Double: return d_;
    case Kind::Money: return static_cast<double>(i_) / Money::kScale;
    case Kind::Text: return leadingNumber(s_);
    case Kind::Null: break;
    }
    return 0;
}

Money Value::toMoney() const
{
    switch (kind_) {
    case Kind::Money: return Money::fromUnits(i_);
    case Kind::Int:
    case Kind::Bool: {
        int64_t units = 0;
        return __builtin_mul_overflow(i_, Money::kScale, &units) ? Money() : Money::fromUnits(units);
    }
    case Kind::Double: return Money::fromDouble(d_);
    case Kind::Text: {
        Money m;
        return Money::read(s_, &m) == Money::Reading::Ok ? m : Money::fromDouble(leadingNumber(s_));
    }
    case Kind::Null: break;
    }
    return {};
}

bool Value::toBool() const
{
    switch (kind_) {
    case Kind::Int:
    case Kind::Bool:
    case Kind::Money: return i_ != 0;
    case Kind::Double: return d_ != 0;
    case Kind::Text: return s_ == "1" || s_ == "-1" || s_ == "True" || s_ == "true" || s_ == "是";
    case Kind::Null: break;
    }
    return false;
}

QDate Value::toDate() const
{
    QDate d;
    QTime t;
    if (kind_ != Kind::Text || !parseDateText(s_, &d, &t)) return {};
    return d;
}

QDateTime Value::toDateTime() const
{
    QDate d;
    QTime t;
    if (kind_ != Kind::Text || !parseDateText(s_, &d, &t)) return {};
    return QDateTime(d, t);
}

namespace {
// Up to maxDigits digits at pos; -1 when there is none.
int number(std::string_view s, size_t& pos, int maxDigits)
{
    int n = 0, digits = 0;
    while (pos < s.size() && digits < maxDigits && s[pos] >= '0' && s[pos] <= '9') {
        n = n * 10 + (s[pos++] - '0');
        ++digits;
    }
    return digits == 0 ? -1 : n;
}
}  // namespace

bool parseDateText(std::string_view s, QDate* date, QTime* time)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    size_t pos = 0;
    const int y = number(s, pos, 4);
    if (y < 0 || pos != 4 || pos >= s.size()) return false;
    const char sep = s[pos];
    if (sep != '-' && sep != '/' && sep != '.') return false;
    ++pos;
    const int m = number(s, pos, 2);
    if (m < 0 || pos >= s.size() || s[pos++] != sep) return false;
    const int d = number(s, pos, 2);
    if (d < 0 || !QDate::isValid(y, m, d)) return false;
    int h = 0, mi = 0, sec = 0;
    if (pos < s.size()) {
        if (s[pos] != ' ' && s[pos] != 'T') return false;
        while (pos < s.size() && (s[pos] == ' ' || s[pos] == 'T')) ++pos;
        h = number(s, pos, 2);
        if (h < 0 || pos >= s.size() || s[pos++] != ':') return false;
        mi = number(s, pos, 2);
        if (mi < 0) return false;
        if (pos < s.size() && s[pos] == ':') {
            ++pos;
            sec = number(s, pos, 2);
            if (sec < 0) return false;
        }
        if (pos != s.size() || !QTime::isValid(h, mi, sec)) return false;
    }
    *date = QDate(y, m, d);
    *time = QTime(h, mi, sec);
    return true;
}

std::string dateText(const QDate& date, const QTime& time)
{
    char buf[32];
    if (time == QTime(0, 0))
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", date.year(), date.month(), date.day());
    else
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", date.year(), date.month(), date.day(),
                      time.hour(), time.minute(), time.second());
    return buf;
}

bool Value::operator==(const Value& o) const
{
    if (kind_ == Kind::Null || o.kind_ == Kind::Null) return kind_ == o.kind_;
    if (kind_ == Kind::Text || o.kind_ == Kind::Text) return toString() == o.toString();
    if (kind_ == Kind::Double || o.kind_ == Kind::Double) return toDouble() == o.toDouble();
    if (kind_ == Kind::Money || o.kind_ == Kind::Money) return toMoney() == o.toMoney();
    return i_ == o.i_;
}

}  // namespace rsgz::db
