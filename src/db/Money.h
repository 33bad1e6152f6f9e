#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace rsgz::db {

// Thrown when a sum or a product of amounts leaves the range an amount can hold. The text is for the
// user: it is shown as the failing operation's message.
class MoneyRangeError : public std::range_error {
public:
    MoneyRangeError() : std::range_error("金额超出了可以保存的范围") {}
};

// A currency amount: a whole number of ten-thousandths. Computed values are brought to four
// decimals by rounding half to even, as the database's currency type does.
class Money {
public:
    static constexpr int64_t kScale = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(int64_t units) { Money m; m.units_ = units; return m; }
    // Lenient, for numbers read back from the database: not a number or beyond the range gives 0.
    static Money fromDouble(double value);
    // The same, but false (and *out untouched) when the value is not finite or does not fit.
    static bool fromDoubleChecked(double value, Money* out);

    // How a typed amount was read.
    enum class Reading { Ok, NotAnAmount, OutOfRange };
    // Reads an amount as a user types it: "12", "-3.5", "1,234.5678", with commas only between
    // groups of three digits before the point ("1,5" is not an amount). More than four decimals are
    // rounded half to even; an exponent ("1e3") is accepted.
    static Reading read(std::string_view text, Money* out);
    // The strict form: at most four decimals and no exponent; false for anything else.
    static bool parse(std::string_view text, Money* out);

    int64_t units() const { return units_; }
    double toDouble() const { return static_cast<double>(units_) / kScale; }
    // Fixed decimals, no grouping: toString(2) gives "1234.50" (the "0.00" display pattern).
    std::string toString(int decimals = 4) const;
    // Shortest exact form for SQL: "12", "-3.5", "0.0001".
    std::string toSqlLiteral() const;

    // These throw MoneyRangeError rather than wrap around.
    Money operator+(Money o) const;
    Money operator-(Money o) const;
    Money operator-() const;
    Money operator*(double factor) const;  // half-even at the fourth decimal
    // To the fen, half up: a half fen goes away from zero, as payroll and tax amounts are rounded
    // (and as toString(2) shows them).
    Money toFen() const;
    auto operator<=>(const Money&) const = default;

private:
    int64_t units_ = 0;
};

}  // namespace rsgz::db
