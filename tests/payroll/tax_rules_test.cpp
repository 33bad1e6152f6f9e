// The withholding rules on their own: rate tables at their limits, the bonus, the declared
// deductions' standards and the contribution amounts. Every figure is worked out by hand beside it.
#include <gtest/gtest.h>

#include "payroll/TaxRules.h"

using namespace rsgz::payroll::tax;
using rsgz::db::Money;

namespace {

Money m(const char* text)
{
    Money out;
    EXPECT_TRUE(Money::parse(text, &out)) << text;
    return out;
}

TEST(TaxRules, CumulativeWithholdingAtTheLimitsOfTheRateTable)
{
    struct Case {
        const char *income, *basic, *special, *withheld, *relief;
        const char* taxable;
        int percent;
        const char* tax;
    };
    const Case cases[] = {
        // 10000 − 5000 − 1000 = 4000 × 3% = 120
        {"10000", "5000", "1000", "0", "0", "4000", 3, "120"},
        // exactly on 36000: the lower bracket, 36000 × 3% = 1080
        {"41000", "5000", "0", "0", "0", "36000", 3, "1080"},
        // one fen above: 36000.01 × 10% = 3600.001 → 3600.00 − 2520 = 1080.00 (the table is continuous)
        {"41000.01", "5000", "0", "0", "0", "36000.01", 10, "1080"},
        // 144000 × 10% − 2520 = 11880; 144000.01 × 20% = 28800.002 → 28800.00 − 16920 = 11880
        {"149000", "5000", "0", "0", "0", "144000", 10, "11880"},
        {"149000.01", "5000", "0", "0", "0", "144000.01", 20, "11880"},
        // to the fen half up: 40000.25 × 10% = 4000.025 → 4000.03 (half-even would say 4000.02) − 2520
        {"45000.25", "5000", "0", "0", "0", "40000.25", 10, "1480.03"},
        // below the deductions: taxable 0, nothing withheld
        {"3000", "5000", "0", "0", "0", "0", 3, "0"},
        // due 20000 − 10000 = 10000 × 3% = 300, already 400 withheld: 0, nothing refunded
        {"20000", "10000", "0", "400", "0", "10000", 3, "0"},
        // due 300, less 50 relief, less 100 withheld: 150
        {"20000", "10000", "0", "100", "50", "10000", 3, "150"},
        // the top: 1000000 × 45% − 181920 = 268080
        {"1060000", "60000", "0", "0", "0", "1000000", 45, "268080"},
    };
    for (const Case& c : cases) {
        CumulativeInput in;
        in.income = m(c.income);
        in.basicDeduction = m(c.basic);
        in.special = m(c.special);
        in.withheld = m(c.withheld);
        in.relief = m(c.relief);
        const CumulativeResult r = cumulativeWithholding(in);
        EXPECT_EQ(r.taxable, m(c.taxable)) << c.income;
        EXPECT_EQ(r.percent, c.percent) << c.income;
        EXPECT_EQ(r.tax, m(c.tax)) << c.income;
    }
}

TEST(TaxRules, DeductionMonthsFromTheHireDateAndTheSixtyThousandChoice)
{
    EXPECT_EQ(firstMonthEmployed("2020-05-01", 2026), 1);   // hired in an earlier year
    EXPECT_EQ(firstMonthEmployed("2026-07-15", 2026), 7);
    EXPECT_EQ(firstMonthEmployed("2027-01-01", 2026), 13);  // not yet employed this year
    EXPECT_EQ(firstMonthEmployed("", 2026), 1);
    EXPECT_EQ(firstMonthEmployed("7月", 2026), 1);

    EXPECT_EQ(basicDeduction(1, 3, false), m("15000"));  // 3 × 5000
    EXPECT_EQ(basicDeduction(7, 6, false), m("0"));      // before the hire month
    EXPECT_EQ(basicDeduction(7, 9, false), m("15000"));  // July to September
    EXPECT_EQ(basicDeduction(1, 2, true), m("60000"));   // all of it from January
}

TEST(TaxRules, AnnualBonusOnItsOwnAndTheWarningJustAboveALimit)
{
    struct Case {
        const char* bonus;
        int percent;
        const char* tax;
        bool warned;
    };
    const Case cases[] = {
        {"36000", 3, "1080", false},         // ÷12 = 3000, on the limit: 3%
        {"36000.01", 10, "3390", true},      // 10%: 3600.001 → 3600.00 − 210
        {"38000", 10, "3590", true},         // 3800 − 210; net 34410 < 34920 at the limit
        {"38566", 10, "3646.60", true},      // net 38566 − 3646.60 = 34919.40, still below 34920
        {"38567", 10, "3646.70", false},     // net 34920.30: past the dead zone
        {"144000", 10, "14190", false},      // 14400 − 210
        {"150000", 20, "28590", true},       // 30000 − 1410; net 121410 < 129810
        {"161000", 20, "30790", false},      // net 130210 > 129810
        // ÷12 = 83333.33 > 80000: 450000 − 15160; net 565160 < 631160 at 960000 (960000 × 35% − 7160
        // = 328840 tax): inside the widest dead zone, which runs to 1,120,000
        {"1000000", 45, "434840", true},
        {"1120001", 45, "488840.45", false},  // 504000.45 − 15160; net 631160.55 > 631160
        {"0", 0, "0", false},
    };
    for (const Case& c : cases) {
        const BonusTax t = bonusTaxOnItsOwn(m(c.bonus));
        EXPECT_EQ(t.percent, c.percent) << c.bonus;
        EXPECT_EQ(t.tax, m(c.tax)) << c.bonus;
        EXPECT_EQ(!bonusWarning(m(c.bonus)).empty(), c.warned) << c.bonus;
    }
    // 2000 more than 36000 costs 3590 − 1080 = 2510 more tax: 510 less in hand.
    EXPECT_EQ(bonusWarning(m("38000")), "全年一次性奖金 38,000.00 元刚超过 36,000.00 元的税率临界点：多发 2,000.00 "
                                        "元，个税多 2,510.00 元，税后反而少得 510.00 元。");
}

TEST(TaxRules, DeclaredDeductionsAboveTheirStandardAreRefusedNamingTheCategory)
{
    struct Case {
        const char* category;
        const char* detail;
        int children;
        const char *from, *to, *monthly;
        bool accepted;
    };
    const Case cases[] = {
        {"子女教育", "", 2, "2026-01", "", "4000", true},  // 2 × 2000
        {"子女教育", "", 2, "2026-01", "", "4000.01", false},
        {"子女教育", "", 0, "2026-01", "", "0", false},     // no child named
        {"3岁以下婴幼儿照护", "", 1, "2026-01", "", "2000", true},
        {"赡养老人", "独生子女", 0, "2026-01", "", "3000", true},
        {"赡养老人", "非独生子女（分摊）", 0, "2026-01", "", "1500", true},
        {"赡养老人", "非独生子女（分摊）", 0, "2026-01", "", "1600", false},
        {"继续教育", "学历（学位）继续教育", 0, "2026-01", "2029-12", "400", true},   // 48 months
        {"继续教育", "学历（学位）继续教育", 0, "2026-01", "2030-01", "400", false},  // 49
        {"继续教育", "职业资格继续教育", 0, "2026-05", "2026-05", "3600", true},
        {"继续教育", "职业资格继续教育", 0, "2026-05", "2026-06", "3600", false},     // once only
        {"住房贷款利息", "", 0, "2026-01", "", "1000", true},
        {"住房贷款利息", "", 0, "2026-01", "", "1000.01", false},
        {"住房租金", "市辖区户籍人口不超过100万的城市", 0, "2026-01", "", "800", true},
        {"住房租金", "市辖区户籍人口不超过100万的城市", 0, "2026-01", "", "900", false},
        {"住房租金", "", 0, "2026-01", "", "800", false},  // city class missing
        {"大病医疗", "", 0, "2026-01", "", "100", false},  // annual settlement only
        {"住房贷款利息", "", 0, "2026-13", "", "1000", false},
        {"住房贷款利息", "", 0, "2026-05", "2026-04", "1000", false},
    };
    for (const Case& c : cases) {
        const AdditionalDeduction d{c.category, c.detail, c.children, c.from, c.to, m(c.monthly)};
        const std::string refusal = checkAdditionalDeduction(d);
        EXPECT_EQ(refusal.empty(), c.accepted) << c.category << " " << c.monthly << ": " << refusal;
        if (!c.accepted) EXPECT_NE(refusal.find(c.category), std::string::npos) << refusal;
    }
    EXPECT_EQ(checkAdditionalDeduction({"子女教育", "", 2, "2026-01", "", m("4500")}),
              "“子女教育”每月扣除金额 4,500.00 元超过标准 4,000.00 元！");
}

TEST(TaxRules, RentAndLoanInterestNeverInTheSameMonth)
{
    const AdditionalDeduction rent{"住房租金", "直辖市、省会、计划单列市", 0, "2026-01", "", m("1500")};
    const AdditionalDeduction loanLater{"住房贷款利息", "", 0, "2026-06", "2026-12", m("1000")};
    const AdditionalDeduction loanEnded{"住房贷款利息", "", 0, "2024-01", "2025-12", m("1000")};
    const AdditionalDeduction child{"子女教育", "", 1, "2026-01", "", m("2000")};
    EXPECT_NE(checkAgainstOthers(rent, {child, loanLater}), "");
    EXPECT_EQ(checkAgainstOthers(rent, {child, loanEnded}), "");
    EXPECT_EQ(checkAgainstOthers(child, {child}), "");        // one declaration per child
    EXPECT_NE(checkAgainstOthers(loanLater, {loanLater}), "");  // one loan a month
}

TEST(TaxRules, DeclaredMonthsCountedFromTheFirstMonthEmployed)
{
    const AdditionalDeduction lasting{"子女教育", "", 1, "2025-09", "", m("2000")};
    const AdditionalDeduction fromMay{"子女教育", "", 1, "2026-05", "", m("2000")};
    const AdditionalDeduction toFebruary{"子女教育", "", 1, "2025-09", "2026-02", m("2000")};
    EXPECT_EQ(additionalDeducted(lasting, 2026, 1, 3), m("6000"));     // January to March
    EXPECT_EQ(additionalDeducted(fromMay, 2026, 1, 3), m("0"));        // not yet
    EXPECT_EQ(additionalDeducted(lasting, 2026, 7, 9), m("6000"));     // hired in July: July to September
    EXPECT_EQ(additionalDeducted(toFebruary, 2026, 1, 6), m("4000"));  // January and February
}

TEST(TaxRules, ContributionsClampTheBaseAndRoundAsTheSchemeSays)
{
    struct Case {
        double rate;
        const char *floor, *ceiling, *addOn;
        RoundUnit unit;
        RoundMode mode;
        const char *base, *clamped, *amount;
    };
    const Case cases[] = {
        {8, "0", "0", "0", RoundUnit::Fen, RoundMode::HalfUp, "10000", "10000", "800"},
        {8, "4000", "30000", "0", RoundUnit::Fen, RoundMode::HalfUp, "3000", "4000", "320"},      // floor
        {8, "4000", "30000", "0", RoundUnit::Fen, RoundMode::HalfUp, "40000", "30000", "2400"},   // ceiling
        // 12345.67 × 0.5% = 61.72835
        {0.5, "0", "0", "0", RoundUnit::Fen, RoundMode::HalfUp, "12345.67", "12345.67", "61.73"},
        {0.5, "0", "0", "0", RoundUnit::Jiao, RoundMode::HalfUp, "12345.67", "12345.67", "61.7"},
        {0.5, "0", "0", "0", RoundUnit::Yuan, RoundMode::HalfUp, "12345.67", "12345.67", "62"},
        {0.5, "0", "0", "0", RoundUnit::Jiao, RoundMode::Up, "12345.67", "12345.67", "61.8"},
        {0.5, "0", "0", "0", RoundUnit::Fen, RoundMode::Up, "12345.67", "12345.67", "61.73"},
        // 10001 × 0.5% = 50.005: half up to 50.01 (half-even would keep 50.00)
        {0.5, "0", "0", "0", RoundUnit::Fen, RoundMode::HalfUp, "10001", "10001", "50.01"},
        // 10000 × 0.2% = 20 exactly, up stays 20
        {0.2, "0", "0", "0", RoundUnit::Yuan, RoundMode::Up, "10000", "10000", "20"},
        // a fixed add-on beside the rate: 10000 × 2% + 3 = 203
        {2, "0", "0", "3", RoundUnit::Fen, RoundMode::HalfUp, "10000", "10000", "203"},
        // no base entered: nothing, whatever the floor
        {8, "4000", "0", "3", RoundUnit::Fen, RoundMode::HalfUp, "0", "0", "0"},
    };
    for (const Case& c : cases) {
        ContributionRule r;
        r.kind = "养老保险";
        r.employeeRate = c.rate;
        r.employerRate = c.rate * 2;
        r.floor = m(c.floor);
        r.ceiling = m(c.ceiling);
        r.employeeAddOn = m(c.addOn);
        r.unit = c.unit;
        r.mode = c.mode;
        const ContributionAmount a = contributionOf(r, m(c.base));
        EXPECT_EQ(a.base, m(c.clamped)) << c.rate << " of " << c.base;
        EXPECT_EQ(a.employee, m(c.amount)) << c.rate << " of " << c.base << " by " << roundUnitName(c.unit);
    }
    // The employer's part rounds on its own: 10000 × 16% = 1600.
    ContributionRule pension{"养老保险", 8, 16};
    EXPECT_EQ(contributionOf(pension, m("10000")).employer, m("1600"));
}

TEST(TaxRules, MonthTextAndAmountText)
{
    EXPECT_EQ(parseYearMonth("2026-03").value().index(), 2026 * 12 + 2);
    EXPECT_EQ(parseYearMonth("2026-3").value().month, 3);
    for (const char* bad : {"2026-13", "202603", "2026-03x", "26-03", ""}) EXPECT_FALSE(parseYearMonth(bad)) << bad;
    EXPECT_EQ(yuanText(m("1234567.5")), "1,234,567.50");
    EXPECT_EQ(yuanText(m("-1234.5")), "-1,234.50");
    EXPECT_EQ(yuanText(m("12")), "12.00");
}

}  // namespace
