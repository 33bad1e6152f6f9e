// Cumulative withholding over whole years of one employee: the walk from January, row by row, with
// every figure worked out by hand beside it.
#include <gtest/gtest.h>

#include "payroll/YearToDate.h"

using namespace rsgz::payroll::tax;
using rsgz::db::Money;

namespace {

Money y(int64_t yuan) { return Money::fromUnits(yuan * Money::kScale); }

struct Step {
    int month;
    int64_t income, special, bonus;
    int64_t taxable, tax;  // expected after the row
    int setOrder = 0;
    bool closed = false;
    int64_t storedTax = 0;
};

struct Scenario {
    const char* name;
    EmployeeYear year;
    std::vector<Step> steps;
};

EmployeeYear yearFrom(int firstMonth, YearChoices choices = {}, std::vector<AdditionalDeduction> declared = {})
{
    EmployeeYear e;
    e.year = 2026;
    e.firstMonth = firstMonth;
    e.choices = choices;
    e.additional = std::move(declared);
    return e;
}

void walk(const Scenario& s)
{
    YearWalk w(&s.year);
    for (const Step& st : s.steps) {
        PayUnit u;
        u.month = st.month;
        u.setOrder = st.setOrder;
        u.set = st.setOrder == 0 ? "管理" : "补贴";
        u.pay.income = y(st.income);
        u.pay.pension = y(st.special);
        u.pay.bonus = y(st.bonus);
        u.closed = st.closed;
        u.tax = y(st.storedTax);
        const CumulativeFigures f = w.apply(u);
        EXPECT_EQ(f.taxable, y(st.taxable)) << s.name << ", month " << st.month << " set " << st.setOrder;
        EXPECT_EQ(f.tax, y(st.tax)) << s.name << ", month " << st.month << " set " << st.setOrder;
    }
}

const AdditionalDeduction kOneChild{"子女教育", "", 1, "2025-09", "", Money::fromUnits(2000 * Money::kScale)};

TEST(YearWalk, AWholeYearWithARaiseCrossingTwoLimits)
{
    // 20000 a month to June, 30000 from July; 2000 social insurance and 2000 for one child each
    // month: 11000 taxable a month, then 21000.
    const Scenario s{"raise", yearFrom(1, {}, {kOneChild}), {
        {1, 20000, 2000, 0, 11000, 330},    // 11000 × 3%
        {2, 20000, 2000, 0, 22000, 330},    // 660 − 330
        {3, 20000, 2000, 0, 33000, 330},    // 990 − 660
        {4, 20000, 2000, 0, 44000, 890},    // past 36000: 4400 − 2520 = 1880, − 990
        {5, 20000, 2000, 0, 55000, 1100},   // 5500 − 2520 = 2980, − 1880
        {6, 20000, 2000, 0, 66000, 1100},   // 4080 − 2980
        {7, 30000, 2000, 0, 87000, 2100},   // 8700 − 2520 = 6180, − 4080
        {8, 30000, 2000, 0, 108000, 2100},  // 8280 − 6180
        {9, 30000, 2000, 0, 129000, 2100},  // 10380 − 8280
        {10, 30000, 2000, 0, 150000, 2700}, // past 144000: 30000 − 16920 = 13080, − 10380
        {11, 30000, 2000, 0, 171000, 4200}, // 34200 − 16920 = 17280, − 13080
        {12, 30000, 2000, 0, 192000, 4200}, // 38400 − 16920 = 21480, − 17280; the year's sum is 21480
    }};
    walk(s);
}

TEST(YearWalk, AMidYearHireAndAMonthWithoutWages)
{
    // Hired in July; no salary row in August. August's 5000 still counts in September.
    const Scenario s{"hire", yearFrom(7), {
        {7, 15000, 0, 0, 10000, 300},  // 15000 − 5000 = 10000 × 3%
        {9, 15000, 0, 0, 15000, 150},  // 30000 − 3 × 5000 = 15000 → 450 − 300
    }};
    walk(s);
}

TEST(YearWalk, TheSixtyThousandChoice)
{
    YearChoices sixty;
    sixty.sixtyThousand = true;
    const Scenario s{"sixty", yearFrom(1, sixty), {
        {1, 8000, 0, 0, 0, 0},       // 8000 − 60000: nothing
        {2, 8000, 0, 0, 0, 0},
        {3, 8000, 0, 0, 0, 0},       // 24000 − 60000
        {4, 60000, 0, 0, 24000, 720},// 84000 − 60000 = 24000 × 3%
    }};
    walk(s);
}

TEST(YearWalk, TheBonusOnItsOwnOnceAYearAndAdded)
{
    // On its own: January's bonus 36000 is taxed 36000 × 3% = 1080 beside the wages; the wages alone
    // 10000 − 5000 = 5000 × 3% = 150. A second bonus in March goes with the wages.
    const Scenario own{"own", yearFrom(1), {
        {1, 10000, 0, 36000, 5000, 1230},   // 150 + 1080
        {2, 10000, 0, 0, 10000, 150},       // 300 − 150: the bonus tax is not wage tax withheld
        {3, 10000, 0, 12000, 27000, 510},   // 42000 − 15000 = 27000 → 810 − 300
    }};
    walk(own);

    YearChoices added;
    added.bonusOnItsOwn = false;
    const Scenario with{"added", yearFrom(1, added), {
        {1, 10000, 0, 36000, 41000, 1580},  // 46000 − 5000 = 41000 → 4100 − 2520
        {2, 10000, 0, 0, 46000, 500},       // 56000 − 10000 = 46000 → 4600 − 2520 = 2080, − 1580
    }};
    walk(with);
}

TEST(YearWalk, TwoSetsPaidInOneMonthShareOneDeduction)
{
    // 管理 pays 10000 and 补贴 5000 in each month; the 5000 deduction counts once a month.
    const Scenario s{"two sets", yearFrom(1), {
        {1, 10000, 0, 0, 5000, 150, 0},   // 10000 − 5000 → 150
        {1, 5000, 0, 0, 10000, 150, 1},   // 15000 − 5000 = 10000 → 300 − 150
        {2, 10000, 0, 0, 15000, 150, 0},  // 25000 − 10000 = 15000 → 450 − 300
        {2, 5000, 0, 0, 20000, 150, 1},   // 30000 − 10000 = 20000 → 600 − 450
    }};
    walk(s);
}

TEST(YearWalk, AClosedRowKeepsItsStoredTax)
{
    // January was closed with 200 withheld (computed it would be 150): February owes 300 − 200.
    const Scenario s{"closed", yearFrom(1), {
        {1, 10000, 0, 0, 5000, 200, 0, true, 200},
        {2, 10000, 0, 0, 10000, 100},
    }};
    walk(s);
}

TEST(YearWalk, DeclaredOtherDeductionsAndReliefByMonth)
{
    EmployeeYear e = yearFrom(1);
    e.other[2][kPrivatePension] = y(1000);
    e.other[2][kRelief] = y(20);
    YearWalk w(&e);
    PayUnit jan{1, 0, "管理", {}, false, Money(), true};
    jan.pay.income = y(10000);
    PayUnit feb = jan;
    feb.month = 2;
    EXPECT_EQ(w.apply(jan).tax, y(150));  // 5000 × 3%
    const CumulativeFigures f = w.apply(feb);
    // 20000 − 10000 − 1000 = 9000 → 270, less 20 relief, less 150 withheld = 100
    EXPECT_EQ(f.taxable, y(9000));
    EXPECT_EQ(f.relief, y(20));
    EXPECT_EQ(f.otherByCategory.at(kPrivatePension), y(1000));
    EXPECT_EQ(f.tax, y(100));
    EXPECT_EQ(f.withheld, y(150));
}

}  // namespace
