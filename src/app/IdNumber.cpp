#include "app/IdNumber.h"

#include <array>
#include <cstdio>

namespace rsgz::app {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int digitsValue(std::string_view s, size_t from, size_t count)
{
    int v = 0;
    for (size_t i = from; i < from + count; ++i) v = v * 10 + (s[i] - '0');
    return v;
}

bool leapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

bool realDate(int y, int m, int d)
{
    static constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1800 || m < 1 || m > 12 || d < 1) return false;
    return d <= days[m - 1] + (m == 2 && leapYear(y) ? 1 : 0);
}

std::string isoDate(int y, int m, int d)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
    return buf;
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The number of characters as the user sees them (UTF-8 continuation bytes not counted).
size_t characterCount(std::string_view s)
{
    size_t n = 0;
    for (char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace

char idCheckCharacter(std::string_view first17)
{
    // Weight of position i (from the left, 0-based) is 2^(17-i) mod 11.
    static constexpr std::array<int, 17> weights = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    static constexpr char codes[] = "10X98765432";
    if (first17.size() != 17) return 0;
    int sum = 0;
    for (size_t i = 0; i < 17; ++i) {
        if (!isDigit(first17[i])) return 0;
        sum += (first17[i] - '0') * weights[i];
    }
    return codes[sum % 11];
}

std::string normalizedIdNumber(std::string_view typed)
{
    std::string s(trimmed(typed));
    if (!s.empty() && s.back() == 'x') s.back() = 'X';
    return s;
}

std::vector<std::string> idNumberFaults(std::string_view typed, std::string_view today)
{
    const std::string n = normalizedIdNumber(typed);
    const size_t length = characterCount(n);
    if (length != 18) return {"身份证号应为18位，现为" + std::to_string(length) + "位"};
    // Positions are counted in characters: a full-width digit or a Chinese character is one.
    size_t position = 0;
    for (size_t i = 0; i < n.size(); ++i) {
        if ((static_cast<unsigned char>(n[i]) & 0xC0) == 0x80) continue;
        ++position;
        const bool last = position == 18;
        if (isDigit(n[i]) || (last && n[i] == 'X')) continue;
        if (last) return {"身份证号的最后一位应为数字或X"};
        return {"身份证号的第" + std::to_string(position) + "位不是数字"};
    }

    std::vector<std::string> faults;
    const int y = digitsValue(n, 6, 4), m = digitsValue(n, 10, 2), d = digitsValue(n, 12, 2);
    if (!realDate(y, m, d))
        faults.push_back("身份证号中的出生日期" + n.substr(6, 8) + "不是有效日期");
    else if (isoDate(y, m, d) > std::string(today.substr(0, 10)))
        faults.push_back("身份证号中的出生日期" + isoDate(y, m, d) + "晚于今天");
    const char check = idCheckCharacter(std::string_view(n).substr(0, 17));
    if (check != n[17])
        faults.push_back(std::string("身份证号的校验位应为") + check + "，现为" + n[17]);
    return faults;
}

std::optional<IdNumberParts> readIdNumber(std::string_view typed, std::string_view today)
{
    if (!idNumberFaults(typed, today).empty()) return std::nullopt;
    const std::string n = normalizedIdNumber(typed);
    return IdNumberParts{digitsValue(n, 6, 4), digitsValue(n, 10, 2), digitsValue(n, 12, 2), (n[16] - '0') % 2 == 1};
}

std::vector<std::string> idNumberDisagreements(std::string_view number, std::string_view sex,
                                               std::string_view birthDate, std::string_view today)
{
    if (trimmed(number).empty()) return {};
    std::vector<std::string> out = idNumberFaults(number, today);
    const std::optional<IdNumberParts> p = readIdNumber(number, today);
    if (!p) return out;
    const std::string_view s = trimmed(sex);
    if ((s == "男" && !p->male) || (s == "女" && p->male))
        out.push_back(std::string("身份证号表示性别为") + (p->male ? "男" : "女") + "，性别填的是" + std::string(s));
    const std::string inNumber = isoDate(p->year, p->month, p->day);
    const std::string_view recorded = trimmed(birthDate).substr(0, 10);
    if (!recorded.empty() && recorded != inNumber)
        out.push_back("身份证号中的出生日期为" + inNumber + "，出生年月填的是" + std::string(recorded));
    return out;
}

}  // namespace rsgz::app
