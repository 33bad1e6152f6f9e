#include "db/Money.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace rsgz::db {

namespace {
// Rounds half to even. Products such as 2.5 x 1.2345 land exactly on a half in decimal but not
// always in binary, so a value within a hair of .5 counts as a tie.
int64_t roundHalfEven(long double x)
{
    const long double fl = std::floor(x);
    const long double frac = x - fl;
    constexpr long double eps = 1e-7L;
    int64_t base = static_cast<int64_t>(fl);
    if (std::fabs(frac - 0.5L) < eps) return (base % 2 == 0) ? base : base + 1;
    return frac < 0.5L ? base : base + 1;
}
}  // namespace

Money Money::fromDouble(double value)
{
    // Not a number, or beyond what four decimals in 64 bits hold: no amount at all.
    if (!std::isfinite(value) || std::fabs(value) >= 9.2e14) return {};
    return fromUnits(roundHalfEven(static_cast<long double>(value) * kScale));
}

Money Money::operator*(double factor) const
{
    const long double product = static_cast<long double>(units_) * factor;
    if (!std::isfinite(product) || std::fabs(product) >= 9.2e18L) return {};
    return fromUnits(roundHalfEven(product));
}

bool Money::parse(const std::string& text, Money* out)
{
    std::string s;
    for (char c : text)
        if (c != ',' && c != ' ') s += c;
    if (s.empty()) return false;
    size_t i = 0;
    bool neg = false;
    if (s[0] == '-' || s[0] == '+') { neg = s[0] == '-'; i = 1; }
    int64_t whole = 0, frac = 0;
    int fracDigits = 0, digits = 0;
    bool inFrac = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '.' && !inFrac) { inFrac = true; continue; }
        if (c < '0' || c > '9') return false;
        ++digits;
        if (inFrac) {
            if (++fracDigits > 4) return false;
            frac = frac * 10 + (c - '0');
        } else {
            // The whole part times the scale must stay within 64 bits.
            whole = whole * 10 + (c - '0');
            if (whole >= INT64_MAX / kScale) return false;
        }
    }
    if (digits == 0) return false;
    for (int k = fracDigits; k < 4; ++k) frac *= 10;
    const int64_t units = whole * kScale + frac;
    *out = fromUnits(neg ? -units : units);
    return true;
}

std::string Money::toString(int decimals) const
{
    if (decimals < 0) decimals = 0;
    if (decimals > 4) decimals = 4;
    int64_t div = 1;
    for (int k = decimals; k < 4; ++k) div *= 10;
    // Display rounding is half away from zero, as a printed amount is read by people.
    int64_t u = std::llabs(units_);
    int64_t scaled = (u + div / 2) / div;
    int64_t unit = 1;
    for (int k = 0; k < decimals; ++k) unit *= 10;
    std::string out = (units_ < 0 && scaled != 0) ? "-" : "";
    out += std::to_string(scaled / unit);
    if (decimals > 0) {
        std::string f = std::to_string(scaled % unit);
        out += '.' + std::string(decimals - f.size(), '0') + f;
    }
    return out;
}

std::string Money::toSqlLiteral() const
{
    std::string s = toString(4);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    return s;
}

}  // namespace rsgz::db
