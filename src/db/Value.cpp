#include "db/Value.h"

#include <QDate>
#include <QDateTime>
#include <QString>
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
std::string doubleText(double d)
{
    if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.0f", d);
        return buf;
    }
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", d);
    return buf;
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
    case Kind::Double: return static_cast<int64_t>(std::llround(d_));
    case Kind::Money: return static_cast<int64_t>(std::llround(static_cast<double>(i_) / Money::kScale));
    case Kind::Text: return std::llround(std::strtod(s_.c_str(), nullptr));
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
    case Kind::Text: return std::strtod(s_.c_str(), nullptr);
    case Kind::Null: break;
    }
    return 0;
}

Money Value::toMoney() const
{
    switch (kind_) {
    case Kind::Money: return Money::fromUnits(i_);
    case Kind::Int:
    case Kind::Bool: return Money::fromUnits(i_ * Money::kScale);
    case Kind::Double: return Money::fromDouble(d_);
    case Kind::Text: {
        Money m;
        return Money::parse(s_, &m) ? m : Money::fromDouble(std::strtod(s_.c_str(), nullptr));
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

QDate Value::toDate() const { return toDateTime().date(); }

QDateTime Value::toDateTime() const
{
    if (kind_ != Kind::Text || s_.size() < 8) return {};
    const QString t = QString::fromStdString(s_).trimmed();
    for (const char* fmt : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-ddTHH:mm:ss"}) {
        QDateTime dt = QDateTime::fromString(t, QString::fromLatin1(fmt));
        if (dt.isValid()) return dt;
    }
    QDate d = QDate::fromString(t.left(10), QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid()) d = QDate::fromString(t, QStringLiteral("yyyy-M-d"));
    if (!d.isValid()) d = QDate::fromString(t, QStringLiteral("yyyy/M/d"));
    return d.isValid() ? QDateTime(d, QTime(0, 0)) : QDateTime();
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
