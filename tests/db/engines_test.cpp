// The same statements on the database file and on the server give the same rows and errors.
#include <gtest/gtest.h>

#include "db/ChineseCollation.h"
#include "db/DataSet.h"
#include "db/Dialect.h"
#include "db/LatinCase.h"
#include "db/SchemaUpgrade.h"
#include "db/ServerBackend.h"
#include "support/EngineFixture.h"

using namespace rsgz::db;
using rsgz::test::BothEngines;
using rsgz::test::Engine;
using rsgz::test::TemporaryDatabase;

namespace {

class Engines : public BothEngines {};
RSGZ_ON_BOTH_ENGINES(Engines);

void makeTable(Connection& c)
{
    c.exec("create table 样表 (编号 int IDENTITY PRIMARY KEY, 名称 varchar(10), 金额 money, 启用 bit, 日期 datetime, 数量 int)");
}

TEST_P(Engines, ValuesGoInAndComeBackAlike)
{
    makeTable(conn());
    Statement ins = conn().prepareNative("insert into [样表] ([名称], [金额], [启用], [日期], [数量]) values (?, ?, ?, ?, ?)");
    Money amount;
    ASSERT_TRUE(Money::parse("1234567890.1234", &amount));
    ins.bind(1, "O'Brien").bind(2, amount).bind(3, 1).bind(4, "2005-03-01").bind(5, int64_t{1} << 40).run();
    ins.bind(1, std::optional<std::string>()).bindNull(2).bind(3, 0).bind(4, "2005-03-01 20:30:00").bind(5, 0).run();
    EXPECT_EQ(conn().changedRows(), 1);

    Statement st = conn().prepareNative("select 名称, 金额, 启用, 日期, 数量 from 样表 order by 编号");
    ASSERT_EQ(st.columnCount(), 5);
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.textOrEmpty(0), "O'Brien");
    EXPECT_EQ(st.money(1), amount) << "an amount comes back exactly";
    EXPECT_EQ(st.integer(2), 1);
    EXPECT_EQ(st.textOrEmpty(3), "2005-03-01");
    EXPECT_EQ(st.integer(4), int64_t{1} << 40);
    EXPECT_EQ(st.columnType(4), Statement::ColumnType::Integer);
    ASSERT_TRUE(st.step());
    EXPECT_TRUE(st.isNull(0));
    EXPECT_TRUE(st.isNull(1));
    EXPECT_EQ(st.money(1), Money());
    EXPECT_EQ(st.integer(2), 0);
    EXPECT_EQ(st.textOrEmpty(3), "2005-03-01 20:30:00");
    EXPECT_FALSE(st.step());
}

TEST_P(Engines, TextIgnoresLatinCaseInComparisonsLikeAndTheUniqueEmployeeNumber)
{
    database().createSchema();
    conn().exec("insert into 员工基本情况 (员工编号, 姓名) values ('A01', 'Zhang')");
    Statement st = conn().prepareNative("select count(*) from 员工基本情况 where 员工编号 = ? and 姓名 like ?");
    st.bind(1, "a01").bind(2, "zh%");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.integer(0), 1);
    try {
        conn().exec("insert into 员工基本情况 (员工编号, 姓名) values ('a01', '李四')");
        ADD_FAILURE() << "a second a01 was taken";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::Duplicate) << e.what();
        EXPECT_FALSE(e.detail().empty());
    }
}

TEST_P(Engines, ChineseNamesSortInPinyinOrder)
{
    makeTable(conn());
    for (const char* name : {"张三", "安娜", "李四", "陈明", "Zoe"})
        conn().prepareNative("insert into 样表 (名称) values (?)").bind(1, name).run();
    auto sorted = [&](const std::string& orderBy) {
        Statement st = conn().prepareNative("select 名称 from 样表 order by " + orderBy);
        std::string order;
        while (st.step()) order += st.textOrEmpty(0) + " ";
        return order;
    };
    // Latin letters come before every Chinese character, as in the file's own order.
    EXPECT_EQ(sorted(conn().dialect().orderTerm("名称", false)), "Zoe 安娜 陈明 李四 张三 ");
    // The program's own sort terms, as the lists write them, for a text and for a number column.
    EXPECT_EQ(sorted(sqlOrderTerm("名称", true)), "张三 李四 陈明 安娜 Zoe ");
    conn().exec("update 样表 set 数量 = 编号");
    EXPECT_EQ(sorted(sqlOrderTerm("数量", true)), "Zoe 陈明 李四 安娜 张三 ");
}

TEST_P(Engines, TopDateLiteralsAndCommaJoinsGiveTheSameRows)
{
    makeTable(conn());
    conn().exec("insert into 样表 (名称, 日期) values (\"甲\", #2005-3-1#)");
    conn().exec("insert into 样表 (名称, 日期) values (\"乙\", #2006/1/2#)");
    conn().exec("insert into 样表 (名称, 日期) values (\"丙\", #2007-1-1#)");
    Statement st = conn().prepareNative(toSqlite(
        "select top 2 a.名称 from 样表 a, 样表 b where a.编号 = b.编号 and a.日期 >= #2005-3-1# order by a.日期 desc"));
    std::string names;
    while (st.step()) names += st.textOrEmpty(0);
    EXPECT_EQ(names, "丙乙");
}

TEST_P(Engines, TransactionsAndSavepointsUndoTheirPart)
{
    makeTable(conn());
    {
        Transaction outer(conn());
        conn().exec("insert into 样表 (名称) values ('kept')");
        {
            Transaction inner(conn());
            conn().exec("insert into 样表 (名称) values ('undone')");
        }
        outer.commit();
    }
    {
        Transaction gone(conn());
        conn().exec("insert into 样表 (名称) values ('gone')");
    }
    EXPECT_FALSE(conn().inTransaction());
    Statement st = conn().prepareNative("select 名称 from 样表");
    std::string names;
    while (st.step()) names += st.textOrEmpty(0) + ";";
    EXPECT_EQ(names, "kept;");
}

TEST_P(Engines, CachedStatementsAreReusedAcrossCalls)
{
    makeTable(conn());
    for (int i = 0; i < 3; ++i) conn().prepareCached("insert into 样表 (数量) values (?)").bind(1, i).run();
    Statement st = conn().prepareCached("select sum(数量), count(*) from 样表");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.integer(0), 3);
    EXPECT_EQ(st.integer(1), 3);
}

TEST_P(Engines, CatalogueNamesTablesColumnsAndTypes)
{
    makeTable(conn());
    EXPECT_TRUE(conn().hasTable("样表"));
    EXPECT_FALSE(conn().hasTable("没有"));
    const std::vector<std::string> want = {"编号", "名称", "金额", "启用", "日期", "数量"};
    EXPECT_EQ(conn().columnNames("样表"), want);
    EXPECT_EQ(conn().columnInfo("样表", "编号").type, FieldType::AutoInc);
    EXPECT_EQ(conn().columnInfo("样表", "名称").type, FieldType::Text);
    EXPECT_EQ(conn().columnInfo("样表", "名称").size, 10);
    EXPECT_EQ(conn().columnInfo("样表", "金额").type, FieldType::Currency);
    EXPECT_EQ(conn().columnInfo("样表", "启用").type, FieldType::YesNo);
    EXPECT_EQ(conn().columnInfo("样表", "日期").type, FieldType::DateTime);
}

TEST_P(Engines, RecordSetReadsRowsWithTheirColumnTypes)
{
    makeTable(conn());
    conn().exec("insert into 样表 (名称, 金额, 启用, 日期) values ('甲', 12.3456, '1', #2005-3-1#)");
    DataSet ds(&conn(), "样表", {"select 名称, 金额, 启用, 日期, 金额 * 2 as 双倍 from 样表"});
    ds.open();
    ASSERT_EQ(ds.recordCount(), 1);
    EXPECT_EQ(ds.fieldByName("名称").size, 10);
    EXPECT_EQ(ds.fieldByName("金额").type, FieldType::Currency);
    EXPECT_EQ(ds.value("名称"), Value(std::string("甲")));
    EXPECT_EQ(ds.asMoney("金额").toSqlLiteral(), "12.3456");
    EXPECT_EQ(ds.value("启用").toBool(), true);
    EXPECT_EQ(ds.value("日期").toString(), "2005-03-01");
    EXPECT_EQ(ds.value("双倍").toDouble(), 24.6912);
}

// A fresh server database holds exactly the tables and columns, with their types and widths, of a
// fresh database file, and says it is of the newest version.
TEST(ServerSchema, MatchesAFreshFile)
{
    if (!rsgz::test::testServer()) GTEST_SKIP() << "no test server: set RSGZ_TEST_PGHOST";
    TemporaryDatabase file(Engine::File), server(Engine::Server);
    file.createSchema();
    server.createSchema();
    EXPECT_EQ(schemaVersionOf(server.conn()), currentSchemaVersion());
    // The server keeps its names folded; the program reads them back in the schema's spelling.
    std::vector<std::string> fileTables = file.conn().tableNames(), serverTables = server.conn().tableNames();
    std::sort(fileTables.begin(), fileTables.end());
    std::sort(serverTables.begin(), serverTables.end());
    ASSERT_EQ(serverTables, fileTables);
    for (const std::string& table : fileTables) {
        const std::vector<std::string> want = file.conn().columnNames(table);
        ASSERT_EQ(server.conn().columnNames(table), want) << table;
        for (const std::string& column : want) {
            const auto a = file.conn().columnInfo(table, column), b = server.conn().columnInfo(table, column);
            EXPECT_EQ(static_cast<int>(b.type), static_cast<int>(a.type)) << table << "." << column;
            EXPECT_EQ(b.size, a.size) << table << "." << column;
        }
    }
}

TEST(ServerErrors, KindsFollowTheErrorCode)
{
    using K = DbError::Kind;
    const std::pair<const char*, K> cases[] = {
        {"40001", K::Busy},   {"40P01", K::Busy},      {"55P03", K::Busy},  {"23505", K::Duplicate},
        {"23503", K::Constraint}, {"23514", K::Constraint}, {"53100", K::Full}, {"25006", K::ReadOnly},
        {"08006", K::Lost},   {"57P01", K::Lost},      {"XX001", K::Damaged}, {"XX002", K::Damaged},
        {"42501", K::Denied}, {"28P01", K::Denied},    {"42P01", K::Other},
    };
    for (const auto& [code, kind] : cases) EXPECT_EQ(serverErrorKind(code), kind) << code;
}

TEST(ServerWords, StatementsAreRewrittenOutsideValuesAndComments)
{
    const std::pair<const char*, const char*> cases[] = {
        {"select [Name] from [员工基本情况] where a = ? and b = ?", "select \"name\" from \"员工基本情况\" where a = $1 and b = $2"},
        {"select '[x] ?' -- [y] ?\n", "select '[x] ?' -- [y] ?\n"},
        {"select ifnull(a, 0) from t order by a collate zh, b collate nocase desc",
         "select coalesce(a, 0) from t order by a , b  desc"},
        {"create table t ([a] VARCHAR(20) COLLATE NOCASE, b CURRENCY REAL, c YESNO, d DATETIME, e INTEGER PRIMARY KEY AUTOINCREMENT, "
         "f LONGTEXT COLLATE NOCASE)",
         "create table t (\"a\" rsgz_text_20 collate rsgz_zh, b numeric(19,4), c boolean, d timestamp(0), "
         "e bigint generated by default as identity primary key, f citext collate rsgz_zh)"},
        {"select datetime('now'), integer from t", "select datetime('now'), integer from t"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(toServerWords(in).sql, out) << in;
    EXPECT_EQ(toServerWords("create table t (a VARCHAR(20), b varchar(5) COLLATE NOCASE)").textWidths, (std::vector<int>{20, 5}));
}

// SQLite numbers "?N" by its digits and a plain "?" one past the highest number before it.
TEST(ServerWords, NumberedParametersKeepTheirNumbers)
{
    struct Case {
        const char* in;
        const char* out;
        int parameters;
    };
    const Case cases[] = {
        {"a = ?1 and b = ?2", "a = $1 and b = $2", 2},
        {"a = ?11 and b = ?2", "a = $11 and b = $2", 11},
        {"a = ?2 or b = ?2", "a = $2 or b = $2", 2},
        {"a = ? and b = ? and c = ?", "a = $1 and b = $2 and c = $3", 3},
        {"a = ?3 and b = ?", "a = $3 and b = $4", 4},
        {"a = ? and b = ?1 and c = ?", "a = $1 and b = $1 and c = $2", 2},
        {"a = ? 1", "a = $1 1", 1},
        {"a = '?1' and b = ?10", "a = '?1' and b = $10", 10},
    };
    for (const Case& c : cases) {
        const ServerText t = toServerWords(c.in);
        EXPECT_EQ(t.sql, c.out) << c.in;
        EXPECT_EQ(t.parameters, c.parameters) << c.in;
    }
}

}  // namespace
