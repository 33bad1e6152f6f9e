#include "personnel/RetirementAge.h"

#include <algorithm>
#include <iterator>

namespace rsgz::personnel {

namespace {

// One step of a schedule: people born in this month or later (up to the next step) retire at this age.
struct Step {
    int fromYear, fromMonth;
    int years, months;
};

// The schedules of the Decision of the Standing Committee of the National People's Congress on
// implementing the gradual raising of the statutory retirement age (13 September 2024), in force
// since 1 January 2025, as laid out in the tables attached to its Measures.
//
// How the first affected birth months are read: the rise starts with those who would have reached
// their old age in January 2025 or later. A man born in December 1964 turned 60 in December 2024,
// before the rules applied, and keeps 60; a man born in January 1965 turns 60 in January 2025 and is
// the first to retire one month later. Likewise women of 55 from birth month 1970-01 and women of 50
// from 1975-01. From there the age rises by one month for every four months of birth (every two for
// women of 50) until it reaches 63, 58 and 55: men from 1976-09, women of 55 from 1981-09, women of
// 50 from 1984-11. Anyone born earlier than a schedule's first row keeps the old age.
//
// A correction of the schedule is an edit of its row here.
constexpr Step kMen[] = {
    {1965, 1, 60, 1}, {1965, 5, 60, 2}, {1965, 9, 60, 3}, {1966, 1, 60, 4},
    {1966, 5, 60, 5}, {1966, 9, 60, 6}, {1967, 1, 60, 7}, {1967, 5, 60, 8},
    {1967, 9, 60, 9}, {1968, 1, 60, 10}, {1968, 5, 60, 11}, {1968, 9, 61, 0},
    {1969, 1, 61, 1}, {1969, 5, 61, 2}, {1969, 9, 61, 3}, {1970, 1, 61, 4},
    {1970, 5, 61, 5}, {1970, 9, 61, 6}, {1971, 1, 61, 7}, {1971, 5, 61, 8},
    {1971, 9, 61, 9}, {1972, 1, 61, 10}, {1972, 5, 61, 11}, {1972, 9, 62, 0},
    {1973, 1, 62, 1}, {1973, 5, 62, 2}, {1973, 9, 62, 3}, {1974, 1, 62, 4},
    {1974, 5, 62, 5}, {1974, 9, 62, 6}, {1975, 1, 62, 7}, {1975, 5, 62, 8},
    {1975, 9, 62, 9}, {1976, 1, 62, 10}, {1976, 5, 62, 11}, {1976, 9, 63, 0},
};

constexpr Step kWomen55[] = {
    {1970, 1, 55, 1}, {1970, 5, 55, 2}, {1970, 9, 55, 3}, {1971, 1, 55, 4},
    {1971, 5, 55, 5}, {1971, 9, 55, 6}, {1972, 1, 55, 7}, {1972, 5, 55, 8},
    {1972, 9, 55, 9}, {1973, 1, 55, 10}, {1973, 5, 55, 11}, {1973, 9, 56, 0},
    {1974, 1, 56, 1}, {1974, 5, 56, 2}, {1974, 9, 56, 3}, {1975, 1, 56, 4},
    {1975, 5, 56, 5}, {1975, 9, 56, 6}, {1976, 1, 56, 7}, {1976, 5, 56, 8},
    {1976, 9, 56, 9}, {1977, 1, 56, 10}, {1977, 5, 56, 11}, {1977, 9, 57, 0},
    {1978, 1, 57, 1}, {1978, 5, 57, 2}, {1978, 9, 57, 3}, {1979, 1, 57, 4},
    {1979, 5, 57, 5}, {1979, 9, 57, 6}, {1980, 1, 57, 7}, {1980, 5, 57, 8},
    {1980, 9, 57, 9}, {1981, 1, 57, 10}, {1981, 5, 57, 11}, {1981, 9, 58, 0},
};

constexpr Step kWomen50[] = {
    {1975, 1, 50, 1}, {1975, 3, 50, 2}, {1975, 5, 50, 3}, {1975, 7, 50, 4},
    {1975, 9, 50, 5}, {1975, 11, 50, 6}, {1976, 1, 50, 7}, {1976, 3, 50, 8},
    {1976, 5, 50, 9}, {1976, 7, 50, 10}, {1976, 9, 50, 11}, {1976, 11, 51, 0},
    {1977, 1, 51, 1}, {1977, 3, 51, 2}, {1977, 5, 51, 3}, {1977, 7, 51, 4},
    {1977, 9, 51, 5}, {1977, 11, 51, 6}, {1978, 1, 51, 7}, {1978, 3, 51, 8},
    {1978, 5, 51, 9}, {1978, 7, 51, 10}, {1978, 9, 51, 11}, {1978, 11, 52, 0},
    {1979, 1, 52, 1}, {1979, 3, 52, 2}, {1979, 5, 52, 3}, {1979, 7, 52, 4},
    {1979, 9, 52, 5}, {1979, 11, 52, 6}, {1980, 1, 52, 7}, {1980, 3, 52, 8},
    {1980, 5, 52, 9}, {1980, 7, 52, 10}, {1980, 9, 52, 11}, {1980, 11, 53, 0},
    {1981, 1, 53, 1}, {1981, 3, 53, 2}, {1981, 5, 53, 3}, {1981, 7, 53, 4},
    {1981, 9, 53, 5}, {1981, 11, 53, 6}, {1982, 1, 53, 7}, {1982, 3, 53, 8},
    {1982, 5, 53, 9}, {1982, 7, 53, 10}, {1982, 9, 53, 11}, {1982, 11, 54, 0},
    {1983, 1, 54, 1}, {1983, 3, 54, 2}, {1983, 5, 54, 3}, {1983, 7, 54, 4},
    {1983, 9, 54, 5}, {1983, 11, 54, 6}, {1984, 1, 54, 7}, {1984, 3, 54, 8},
    {1984, 5, 54, 9}, {1984, 7, 54, 10}, {1984, 9, 54, 11}, {1984, 11, 55, 0},
};

struct Schedule {
    int oldAge;  // years, for births before the first step
    const Step* begin;
    const Step* end;
};

Schedule scheduleOf(RetirementGroup group)
{
    switch (group) {
    case RetirementGroup::Men: return {60, std::begin(kMen), std::end(kMen)};
    case RetirementGroup::Women55: return {55, std::begin(kWomen55), std::end(kWomen55)};
    case RetirementGroup::Women50: return {50, std::begin(kWomen50), std::end(kWomen50)};
    }
    return {60, std::begin(kMen), std::end(kMen)};
}

int monthIndex(int year, int month) { return year * 12 + (month - 1); }

}  // namespace

int retirementAgeMonths(RetirementGroup group, int birthYear, int birthMonth)
{
    const Schedule s = scheduleOf(group);
    const int born = monthIndex(birthYear, birthMonth);
    // The last step that starts in the birth month or before it.
    const Step* after = std::upper_bound(s.begin, s.end, born,
                                         [](int b, const Step& st) { return b < monthIndex(st.fromYear, st.fromMonth); });
    if (after == s.begin) return s.oldAge * 12;
    const Step& st = *(after - 1);
    return st.years * 12 + st.months;
}

QDate retirementDate(RetirementGroup group, const QDate& birth)
{
    if (!birth.isValid()) return {};
    // One addition of all the months: adding years first would move a 29 February birthday twice.
    return birth.addMonths(retirementAgeMonths(group, birth.year(), birth.month()));
}

int defaultWomanOldAge(const std::string& post)
{
    return post == "管理岗" || post == "专业技术岗" ? 55 : 50;
}

std::optional<RetirementGroup> retirementGroup(const std::string& sex, int womanOldAge, const std::string& post)
{
    if (sex == "男") return RetirementGroup::Men;
    if (sex != "女") return std::nullopt;
    const int age = womanOldAge == 50 || womanOldAge == 55 ? womanOldAge : defaultWomanOldAge(post);
    return age == 55 ? RetirementGroup::Women55 : RetirementGroup::Women50;
}

}  // namespace rsgz::personnel
