#include <gtest/gtest.h>

#include "personnel/RetirementAge.h"

using namespace rsgz;
using personnel::RetirementGroup;

namespace {

QDate d(int y, int m, int day) { return QDate(y, m, day); }

}  // namespace

// Each row worked out by hand: birth + age = retirement day.
TEST(RetirementAge, DatesAtTheEdgesOfEachSchedule)
{
    const struct {
        RetirementGroup group;
        QDate birth;
        QDate expected;
        const char* why;
    } cases[] = {
        // Men, 60 before; +1 month per 4 months of birth from 1965-01, up to 63.
        {RetirementGroup::Men, d(1964, 12, 15), d(2024, 12, 15), "1964-12 + 60y: turned 60 before 2025, old age"},
        {RetirementGroup::Men, d(1965, 1, 10), d(2025, 2, 10), "1965-01 first affected: 60y1m, 2025-01 + 1m"},
        {RetirementGroup::Men, d(1965, 4, 30), d(2025, 5, 30), "1965-04 last of the first step: 60y1m"},
        {RetirementGroup::Men, d(1965, 5, 1), d(2025, 7, 1), "1965-05 second step: 60y2m, 2025-05 + 2m"},
        {RetirementGroup::Men, d(1965, 1, 31), d(2025, 2, 28), "2025-02-31 does not exist: the month's last day"},
        {RetirementGroup::Men, d(1968, 9, 1), d(2029, 9, 1), "1968-09: 12th step, 61y0m"},
        {RetirementGroup::Men, d(1976, 8, 20), d(2039, 7, 20), "1976-08 step 35: 62y11m, 1976-08 + 62y = 2038-08, + 11m"},
        {RetirementGroup::Men, d(1976, 9, 5), d(2039, 9, 5), "1976-09 last step: 63y0m"},
        {RetirementGroup::Men, d(1990, 6, 1), d(2053, 6, 1), "after the last step: 63 stays"},
        // Women of 55; +1 month per 4 months from 1970-01, up to 58.
        {RetirementGroup::Women55, d(1969, 12, 31), d(2024, 12, 31), "1969-12 + 55y, old age"},
        {RetirementGroup::Women55, d(1970, 1, 1), d(2025, 2, 1), "1970-01 first affected: 55y1m"},
        {RetirementGroup::Women55, d(1970, 5, 15), d(2025, 7, 15), "1970-05 second step: 55y2m"},
        {RetirementGroup::Women55, d(1981, 8, 10), d(2039, 7, 10), "1981-08 step 35: 57y11m, 2038-08 + 11m"},
        {RetirementGroup::Women55, d(1981, 9, 10), d(2039, 9, 10), "1981-09 last step: 58y0m"},
        {RetirementGroup::Women55, d(1995, 3, 3), d(2053, 3, 3), "after the last step: 58 stays"},
        // Women of 50; +1 month per 2 months from 1975-01, up to 55.
        {RetirementGroup::Women50, d(1974, 12, 20), d(2024, 12, 20), "1974-12 + 50y, old age"},
        {RetirementGroup::Women50, d(1975, 1, 20), d(2025, 2, 20), "1975-01 first affected: 50y1m"},
        {RetirementGroup::Women50, d(1975, 2, 28), d(2025, 3, 28), "1975-02 last of the first step: 50y1m"},
        {RetirementGroup::Women50, d(1975, 3, 1), d(2025, 5, 1), "1975-03 second step: 50y2m, 2025-03 + 2m"},
        {RetirementGroup::Women50, d(1984, 10, 10), d(2039, 9, 10), "1984-10 step 59: 54y11m, 2038-10 + 11m"},
        {RetirementGroup::Women50, d(1984, 11, 10), d(2039, 11, 10), "1984-11 last step: 55y0m"},
        {RetirementGroup::Women50, d(2000, 1, 1), d(2055, 1, 1), "after the last step: 55 stays"},
        {RetirementGroup::Women50, d(1976, 2, 29), d(2026, 9, 29), "1976-02 step 7: 50y7m, 2026-02 + 7m, the 29th kept"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(personnel::retirementDate(c.group, c.birth), c.expected);
    }
    EXPECT_FALSE(personnel::retirementDate(RetirementGroup::Men, QDate()).isValid());
}

// A wrong row in a schedule (a typo in a year, a month or an age) shows as a jump: month by month of
// birth the age never falls, rises by at most one month and ends exactly at its final age.
TEST(RetirementAge, SchedulesRiseOneMonthAtATimeToTheirFinalAge)
{
    const struct {
        RetirementGroup group;
        int oldAge, finalAge;
    } groups[] = {{RetirementGroup::Men, 60, 63}, {RetirementGroup::Women55, 55, 58}, {RetirementGroup::Women50, 50, 55}};
    for (const auto& g : groups) {
        SCOPED_TRACE(g.oldAge);
        int previous = personnel::retirementAgeMonths(g.group, 1950, 1);
        EXPECT_EQ(previous, g.oldAge * 12);
        for (int m = 1950 * 12 + 1; m < 2000 * 12; ++m) {
            const int age = personnel::retirementAgeMonths(g.group, m / 12, m % 12 + 1);
            ASSERT_GE(age, previous) << m / 12 << "-" << m % 12 + 1;
            ASSERT_LE(age, previous + 1) << m / 12 << "-" << m % 12 + 1;
            previous = age;
        }
        EXPECT_EQ(previous, g.finalAge * 12);
    }
}

TEST(RetirementAge, GroupFromSexTheSetOldAgeAndThePost)
{
    using personnel::retirementGroup;
    const struct {
        const char* sex;
        int set;
        const char* post;
        std::optional<RetirementGroup> expected;
    } cases[] = {
        {"男", 0, "管理岗", RetirementGroup::Men},
        {"男", 50, "车工", RetirementGroup::Men},  // an old age set for a man means nothing
        {"女", 0, "管理岗", RetirementGroup::Women55},
        {"女", 0, "专业技术岗", RetirementGroup::Women55},
        {"女", 0, "车工", RetirementGroup::Women50},
        {"女", 0, "", RetirementGroup::Women50},
        {"女", 50, "管理岗", RetirementGroup::Women50},  // what the user set wins over the post
        {"女", 55, "车工", RetirementGroup::Women55},
        {"女", 53, "管理岗", RetirementGroup::Women55},  // no such old age: the post decides
        {"", 0, "管理岗", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.sex) + " " + std::to_string(c.set) + " " + c.post);
        EXPECT_EQ(retirementGroup(c.sex, c.set, c.post), c.expected);
    }
}
