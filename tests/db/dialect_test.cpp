#include <gtest/gtest.h>

#include "db/DbError.h"
#include "db/Dialect.h"

using namespace rsgz::db;

namespace {

struct Translation {
    const char* in;
    const char* out;
};

TEST(Dialect, TranslatesStatementsAndLeavesLiteralsAlone)
{
    const Translation cases[] = {
        {"select top 5 * from 员工基本情况", "select * from 员工基本情况 limit 5"},
        {"select top 1  * from 工资表", "select * from 工资表 limit 1"},
        {"SELECT TOP 10 姓名 from 员工基本情况 order by 姓名 DESC;", "SELECT 姓名 from 员工基本情况 order by 姓名 DESC limit 10;"},
        {"select distinct top 3 一级部门 from 部门分类", "select distinct 一级部门 from 部门分类 limit 3"},
        {"select * from 员工基本情况\r\nwhere 员工编号 in (select top 2 员工编号1 from 奖惩情况 where 编号 in (1,2))\r\n"
         "order by 员工编号\r\n",
         "select * from 员工基本情况\r\nwhere 员工编号 in (select 员工编号1 from 奖惩情况 where 编号 in (1,2) limit 2)\r\n"
         "order by 员工编号\r\n"},
        {"select * from 培训课程 where 开始日期=#2005-3-1#", "select * from 培训课程 where 开始日期='2005-03-01'"},
        {"where d between #2005/3/1# and #3/31/2005#", "where d between '2005-03-01' and '2005-03-31'"},
        {"where d = #2005-3-1 8:30#", "where d = '2005-03-01 08:30:00'"},
        {"where d = #3/1/2005 8:30 PM#", "where d = '2005-03-01 20:30:00'"},
        {"where d = #2001-03-04 08:05:00#", "where d = '2001-03-04 08:05:00'"},
        // Quotes inside literals, and statement words inside them, stay exactly as typed.
        {"select * from t where 姓名='O''Brien select top 5 #1# #2005-3-1#'",
         "select * from t where 姓名='O''Brien select top 5 #1# #2005-3-1#'"},
        {"select * from t where 备注 = 'top 5' and 姓名 like '%#1#%'", "select * from t where 备注 = 'top 5' and 姓名 like '%#1#%'"},
        // Double quotes hold text in the dialect: they become the engine's single quotes.
        {"select \"top 5\" from t where 姓名 = \"O'Brien\" or 备注 = \"say \"\"hi\"\"\"",
         "select 'top 5' from t where 姓名 = 'O''Brien' or 备注 = 'say \"hi\"'"},
        // Comments are left alone, and a limit goes before a trailing one.
        {"select top 5 * from t -- top 3 from #x#\r\n", "select * from t limit 5 -- top 3 from #x#\r\n"},
        {"/* select top 2 \"a\" #1# */ select * from t where a = #2005-3-1#",
         "/* select top 2 \"a\" #1# */ select * from t where a = '2005-03-01'"},
        {"select * from a where x in (select top 2 y from b) union select * from c",
         "select * from a where x in (select y from b limit 2) union select * from c"},
        {"select * from topics where top = 1", "select * from topics where top = 1"},
    };
    for (const Translation& c : cases) EXPECT_EQ(toSqlite(c.in), c.out) << c.in;
}

// What the engine would run with another meaning is refused with a message, never rewritten.
TEST(Dialect, RefusesWhatItCannotTranslateFaithfully)
{
    for (const char* sql : {"select top 10 percent * from 员工基本情况 order by 姓名",
                            "select top 5 姓名 from 员工基本情况 union select 姓名 from 权限",
                            "select 姓名 from 权限 union all select top 5 姓名 from 员工基本情况",
                            "select * from t where (select top 1 a from b union select c from d) = 1",
                            "select * from t where d = #not a date#",
                            "select * from t where d = #2005-3-1 13:00 PM#"}) {
        try {
            toSqlite(sql);
            ADD_FAILURE() << "translated: " << sql;
        } catch (const DbError& e) {
            EXPECT_EQ(e.statement(), sql);
            EXPECT_FALSE(std::string(e.what()).empty());
        }
    }
}

TEST(Dialect, NestedTopAndOuterTopEachGetTheirOwnLimit)
{
    EXPECT_EQ(toSqlite("select top 3 * from a where x in (select top 2 y from b)"),
              "select * from a where x in (select y from b limit 2) limit 3");
}

TEST(Dialect, CreateTableTypesBecomeTheTypesTheSchemaReadsBack)
{
    const Translation cases[] = {
        {"create table t\r\n(\r\n名称 varchar(50) null,\r\n顺序号 int IDENTITY PRIMARY KEY\r\n)",
         "create table t\r\n(\r\n名称 VARCHAR(50) COLLATE NOCASE null,\r\n顺序号 INTEGER PRIMARY KEY AUTOINCREMENT\r\n)"},
        {"create table t (a int, b money, c bit, d memo, e datetime, f double)",
         "create table t (a INTEGER, b CURRENCY REAL, c YESNO, d LONGTEXT COLLATE NOCASE, e DATETIME, f DOUBLE)"},
        {"create table t (id int identity(1,1), Email varchar(100))",
         "create table t (id INTEGER PRIMARY KEY AUTOINCREMENT, Email VARCHAR(100) COLLATE NOCASE)"},
        {"create table t (id counter primary key, n text(20))",
         "create table t (id INTEGER PRIMARY KEY AUTOINCREMENT, n VARCHAR(20) COLLATE NOCASE)"},
        // A column whose name is a type word keeps its name.
        {"create table t (money money, int int)", "create table t (money CURRENCY REAL, int INTEGER)"},
    };
    for (const Translation& c : cases) EXPECT_EQ(toSqlite(c.in), c.out) << c.in;
}

// Another engine is other facts: the same statements of the program come out in its words.
TEST(Dialect, AnotherEnginesFactsGiveThatEnginesWords)
{
    Dialect other = sqliteDialect();
    other.nameOpen = other.nameClose = other.nameFallback = '"';
    other.textType = "varchar(";
    other.memoType = "text";
    other.caseInsensitiveText = "collate ci";
    other.currencyType = "numeric(19,4)";
    other.yesNoType = "boolean";
    other.autoIncrementKey = "integer generated by default as identity primary key";
    other.rowLimitBefore = " fetch first ";
    other.rowLimitAfter = " rows only";
    other.dateOpen = "date '";
    other.chineseCollation = "pinyin";
    const Translation cases[] = {
        {"select top 5 * from 员工基本情况 where 出生日期 > #1980-3-1#",
         "select * from 员工基本情况 where 出生日期 > date '1980-03-01' fetch first 5 rows only"},
        {"select * from a where x in (select top 2 y from b)", "select * from a where x in (select y from b fetch first 2 rows only)"},
        {"create table t (id int identity primary key, 名称 varchar(50), b money, c bit, d memo)",
         "create table t (id integer generated by default as identity primary key, 名称 varchar(50) collate ci, "
         "b numeric(19,4), c boolean, d text collate ci)"},
    };
    for (const Translation& c : cases) EXPECT_EQ(translateStatement(c.in, other), c.out) << c.in;
    EXPECT_EQ(other.quoteName("姓名"), "\"姓名\"");
    EXPECT_EQ(other.quoteName("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(other.orderTerm("姓名", true), "姓名 collate pinyin desc");
    EXPECT_EQ(other.declaredType(FieldType::Text, 0), "varchar(255) collate ci");
    // The engine the program runs on is untouched by the copy.
    EXPECT_EQ(sqliteDialect().quoteName("a]b"), "\"a]b\"");
    EXPECT_EQ(sqliteDialect().quoteName("姓名"), "[姓名]");
    EXPECT_EQ(sqliteDialect().orderTerm("姓名", false), "姓名 collate zh");
}

TEST(Dialect, DateLiteralBodies)
{
    const Translation cases[] = {
        {"2005-3-1", "2005-03-01"}, {"2005/12/31", "2005-12-31"}, {"3/1/2005", "2005-03-01"},
        {"2005-3-1 0:00", "2005-03-01"}, {"2005-3-1 23:59:58", "2005-03-01 23:59:58"},
        {"3/1/2005 8:30 PM", "2005-03-01 20:30:00"}, {"2005-3-1 12:05am", "2005-03-01 00:05:00"},
        {"2005-3-1 12:00 AM", "2005-03-01"}, {"2005-3-1 12:30 pm", "2005-03-01 12:30:00"},
        {"2005-2-30", ""}, {"1", ""}, {"2005-3-1 25:00", ""}, {"2005-3-1 0:30 PM", ""},
    };
    for (const Translation& c : cases) EXPECT_EQ(isoDateFromLiteral(c.in), c.out) << c.in;
}

TEST(Dialect, SelectShapeTellsWhichStatementsCanBeWrittenBack)
{
    struct Case {
        const char* sql;
        bool simple;
        const char* table;
    };
    const Case cases[] = {
        {"select * from 员工基本情况 where 姓名 = 'a, b' order by 姓名", true, "员工基本情况"},
        {"select 姓名 -- from 奖惩情况 a, b\r\n/* from x, y */ from 员工基本情况", true, "员工基本情况"},
        {"select 姓名, 性别 from \"员工基本情况\" a where a.编号 in (select 编号 from x, y)", true, "员工基本情况"},
        {"select 姓名, upper(姓名) as u from 员工基本情况 limit 3", true, "员工基本情况"},
        {"select a.*, b.奖惩内容 from 员工基本情况 a, 奖惩情况 b where a.员工编号 = b.员工编号1", false, ""},
        {"select * from 员工基本情况 left join 奖惩情况 on 员工编号 = 员工编号1", false, ""},
        {"select distinct 一级部门 from 员工基本情况", false, ""},
        {"select 一级部门, count(*) from 员工基本情况 group by 一级部门", false, ""},
        {"select max(编号) from 员工基本情况", false, ""},
        {"select * from (select * from 员工基本情况)", false, ""},
        {"select * from a union select * from b", false, ""},
        {"update 员工基本情况 set 姓名 = 'x'", false, ""},
    };
    for (const Case& c : cases) {
        const SelectShape shape = analyzeSelect(c.sql);
        EXPECT_EQ(shape.simple, c.simple) << c.sql;
        EXPECT_EQ(shape.table, c.table) << c.sql;
    }
}

TEST(Dialect, SelectItemsAndAggregatesAreFoundForTyping)
{
    const SelectShape shape =
        analyzeSelect("select a.一级部门, count(*) as 人数, sum(b.gz01) 合计, max(a.入职日期), x + y from 员工基本情况 a, 工资表 b");
    ASSERT_EQ(shape.items.size(), 5u);
    EXPECT_EQ(shape.items[1].expr, "count(*)");
    EXPECT_EQ(shape.items[1].alias, "人数");
    EXPECT_EQ(shape.items[2].alias, "合计");
    EXPECT_EQ(shape.items[3].alias, "");
    EXPECT_EQ(shape.items[4].expr, "x + y");
    ASSERT_EQ(shape.sources.size(), 2u);
    EXPECT_EQ(shape.sources[1].table, "工资表");
    EXPECT_EQ(shape.sources[1].alias, "b");

    // Which items name a stored column plainly: only those are written back.
    const SelectShape plain =
        analyzeSelect("select a.*, a.姓名 as 显示名, [性别] /* from x */, (select 姓名 from t) as 首位 from 员工基本情况 a");
    ASSERT_EQ(plain.items.size(), 4u);
    EXPECT_TRUE(plain.items[0].star);
    EXPECT_EQ(plain.items[0].qualifier, "a");
    EXPECT_EQ(plain.items[1].column, "姓名");
    EXPECT_EQ(plain.items[1].qualifier, "a");
    EXPECT_EQ(plain.items[2].column, "性别");
    EXPECT_EQ(plain.items[3].column, "");
    EXPECT_FALSE(plain.items[3].star);

    EXPECT_EQ(parseAggregate("count(*)").kind, AggregateCall::Kind::Count);
    const AggregateCall sum = parseAggregate("sum(b.gz01)");
    EXPECT_EQ(sum.kind, AggregateCall::Kind::Sum);
    EXPECT_EQ(sum.qualifier, "b");
    EXPECT_EQ(sum.column, "gz01");
    EXPECT_EQ(parseAggregate("max(a) - min(b)").kind, AggregateCall::Kind::None);
    EXPECT_EQ(parseAggregate("upper(x)").kind, AggregateCall::Kind::None);
}

}  // namespace
