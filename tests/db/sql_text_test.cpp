#include <gtest/gtest.h>

#include "db/SqlText.h"

using namespace rsgz::db;

namespace {

TEST(SqlText, QuoteDoublesEverySingleQuote)
{
    EXPECT_EQ(sqlQuote("O'Brien"), "'O''Brien'");
    EXPECT_EQ(sqlQuote("'); drop table 权限; --"), "'''); drop table 权限; --'");
    EXPECT_EQ(sqlQuote(""), "''");
    EXPECT_EQ(sqlQuote("''"), "''''''");
}

TEST(SqlText, NamesAreBracketedOrQuotedSoTheyNeverEndEarly)
{
    EXPECT_EQ(sqlIdent("员工基本情况"), "[员工基本情况]");
    EXPECT_EQ(sqlIdent("a\"b"), "[a\"b]");
    EXPECT_EQ(sqlIdent("x] from 权限; --"), "\"x] from 权限; --\"");
    EXPECT_EQ(sqlIdent("a]\"b"), "\"a]\"\"b\"");
}

TEST(SqlText, LiteralFormFollowsTheColumnType)
{
    struct Case {
        Value value;
        FieldType type;
        const char* literal;
    };
    const Case cases[] = {
        {Value("O'Brien"), FieldType::Text, "'O''Brien'"},
        {Value(42), FieldType::Integer, "'42'"},
        {Value("12.50"), FieldType::Currency, "12.5"},
        {Value(Money::fromUnits(-35000)), FieldType::Currency, "-3.5"},
        {Value("1e3"), FieldType::Double, "1e3"},
        {Value(2.25), FieldType::Double, "2.25"},
        // Text that is no plain number never goes into a statement bare.
        {Value("1; delete from 员工基本情况"), FieldType::Double, "1"},
        {Value("inf"), FieldType::Double, "0"},
        {Value("nan(x)"), FieldType::Currency, "0"},
        {Value("2005-3-1"), FieldType::DateTime, "#2005-03-01#"},
        {Value("2001-03-04 08:05:00"), FieldType::DateTime, "#2001-03-04 08:05:00#"},
        {Value("x' or '1'='1"), FieldType::DateTime, "'x'' or ''1''=''1'"},
        {Value(true), FieldType::YesNo, "'1'"},
        {Value("否"), FieldType::YesNo, "'0'"},
    };
    for (const Case& c : cases) EXPECT_EQ(sqlLiteral(c.value, c.type), c.literal) << c.value.toString();
}

TEST(SqlText, LinesJoinWithCrLfAndSplitBack)
{
    const SqlLines lines = {"select *", "from 员工基本情况", "where 姓名 = 'a'"};
    const std::string joined = joinSqlLines(lines);
    EXPECT_EQ(joined, "select *\r\nfrom 员工基本情况\r\nwhere 姓名 = 'a'");
    EXPECT_EQ(splitSqlLines(joined), lines);
    EXPECT_EQ(splitSqlLines("a\nb\r\n"), (SqlLines{"a", "b"}));
}

}  // namespace
