// The database's own calls above the engine: values bound to a statement and read from its rows,
// failures told apart by their kind, and what the database holds (its tables and their columns).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Schema.h"
#include "support/TestDatabase.h"

using namespace rsgz::db;
using ColumnType = Statement::ColumnType;

namespace {

TEST(Statement, EveryKindOfValueIsBoundAndReadBackAsItWent)
{
    rsgz::test::TestDatabase db;
    Connection c(db.livePath());
    const std::string word = "工资总额以外";
    struct Case {
        const char* what;
        std::function<void(Statement&)> bind;
        ColumnType type;
        std::optional<std::string> text;
    };
    const Case cases[] = {
        {"text", [](Statement& s) { s.bind(1, "张三"); }, ColumnType::Text, "张三"},
        {"part of a text", [&](Statement& s) { s.bind(1, std::string_view(word).substr(0, 6)); }, ColumnType::Text, "工资"},
        {"text with a quote", [](Statement& s) { s.bind(1, std::string("O'Neil\"")); }, ColumnType::Text, "O'Neil\""},
        {"empty text", [](Statement& s) { s.bind(1, std::string()); }, ColumnType::Text, ""},
        {"no text", [](Statement& s) { s.bind(1, std::optional<std::string>()); }, ColumnType::Null, std::nullopt},
        {"kept text", [&](Statement& s) { s.bindKept(1, word); }, ColumnType::Text, word},
        {"amount", [](Statement& s) { s.bind(1, Money::fromUnits(-12345)); }, ColumnType::Real, "-1.2345"},
        {"number", [](Statement& s) { s.bind(1, 2.5); }, ColumnType::Real, "2.5"},
        {"large integer", [](Statement& s) { s.bind(1, int64_t{1} << 40); }, ColumnType::Integer, "1099511627776"},
        {"small integer", [](Statement& s) { s.bind(1, -7); }, ColumnType::Integer, "-7"},
        {"null", [](Statement& s) { s.bindNull(1); }, ColumnType::Null, std::nullopt},
    };
    for (const Case& k : cases) {
        Statement st = c.prepareNative("select ?1 as 值, typeof(?1)");
        k.bind(st);
        ASSERT_TRUE(st.step()) << k.what;
        EXPECT_EQ(st.columnCount(), 2) << k.what;
        EXPECT_EQ(st.columnName(0), "值") << k.what;
        EXPECT_EQ(st.columnType(0), k.type) << k.what << " stored as " << st.textOrEmpty(1);
        EXPECT_EQ(st.isNull(0), !k.text) << k.what;
        EXPECT_EQ(st.text(0), k.text) << k.what;
        EXPECT_EQ(st.textOrEmpty(0), k.text.value_or("")) << k.what;
    }

    // Amounts keep their four decimals both ways; a null amount reads as nothing owed.
    Statement st = c.prepareNative("select ?, ?, ?");
    st.bind(1, Money::fromUnits(123456789)).bind(2, int64_t{42}).bindNull(3);
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.money(0), Money::fromUnits(123456789));
    EXPECT_EQ(st.integer(1), 42);
    EXPECT_EQ(st.number(1), 42.0);
    EXPECT_EQ(st.money(2), Money());
}

TEST(Statement, ResetAndTheCacheHandOnNoValuesOfTheLastRun)
{
    rsgz::test::TestDatabase db;
    Connection c(db.livePath());
    const std::string sql = "select ?1 is null";
    {
        Statement st = c.prepareCached(sql);
        st.bind(1, "上次");
        ASSERT_TRUE(st.step());
        EXPECT_EQ(st.integer(0), 0);
        st.reset();
        ASSERT_TRUE(st.step());
        EXPECT_EQ(st.integer(0), 1) << "a reset statement keeps no value";
    }
    Statement again = c.prepareCached(sql);
    ASSERT_TRUE(again.step());
    EXPECT_EQ(again.integer(0), 1) << "the cached statement came back with a value bound";
}

TEST(Statement, BindingBeyondTheParametersIsAnError)
{
    rsgz::test::TestDatabase db;
    Connection c(db.livePath());
    Statement st = c.prepareNative("select ?");
    EXPECT_THROW(st.bind(2, "多余"), DbError);
}

// A file that is not a database, at the path the program would open.
void writeGarbage(const std::string& path)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string(4096, 'x');
}

TEST(DbError, FailuresAreToldApartByKindAndCarryTheEngineText)
{
    rsgz::test::TestDatabase db;
    struct Case {
        const char* what;
        std::function<void(Connection&, const std::string& path)> provoke;
        DbError::Kind kind;
        bool engineText;  // the engine said it (else the program found it before the engine)
    };
    const Case cases[] = {
        {"a repeated employee number",
         [](Connection& c, const std::string&) {
             c.exec("insert into 员工基本情况 (员工编号) values ('E1')");
             c.exec("insert into 员工基本情况 (员工编号) values ('e1')");
         },
         DbError::Kind::Duplicate, true},
        {"a trigger refusing the row",
         [](Connection& c, const std::string&) {
             c.execNative("create trigger 不许 before insert on 帐套 begin select raise(abort, '帐套已锁定'); end");
             c.exec("insert into 帐套 (帐套名称) values ('行政')");
         },
         DbError::Kind::Constraint, true},
        {"no room left",
         [](Connection& c, const std::string&) {
             Statement pages = c.prepareNative("pragma page_count");
             pages.step();
             c.execNative("pragma max_page_count = " + std::to_string(pages.integer(0)));
             for (int i = 0; i < 200; ++i)
                 c.exec("insert into 员工基本情况 (员工编号, 备注) values ('F" + std::to_string(i) + "', '"
                        + std::string(2000, 'x') + "')");
         },
         DbError::Kind::Full, true},
        {"a file that is no database",
         [](Connection& c, const std::string& path) {
             c.close();
             writeGarbage(path);
             c.exec("select 1");
         },
         DbError::Kind::Damaged, true},
        {"a read-only file",
         [](Connection& c, const std::string& path) {
             c.close();
             std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
             c.exec("select 1");
         },
         DbError::Kind::ReadOnly, false},
        {"a statement the engine cannot run",
         [](Connection& c, const std::string&) { c.exec("select nosuchcolumn from 帐套"); },
         DbError::Kind::Other, true},
    };
    for (const Case& k : cases) {
        rsgz::test::TestDatabase fresh;
        Connection c(fresh.livePath());
        try {
            k.provoke(c, fresh.livePath());
            ADD_FAILURE() << k.what << ": no error";
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), k.kind) << k.what << ": " << e.what();
            EXPECT_EQ(e.detail().empty(), !k.engineText) << k.what << ": " << e.detail();
            if (k.engineText) EXPECT_NE(std::string(e.what()).find(e.detail()), std::string::npos) << k.what;
        }
        if (std::filesystem::exists(fresh.livePath()))
            std::filesystem::permissions(fresh.livePath(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    }
}

TEST(Connection, TellsItsTablesAndTheirColumns)
{
    rsgz::test::TestDatabase db;
    Connection c(db.livePath());
    // A name that would break a statement it was spliced into.
    const std::string odd = "新'表\"";
    c.execNative("create table \"新'表\"\"\" (甲 text, \"乙'\" integer)");

    const std::vector<std::string> tables = c.tableNames();
    ASSERT_FALSE(tables.empty());
    EXPECT_EQ(tables.back(), odd) << "in the order they were made";
    for (const std::string& t : tables) EXPECT_NE(t.rfind("sqlite_", 0), 0u) << "the engine's own table " << t;
    EXPECT_NE(std::find(tables.begin(), tables.end(), "员工基本情况"), tables.end());

    EXPECT_EQ(c.columnNames(odd), (std::vector<std::string>{"甲", "乙'"}));
    std::vector<std::string> declared;
    for (const ColumnDef& col : findTable("员工基本情况")->columns) declared.push_back(col.name);
    EXPECT_EQ(c.columnNames("员工基本情况"), declared);
    EXPECT_TRUE(c.columnNames("没有的表").empty());
    EXPECT_TRUE(c.hasTable(odd));
    EXPECT_TRUE(c.hasTable("帐套"));
    EXPECT_FALSE(c.hasTable("没有的表"));
    EXPECT_FALSE(c.hasTable("员工基本情况_员工编号")) << "an index is no table";
}

TEST(Connection, ChangedRowsCountsTheLastWrite)
{
    rsgz::test::TestDatabase db;
    Connection c(db.livePath());
    c.exec("insert into 帐套 (帐套名称) values ('甲'), ('乙'), ('丙')");
    EXPECT_EQ(c.changedRows(), 3);
    Statement st = c.prepareNative("update 帐套 set 帐套编号 = ? where 帐套名称 <> ?");
    st.bind(1, "01").bind(2, "甲").run();
    EXPECT_EQ(c.changedRows(), 2);
}

}  // namespace
