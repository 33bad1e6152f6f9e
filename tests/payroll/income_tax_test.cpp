// The bracket rule at every edge of a bracket table, and what happens without a bracket.
#include <gtest/gtest.h>

#include "db/Connection.h"
#include "payroll/IncomeTax.h"
#include "support/TestDatabase.h"

using namespace rsgz;
using db::Money;
using payroll::IncomeTax;
using payroll::TaxBrackets;

namespace {

Money m(const char* text)
{
    Money out;
    EXPECT_TRUE(Money::parse(text, &out)) << text;
    return out;
}

TEST(IncomeTax, BracketEdges)
{
    // Stored in no particular order; 结束额 plays no part.
    test::TestDatabase db;
    db::Connection conn(db.livePath());
    conn.exec("insert into 所得税设置 (起始额, 结束额, 税率, 速扣) values "
              "(500, 2000, 10, 25), (0, 500, 5, 0), (2000, 100, 15, 125)");
    IncomeTax tax(TaxBrackets::read(conn));

    struct Case {
        const char* base;
        const char* threshold;
        const char* expected;
    };
    const Case cases[] = {
        {"1600", "1600", "0"},        // at the threshold: no tax
        {"1599.99", "1600", "0"},     // below it
        {"1600.01", "1600", "0.0005"},// one fen above: 5 % of a fen
        {"2100", "1600", "25"},       // equal to a lower bound: the bracket below
        {"2100.01", "1600", "25.001"},// one fen above it: the next bracket
        {"2600", "1600", "75"},
        {"3600", "1600", "175"},      // 2000 is a bound: still 10 %, although the last bracket "ends" at 100
        {"3600.01", "1600", "175.0015"},
        {"101600", "1600", "14875"},  // 结束额 100 of the top bracket does not stop it
    };
    for (const Case& c : cases)
        EXPECT_EQ(tax.taxOf(m(c.base), m(c.threshold)), m(c.expected)) << c.base << " over " << c.threshold;
    EXPECT_FALSE(tax.missedBracket());
}

TEST(IncomeTax, NoBracketGivesZeroAndIsRemembered)
{
    // Empty table, and a table whose lowest bracket starts above the amount.
    IncomeTax none{TaxBrackets()};
    EXPECT_EQ(none.taxOf(m("5000"), m("1600")), Money());
    EXPECT_TRUE(none.missedBracket());

    IncomeTax high{TaxBrackets({{m("1000"), 10, m("0")}})};
    EXPECT_EQ(high.taxOf(m("2600"), m("1600")), Money());  // 1000 is not below 1000
    EXPECT_TRUE(high.missedBracket());
    EXPECT_EQ(high.taxOf(m("2600.01"), m("1600")), m("100.001"));
}

}  // namespace
