#include "db/Money.h"

#include <charconv>
#include <cmath>
#include <cstdint>

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

// Units beyond this are refused; the margin keeps the conversion from long double exact.
constexpr long double kUnitLimit = 9.2e18L;

// The largest whole part a typed amount may have (its units must stay within 64 bits).
constexpr int64_t kWholeLimit = INT64_MAX / Money::kScale;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A typed amount taken apart: sign, the digits before and after the point, and whether an exponent
// follows. `plain` is the text without its thousands commas, for the exponent case.
struct Scanned {
    bool negative = false;
    std::string whole, fraction, plain;
    bool exponent = false;
};

// Commas are allowed only as thousands separators: a first group of one to three digits, then
// groups of exactly three. "1,5" or "12,34" are typing mistakes, not fifteen or 1234.
bool wholeGroupsAreSound(std::string_view part)
{
    if (part.find(',') == std::string_view::npos) return true;
    size_t start = 0;
    for (bool first = true;; first = false) {
        const size_t comma = part.find(',', start);
        const size_t len = (comma == std::string_view::npos ? part.size() : comma) - start;
        if (first ? (len < 1 || len > 3) : len != 3) return false;
        if (comma == std::string_view::npos) return true;
        start = comma + 1;
    }
}

bool scan(std::string_view s, Scanned* out)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    size_t i = 0;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) out->negative = s[i++] == '-';
    const size_t wholeStart = i;
    while (i < s.size() && (isDigit(s[i]) || s[i] == ',')) ++i;
    const std::string_view wholePart = s.substr(wholeStart, i - wholeStart);
    if (!wholeGroupsAreSound(wholePart)) return false;
    for (char c : wholePart)
        if (c != ',') out->whole += c;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) out->fraction += s[i++];
    }
    if (out->whole.empty() && out->fraction.empty()) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        const size_t digits = i;
        while (i < s.size() && isDigit(s[i])) ++i;
        if (i == digits) return false;
        out->exponent = true;
    }
    if (i != s.size()) return false;
    out->plain = (out->negative ? "-" : "") + out->whole + std::string(s.substr(wholeStart + wholePart.size()));
    return true;
}

Money::Reading fromScanned(const Scanned& sc, Money* out)
{
    if (sc.exponent) {
        double d = 0;
        const auto [end, ec] = std::from_chars(sc.plain.data(), sc.plain.data() + sc.plain.size(), d);
        if (ec == std::errc::result_out_of_range) return Money::Reading::OutOfRange;
        if (ec != std::errc() || end != sc.plain.data() + sc.plain.size()) return Money::Reading::NotAnAmount;
        return Money::fromDoubleChecked(d, out) ? Money::Reading::Ok : Money::Reading::OutOfRange;
    }
    const size_t lead = sc.whole.find_first_not_of('0');
    const std::string whole = lead == std::string::npos ? std::string() : sc.whole.substr(lead);
    if (whole.size() > 15) return Money::Reading::OutOfRange;
    int64_t w = 0;
    for (char c : whole) w = w * 10 + (c - '0');
    if (w >= kWholeLimit) return Money::Reading::OutOfRange;
    int64_t units = w * Money::kScale;
    int64_t scale = Money::kScale;
    for (size_t k = 0; k < sc.fraction.size() && k < 4; ++k) units += (sc.fraction[k] - '0') * (scale /= 10);
    if (sc.fraction.size() > 4) {
        // The digits past the fourth decide the rounding, half to even.
        const std::string rest = sc.fraction.substr(4);
        const bool aboveHalf = rest[0] > '5' || (rest[0] == '5' && rest.find_first_not_of('0', 1) != std::string::npos);
        const bool half = rest[0] == '5' && !aboveHalf;
        if (aboveHalf || (half && units % 2 != 0)) ++units;
    }
    *out = Money::fromUnits(sc.negative ? -units : units);
    return Money::Reading::Ok;
}
}  // namespace

Money Money::fromDouble(double value)
{
    Money m;
    return fromDoubleChecked(value, &m) ? m : Money();
}

bool Money::fromDoubleChecked(double value, Money* out)
{
    if (!std::isfinite(value)) return false;
    const long double units = static_cast<long double>(value) * kScale;
    if (std::fabs(units) >= kUnitLimit) return false;
    *out = fromUnits(roundHalfEven(units));
    return true;
}

Money::Reading Money::read(std::string_view text, Money* out)
{
    Scanned sc;
    if (!scan(text, &sc)) return Reading::NotAnAmount;
    return fromScanned(sc, out);
}

bool Money::parse(std::string_view text, Money* out)
{
    Scanned sc;
    if (!scan(text, &sc) || sc.exponent || sc.fraction.size() > 4) return false;
    return fromScanned(sc, out) == Reading::Ok;
}

Money Money::operator+(Money o) const
{
    int64_t sum = 0;
    if (__builtin_add_overflow(units_, o.units_, &sum)) throw MoneyRangeError();
    return fromUnits(sum);
}

Money Money::operator-(Money o) const
{
    int64_t diff = 0;
    if (__builtin_sub_overflow(units_, o.units_, &diff)) throw MoneyRangeError();
    return fromUnits(diff);
}

Money Money::operator-() const { return Money() - *this; }

Money Money::operator*(double factor) const
{
    const long double product = static_cast<long double>(units_) * factor;
    if (!std::isfinite(product) || std::fabs(product) >= kUnitLimit) throw MoneyRangeError();
    return fromUnits(roundHalfEven(product));
}

Money Money::toFen() const
{
    constexpr int64_t fen = kScale / 100;
    const int64_t rest = units_ % fen;  // takes the sign of units_
    int64_t out = units_ - rest;
    const int64_t step = rest >= fen / 2 ? fen : rest <= -fen / 2 ? -fen : 0;
    // Within a fen of the ends of the range the amount stays as it is rather than wrap.
    if (__builtin_add_overflow(out, step, &out)) return *this;
    return fromUnits(out);
}

std::string Money::toString(int decimals) const
{
    if (decimals < 0) decimals = 0;
    if (decimals > 4) decimals = 4;
    uint64_t div = 1;
    for (int k = decimals; k < 4; ++k) div *= 10;
    // Display rounding is half away from zero, as a printed amount is read by people. The
    // magnitude is taken unsigned, so the most negative amount formats like any other.
    const uint64_t u = units_ < 0 ? uint64_t{0} - static_cast<uint64_t>(units_) : static_cast<uint64_t>(units_);
    const uint64_t scaled = u / div + (u % div >= div / 2 && div > 1 ? 1 : 0);
    uint64_t unit = 1;
    for (int k = 0; k < decimals; ++k) unit *= 10;
    std::string out = (units_ < 0 && scaled != 0) ? "-" : "";
    out += std::to_string(scaled / unit);
    if (decimals > 0) {
        std::string f = std::to_string(scaled % unit);
        out += '.' + std::string(static_cast<size_t>(decimals) - f.size(), '0') + f;
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
