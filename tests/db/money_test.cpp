#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "db/Money.h"

using rsgz::db::Money;

namespace {

TEST(Money, ParsesAmountsAndRefusesTheRest)
{
    struct Case {
        const char* text;
        bool ok;
        int64_t units;
    };
    const Case cases[] = {
        {"12", true, 120000},         {"-3.5", true, -35000},       {"+0.0001", true, 1},
        {"1,234.5678", true, 12345678}, {" 7.10 ", true, 71000},     {".5", true, 5000},
        {"1.23456", false, 0},        {"12a", false, 0},            {"", false, 0},
        {"-", false, 0},              {"1.2.3", false, 0},          {"922337203685476", true, 9223372036854760000},
        {"9223372036854775807", false, 0}, {"1000000000000000", false, 0},
        // Commas group thousands and nothing else: a comma typed for a decimal point is refused.
        {"1,5", false, 0},            {"12,34", false, 0},          {"1234,567", false, 0},
        {",123", false, 0},           {"1,,234", false, 0},         {"1,234,567.8", true, 12345678000},
        {"1.2,3", false, 0},          {"1 234", false, 0},          {"1e3", false, 0},
    };
    for (const Case& c : cases) {
        Money m = Money::fromUnits(-1);
        EXPECT_EQ(Money::parse(c.text, &m), c.ok) << c.text;
        if (c.ok) EXPECT_EQ(m.units(), c.units) << c.text;
    }
}

TEST(Money, FormatsWithFixedDecimalsAndShortestSqlForm)
{
    struct Case {
        int64_t units;
        int decimals;
        const char* text;
        const char* sql;
    };
    const Case cases[] = {
        {12345000, 2, "1234.50", "1234.5"}, {-35000, 2, "-3.50", "-3.5"}, {1, 4, "0.0001", "0.0001"},
        {-1, 2, "0.00", "-0.0001"},          {125, 2, "0.01", "0.0125"},   {-50, 2, "-0.01", "-0.005"},
        {0, 0, "0", "0"},                    {15000, 0, "2", "1.5"},
    };
    for (const Case& c : cases) {
        const Money m = Money::fromUnits(c.units);
        EXPECT_EQ(m.toString(c.decimals), c.text) << c.units;
        EXPECT_EQ(m.toSqlLiteral(), c.sql) << c.units;
    }
}

TEST(Money, ComputedValuesRoundHalfToEvenAtTheFourthDecimal)
{
    struct Case {
        int64_t units;
        double factor;
        int64_t expected;
    };
    const Case cases[] = {
        {25000, 1.2345, 30862},   // 3.08625 -> 3.0862
        {25000, 1.2347, 30868},   // 3.08675 -> 3.0868
        {-25000, 1.2345, -30862}, {10000, 1.0 / 3, 3333}, {10000, 2.0 / 3, 6667},
        {1, 0.5, 0},              {3, 0.5, 2},
    };
    for (const Case& c : cases) EXPECT_EQ((Money::fromUnits(c.units) * c.factor).units(), c.expected) << c.units << " x " << c.factor;

    EXPECT_EQ(Money::fromDouble(3.08625).units(), 30862);
    EXPECT_EQ(Money::fromDouble(0.00015).units(), 2);
    EXPECT_EQ(Money::fromDouble(100.0 / 3).units(), 333333);
    EXPECT_EQ(Money::fromDouble(std::numeric_limits<double>::quiet_NaN()).units(), 0);
}

TEST(Money, TypedAmountsAreRoundedOrRefusedNeverZeroed)
{
    using R = Money::Reading;
    struct Case {
        const char* text;
        R reading;
        int64_t units;
    };
    const Case cases[] = {
        {"1,234.56785", R::Ok, 12345678},  {"0.00005", R::Ok, 0},         {"0.00015", R::Ok, 2},
        {"0.000051", R::Ok, 1},            {"-2.00005", R::Ok, -20000},   {"1e3", R::Ok, 10000000},
        {"-2.5E-1", R::Ok, -2500},         {"922337203685476.9999", R::Ok, INT64_C(9223372036854769999)},
        {"1e15", R::OutOfRange, 0},        {"-1000000000000000", R::OutOfRange, 0}, {"1e400", R::OutOfRange, 0},
        {"922337203685477", R::OutOfRange, 0},
        {"inf", R::NotAnAmount, 0},        {"nan", R::NotAnAmount, 0},   {"1,5", R::NotAnAmount, 0},
        {"0x10", R::NotAnAmount, 0},       {"1e", R::NotAnAmount, 0},    {"", R::NotAnAmount, 0},
    };
    for (const Case& c : cases) {
        Money m = Money::fromUnits(-7);
        EXPECT_EQ(Money::read(c.text, &m), c.reading) << c.text;
        EXPECT_EQ(m.units(), c.reading == R::Ok ? c.units : -7) << c.text << ": a refused text leaves the amount alone";
    }
    Money m;
    EXPECT_FALSE(Money::fromDoubleChecked(1e15, &m));
    EXPECT_FALSE(Money::fromDoubleChecked(std::numeric_limits<double>::infinity(), &m));
}

TEST(Money, ArithmeticThatLeavesTheRangeThrowsAndFormattingHoldsForEveryValue)
{
    const Money top = Money::fromUnits(INT64_MAX), bottom = Money::fromUnits(INT64_MIN), one = Money::fromUnits(1);
    EXPECT_THROW(top + one, rsgz::db::MoneyRangeError);
    EXPECT_THROW(bottom - one, rsgz::db::MoneyRangeError);
    EXPECT_THROW(-bottom, rsgz::db::MoneyRangeError);
    EXPECT_THROW(Money::fromUnits(10000) * 1e30, rsgz::db::MoneyRangeError);
    EXPECT_THROW(Money::fromUnits(10000) * std::numeric_limits<double>::quiet_NaN(), rsgz::db::MoneyRangeError);
    EXPECT_EQ((top - one + one).units(), INT64_MAX);
    EXPECT_EQ((-top).units(), -INT64_MAX);

    EXPECT_EQ(top.toString(4), "922337203685477.5807");
    EXPECT_EQ(top.toString(2), "922337203685477.58");
    EXPECT_EQ(bottom.toString(4), "-922337203685477.5808");
    EXPECT_EQ(bottom.toString(0), "-922337203685478");
    EXPECT_EQ(bottom.toSqlLiteral(), "-922337203685477.5808");
}

}  // namespace

// A computed amount is brought to the fen half up, a half fen away from zero, the same way the
// display rounds it, so the figure kept is the figure shown.
TEST(Money, ToFenRoundsHalfAwayFromZeroAndAgreesWithTheDisplay)
{
    struct Case {
        int64_t units, fen;
    };
    const Case cases[] = {{3540080, 3540100}, {3540049, 3540000}, {3540050, 3540100}, {-3540050, -3540100},
                          {-3540049, -3540000}, {5, 0}, {50, 100}, {-50, -100}, {0, 0}, {12300, 12300}};
    for (const Case& c : cases) {
        const Money m = Money::fromUnits(c.units);
        EXPECT_EQ(m.toFen().units(), c.fen) << c.units;
        EXPECT_EQ(m.toFen().toString(2), m.toString(2)) << c.units;
    }
    EXPECT_EQ(Money::fromUnits(INT64_MAX).toFen().units(), INT64_MAX - 7);  // no wrap at the ends of the range
    EXPECT_EQ(Money::fromUnits(INT64_MIN).toFen().units(), INT64_MIN + 8);
}
