#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "db/Money.h"

class QString;
class QDate;
class QTime;
class QDateTime;

namespace rsgz::db {

// One cell value as the datasets hand it out. Text is UTF-8; dates are ISO text.
class Value {
public:
    enum class Kind : uint8_t { Null, Int, Double, Money, Bool, Text };

    Value() = default;
    Value(int v) : kind_(Kind::Int), i_(v) {}
    Value(int64_t v) : kind_(Kind::Int), i_(v) {}
    Value(double v) : kind_(Kind::Double), d_(v) {}
    Value(Money v) : kind_(Kind::Money), i_(v.units()) {}
    Value(bool v) : kind_(Kind::Bool), i_(v ? 1 : 0) {}
    Value(std::string v) : kind_(Kind::Text), s_(std::move(v)) {}
    Value(std::string_view v) : kind_(Kind::Text), s_(v) {}
    Value(const char* v) : kind_(Kind::Text), s_(v) {}
    Value(const QString& v);
    static Value null() { return Value(); }
    static Value fromDate(const QDate& d);  // yyyy-mm-dd; null for an invalid date

    Kind kind() const { return kind_; }
    bool isNull() const { return kind_ == Kind::Null; }

    // Conversions are lenient like the record set's field accessors: null gives 0, "" or false;
    // text is parsed where a number is asked for (unparsable text gives 0).
    std::string toString() const;
    QString toQString() const;
    int64_t toInt() const;
    double toDouble() const;
    Money toMoney() const;
    bool toBool() const;
    QDate toDate() const;          // from yyyy-mm-dd[ hh:mm[:ss]]; invalid when null or unparsable
    QDateTime toDateTime() const;  // time 00:00 when the text holds a date only

    bool operator==(const Value& o) const;

private:
    Kind kind_ = Kind::Null;
    union {
        int64_t i_ = 0;
        double d_;
    };
    std::string s_;
};

// Reads a date as the program writes and users type it: yyyy-m-d, yyyy/m/d or yyyy.m.d, with an
// optional time h:m or h:m:s after a blank or "T". No time zone is involved. False when it is not
// such a text or not a real date or time; time is 00:00 when the text holds a date only.
bool parseDateText(std::string_view text, QDate* date, QTime* time);

// The stored form of a date: yyyy-mm-dd, with " hh:mm:ss" only when the time is not 00:00.
std::string dateText(const QDate& date, const QTime& time);

}  // namespace rsgz::db
