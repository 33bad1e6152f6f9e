#include "print/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace rsgz::print {

namespace {

std::vector<std::string> sections(const std::string& format)
{
    std::vector<std::string> out(1);
    char quote = 0;
    for (const char c : format) {
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            out.emplace_back();
            continue;
        }
        out.back() += c;
    }
    return out;
}

// One section taken apart: the literal text around the digits and what the digits ask for.
struct Pattern {
    std::string prefix, suffix;
    int intZeros = 0, intDigits = 0;
    bool grouping = false;
    int decZeros = 0, decDigits = 0;
    bool scientific = false, expSign = false;
    int expZeros = 0;
};

Pattern parse(const std::string& s)
{
    Pattern p;
    bool inDigits = false, afterPoint = false, inExponent = false, seenDigit = false;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        std::string* lit = seenDigit ? &p.suffix : &p.prefix;
        if (c == '"' || c == '\'') {
            const size_t end = s.find(c, i + 1);
            *lit += s.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
            i = end == std::string::npos ? s.size() : end;
            continue;
        }
        if (inExponent && c == '0') {
            ++p.expZeros;
            continue;
        }
        if ((c == 'E' || c == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-') && seenDigit) {
            p.scientific = inExponent = true;
            p.expSign = s[i + 1] == '+';
            ++i;
            continue;
        }
        if (!inExponent && (c == '0' || c == '#')) {
            seenDigit = inDigits = true;
            if (afterPoint) {
                ++p.decDigits;
                if (c == '0') p.decZeros = p.decDigits;
            } else {
                ++p.intDigits;
                if (c == '0' || p.intZeros > 0) ++p.intZeros;
            }
            continue;
        }
        if (!inExponent && c == '.' && !afterPoint) {
            afterPoint = seenDigit = inDigits = true;
            continue;
        }
        if (!inExponent && c == ',' && inDigits && !afterPoint) {
            p.grouping = true;
            continue;
        }
        *lit += c;
    }
    return p;
}

std::string grouped(const std::string& digits)
{
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

// Integer and fraction digits of |value| rounded to the pattern's decimals.
std::string fixed(db::Money magnitude, const Pattern& p)
{
    std::string t = magnitude.toString(std::min(p.decDigits, 4));
    const size_t dot = t.find('.');
    std::string intPart = t.substr(0, dot);
    std::string frac = dot == std::string::npos ? "" : t.substr(dot + 1);
    frac.resize(static_cast<size_t>(p.decDigits), '0');
    while (static_cast<int>(frac.size()) > p.decZeros && frac.back() == '0') frac.pop_back();
    if (intPart == "0" && p.intZeros == 0) intPart.clear();
    if (static_cast<int>(intPart.size()) < p.intZeros)
        intPart.insert(0, static_cast<size_t>(p.intZeros) - intPart.size(), '0');
    if (p.grouping) intPart = grouped(intPart);
    return frac.empty() ? intPart : intPart + "." + frac;
}

// Scientific notation is for quantities, not for amounts: a double is exact enough here.
std::string scientific(db::Money magnitude, const Pattern& p)
{
    const double v = magnitude.toDouble();
    int exp = v == 0 ? 0 : static_cast<int>(std::floor(std::log10(v))) - std::max(p.intDigits, 1) + 1;
    double mant = v / std::pow(10.0, exp);
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, mant, std::chars_format::fixed, p.decDigits);
    std::string m(buf, r.ptr);
    if (m.find('.') != std::string::npos) {
        while (m.back() == '0' && static_cast<int>(m.size() - m.find('.') - 1) > p.decZeros) m.pop_back();
        if (m.back() == '.') m.pop_back();
    }
    std::string e = std::to_string(std::abs(exp));
    if (static_cast<int>(e.size()) < p.expZeros) e.insert(0, static_cast<size_t>(p.expZeros) - e.size(), '0');
    return m + "E" + (exp < 0 ? "-" : p.expSign ? "+" : "") + e;
}

std::string general(db::Money value)
{
    std::string t = value.toString(4);
    while (t.back() == '0') t.pop_back();
    if (t.back() == '.') t.pop_back();
    return t == "-0" ? "0" : t;
}

}  // namespace

std::string formatNumber(db::Money value, const std::string& format)
{
    if (format.empty()) return general(value);
    const std::vector<std::string> secs = sections(format);
    const bool negative = value < db::Money();
    std::string section = secs[0];
    bool ownSign = false;
    if (value == db::Money() && secs.size() >= 3 && !secs[2].empty()) section = secs[2];
    else if (negative && secs.size() >= 2 && !secs[1].empty()) section = secs[1], ownSign = true;
    const Pattern p = parse(section);
    const db::Money magnitude = negative ? -value : value;
    const std::string digits = p.scientific ? scientific(magnitude, p) : fixed(magnitude, p);
    const bool shownZero = digits.find_first_not_of("0.,") == std::string::npos;
    const std::string sign = negative && !ownSign && !shownZero ? "-" : "";
    return p.prefix + sign + digits + p.suffix;
}

bool parseWholeNumber(const std::string& text, int* out)
{
    const size_t b = text.find_first_not_of(' '), e = text.find_last_not_of(' ');
    if (b == std::string::npos) return false;
    const char* end = text.data() + e + 1;
    const auto r = std::from_chars(text.data() + b, end, *out);
    return r.ec == std::errc() && r.ptr == end;
}

}  // namespace rsgz::print
