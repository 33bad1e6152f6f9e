#include <gtest/gtest.h>

#include <filesystem>

#include "db/Connection.h"
#include "support/EngineFixture.h"
#include "support/TestDatabase.h"

using namespace rsgz::db;

namespace {

std::string single(Connection& c, const std::string& sql)
{
    Statement st = c.prepareNative(sql);
    if (!st.step()) return "<no row>";
    return st.text(0).value_or("<null>");
}

TEST(Connection, ConnectsOnFirstUseInWalModeWithNormalSync)
{
    rsgz::test::TestDatabase db;
    Connection c(db.livePath());
    EXPECT_FALSE(c.isOpen());
    EXPECT_EQ(single(c, "pragma journal_mode"), "wal");
    EXPECT_TRUE(c.isOpen());
    EXPECT_EQ(single(c, "pragma synchronous"), "1");  // NORMAL
}

// What a connection does by itself, the same on the file and on the server.
class ConnectionOnBoth : public rsgz::test::BothEngines {
protected:
    void SetUp() override
    {
        BothEngines::SetUp();
        if (IsSkipped()) return;
        database().createSchema();
    }
};
RSGZ_ON_BOTH_ENGINES(ConnectionOnBoth);

TEST_P(ConnectionOnBoth, ReconnectsByItselfWhenUsedAfterClose)
{
    Connection& c = conn();
    c.exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '行政')");
    c.close();
    EXPECT_FALSE(c.isOpen());
    // The log was folded into the file: the file alone holds the row.
    if (!c.isServer()) EXPECT_FALSE(std::filesystem::exists(c.path() + "-wal"));
    EXPECT_EQ(single(c, "select 帐套名称 from 帐套"), "行政");
}

TEST(Connection, MissingFileIsAnErrorAndIsNeverCreated)
{
    rsgz::test::TempDir dir;
    const std::string path = dir.filePath("data/vesk.db");
    Connection c(path);
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            c.exec("select 1");
            ADD_FAILURE() << "no error for a missing file";
        } catch (const DbError& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("unable to open database file"), std::string::npos) << e.what();
        }
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(c.isOpen());
}

TEST(Connection, FailedStatementCarriesTheEngineTextAndTheStatement)
{
    rsgz::test::TestDatabase db;
    Connection c(db.livePath());
    try {
        c.exec("select top 1 nosuchcolumn from 帐套");
        ADD_FAILURE();
    } catch (const DbError& e) {
        EXPECT_EQ(std::string(e.what()), "no such column: nosuchcolumn");
        EXPECT_EQ(e.statement(), "select nosuchcolumn from 帐套 limit 1");
    }
}

TEST(Connection, TransactionRollsBackUnlessCommittedAndNestsAsSavepoint)
{
    rsgz::test::TestDatabase db;
    Connection c(db.livePath());
    {
        Transaction outer(c);
        c.exec("insert into 帐套 (帐套名称) values ('kept')");
        {
            Transaction inner(c);
            c.exec("insert into 帐套 (帐套名称) values ('undone')");
        }
        {
            Transaction inner(c);
            c.exec("insert into 帐套 (帐套名称) values ('inner kept')");
            inner.commit();
        }
        outer.commit();
    }
    {
        Transaction dropped(c);
        c.exec("insert into 帐套 (帐套名称) values ('never')");
    }
    EXPECT_EQ(single(c, "select group_concat(帐套名称, '|') from (select 帐套名称 from 帐套 order by 编号)"),
              "kept|inner kept");
}

TEST_P(ConnectionOnBoth, CachedStatementsSurviveReuseErrorsAndClose)
{
    Connection& c = conn();
    c.exec("insert into 员工基本情况 (员工编号) values ('A1')");
    const std::string sql = "insert into 员工基本情况 (员工编号) values (?)";
    auto insert = [&](const char* number) {
        Statement st = c.prepareCached(sql);
        st.bind(1, number).step();
    };
    EXPECT_THROW(insert("a1"), DbError);  // the unique number ignores Latin case
    insert("A2");
    c.close();
    insert("A3");
    {
        // The same text while the cached one is busy gets a statement of its own.
        Statement busy = c.prepareCached(sql);
        insert("A4");
    }
    EXPECT_EQ(rsgz::test::rowsText(c, "select 员工编号 from 员工基本情况 order by 编号"), "A1,A2,A3,A4");
}

}  // namespace
