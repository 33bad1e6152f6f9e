#pragma once
#include <cstdint>
#include <string>

namespace rsgz::db {

// A currency amount: a whole number of ten-thousandths. Computed values are brought to four
// decimals by rounding half to even, as the database's currency type does.
class Money {
public:
    static constexpr int64_t kScale = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(int64_t units) { Money m; m.units_ = units; return m; }
    static Money fromDouble(double value);
    // Parses "12", "-3.5", "1,234.5678"; false for anything else or more than four decimals.
    static bool parse(const std::string& text, Money* out);

    int64_t units() const { return units_; }
    double toDouble() const { return static_cast<double>(units_) / kScale; }
    // Fixed decimals, no grouping: toString(2) gives "1234.50" (the "0.00" display pattern).
    std::string toString(int decimals = 4) const;
    // Shortest exact form for SQL: "12", "-3.5", "0.0001".
    std::string toSqlLiteral() const;

    Money operator+(Money o) const { return fromUnits(units_ + o.units_); }
    Money operator-(Money o) const { return fromUnits(units_ - o.units_); }
    Money operator-() const { return fromUnits(-units_); }
    Money operator*(double factor) const;  // half-even at the fourth decimal
    auto operator<=>(const Money&) const = default;

private:
    int64_t units_ = 0;
};

}  // namespace rsgz::db
