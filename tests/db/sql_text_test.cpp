#include <gtest/gtest.h>

#include "db/Connection.h"
#include "db/Dialect.h"
#include "db/SqlText.h"
#include "support/EngineFixture.h"

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
        {Value(true), FieldType::YesNo, "true"},
        {Value("否"), FieldType::YesNo, "false"},
        // No value is null, never an empty text: a server's date or truth column takes none.
        {Value(), FieldType::YesNo, "null"},
        {Value(), FieldType::DateTime, "null"},
        {Value(""), FieldType::DateTime, "null"},
    };
    for (const Case& c : cases) EXPECT_EQ(sqlLiteral(c.value, c.type), c.literal) << c.value.toString();
}

// A literal written into an insert, an update and a condition means the same on either engine:
// the row written with it is found with it.
class LiteralsOnBoth : public rsgz::test::BothEngines {};
RSGZ_ON_BOTH_ENGINES(LiteralsOnBoth);

TEST_P(LiteralsOnBoth, AValueWrittenWithALiteralIsFoundWithIt)
{
    conn().exec("create table 样表 (编号 int IDENTITY PRIMARY KEY, 名称 varchar(20), 金额 money, 启用 bit, 日期 datetime, 数量 int, "
                "比例 double)");
    struct Case {
        const char* column;
        FieldType type;
        Value value;
        const char* stored;  // as rowsText reads it back
    };
    const Case cases[] = {
        {"名称", FieldType::Text, Value("O'Brien"), "O'Brien"},
        {"金额", FieldType::Currency, Value("12.50"), "12.5"},
        {"启用", FieldType::YesNo, Value(true), "1"},
        {"启用", FieldType::YesNo, Value(false), "0"},
        {"启用", FieldType::YesNo, Value(), ""},
        {"日期", FieldType::DateTime, Value("2005-3-1"), "2005-03-01"},
        {"日期", FieldType::DateTime, Value("2001-03-04 08:05:00"), "2001-03-04 08:05:00"},
        {"日期", FieldType::DateTime, Value(""), ""},
        {"数量", FieldType::Integer, Value(42), "42"},
        {"比例", FieldType::Double, Value(2.25), "2.25"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column + (" " + c.value.toString()));
        conn().exec("delete from 样表");
        const std::string literal = sqlLiteral(c.value, c.type);
        conn().exec(std::string("insert into 样表 (") + c.column + ") values (" + literal + ")");
        EXPECT_EQ(rsgz::test::rowsText(conn(), std::string("select ") + c.column + " from 样表"), c.stored);
        conn().exec(std::string("update 样表 set ") + c.column + " = " + literal);
        const std::string found = c.value.isNull() || c.value.toString().empty() ? " is null" : " = " + literal;
        EXPECT_EQ(rsgz::test::rowsText(conn(), toSqlite(std::string("select count(*) from 样表 where ") + c.column + found)),
                  "1");
    }
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
