// Two clerks on one database, each on a connection of their own: a save over the other's change is
// refused and loses nothing, a list read afresh shows the other's rows, and a connection the server
// broke off is made afresh by the next action.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/Interaction.h"
#include "app/OtherClerks.h"
#include "db/Connection.h"
#include "db/DataSet.h"
#include "db/Schema.h"
#include "db/WorkLock.h"
#include "support/EngineFixture.h"
#include "support/PrivateCluster.h"
#include "support/ScriptedInteraction.h"

using namespace rsgz::db;
using rsgz::app::runAction;
using rsgz::test::BothEngines;

namespace {

const char* const kEmployees = "select * from 员工基本情况 order by 员工编号";

// The stored row of one employee as "姓名/性别".
std::string stored(Connection& conn, const std::string& number)
{
    Statement st = conn.prepareNative("select 姓名, 性别 from 员工基本情况 where 员工编号 = ?");
    st.bind(1, number);
    if (!st.step()) return "<none>";
    return st.textOrEmpty(0) + "/" + st.textOrEmpty(1);
}

class TwoClerks : public BothEngines {
protected:
    void SetUp() override
    {
        BothEngines::SetUp();
        if (IsSkipped()) return;
        database().createSchema();
        conn().exec("insert into 员工基本情况 (员工编号, 姓名, 性别) values ('E01', '张三', '男'), ('E02', '李四', '女'), "
                    "('E03', '王五', '男')");
        secondConn_ = database().connectAgain();
        a_ = std::make_unique<DataSet>(&conn(), "rszl");
        b_ = std::make_unique<DataSet>(secondConn_.get(), "rszl");
        for (DataSet* ds : {a_.get(), b_.get()}) {
            ds->setSql(kEmployees);
            ds->open();
        }
    }
    void TearDown() override
    {
        a_.reset();
        b_.reset();
        secondConn_.reset();
        BothEngines::TearDown();
    }

    std::unique_ptr<Connection> secondConn_;
    std::unique_ptr<DataSet> a_, b_;  // clerk A on the fixture's connection, clerk B on the second
};

TEST_P(TwoClerks, SecondSaveOfTheSameEmployeeIsRefusedAndLosesNothing)
{
    rsgz::test::ScriptedInteraction box;
    b_->edit();
    b_->setValue("姓名", Value("李老四"));
    a_->edit();
    a_->setValue("姓名", Value("张三丰"));
    a_->setValue("性别", Value("女"));
    a_->post();

    EXPECT_FALSE(runAction([&] { b_->post(); }));
    ASSERT_EQ(box.errors.size(), 1u);
    EXPECT_EQ(box.errors[0], "员工基本情况：这条记录在读出后已被别处修改，为免覆盖那些修改，本次修改没有保存。请刷新列表后重新修改。");
    // B is still typing, with what was typed; the row holds all of A's change.
    EXPECT_EQ(b_->state(), DataSet::State::Edit);
    EXPECT_EQ(b_->asString("姓名"), "李老四");
    EXPECT_EQ(stored(*secondConn_, "E01"), "张三丰/女");
    // The refused save holds nothing open on B's connection (no transaction keeping A's work waiting).
    EXPECT_FALSE(secondConn_->inTransaction());

    // Once B has the row afresh, B's change goes in over A's.
    b_->cancel();
    ASSERT_TRUE(b_->reread());
    EXPECT_EQ(b_->asString("姓名"), "张三丰");
    b_->edit();
    b_->setValue("姓名", Value("李老四"));
    b_->post();
    EXPECT_EQ(stored(conn(), "E01"), "李老四/女");
}

TEST_P(TwoClerks, ListReadAfreshShowsTheOthersRowsAndStaysOnTheRowByKey)
{
    a_->next();  // on E02
    b_->append();
    b_->setValue("员工编号", Value("E00"));  // sorts first: the position of E02 moves on by one
    b_->setValue("姓名", Value("赵六"));
    b_->post();

    // The list as the program shows it again: read afresh on a server only.
    EXPECT_EQ(rsgz::app::rereadForOtherClerks(*a_), conn().isServer());
    ASSERT_TRUE(a_->reread());
    EXPECT_EQ(a_->recordCount(), 4);
    EXPECT_EQ(a_->asString("员工编号"), "E02");

    // A row gone meanwhile leaves the cursor at its position.
    ASSERT_TRUE(b_->locate("员工编号", Value("E03")));
    b_->remove();
    a_->last();
    ASSERT_TRUE(a_->reread());
    EXPECT_EQ(a_->recordCount(), 3);
    EXPECT_EQ(a_->asString("员工编号"), "E02");

    // What is being typed, and an order only the program made, are never read over.
    a_->edit();
    a_->setValue("姓名", Value("李四四"));
    EXPECT_FALSE(a_->reread());
    EXPECT_FALSE(rsgz::app::rereadForOtherClerks(*a_));
    EXPECT_EQ(a_->asString("姓名"), "李四四");
    a_->post();
    a_->keepRows({2, 0});
    EXPECT_FALSE(a_->reread());
    EXPECT_EQ(a_->recordCount(), 2);
}

RSGZ_ON_BOTH_ENGINES(TwoClerks);

// --- a server that restarts ------------------------------------------------------------------------

class ServerRestart : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (cluster_.missingPrograms()) GTEST_SKIP() << cluster_.failure();
        ASSERT_EQ(cluster_.failure(), "");
        createServerDatabase(cluster_.target(), "clerks");
        conn_ = std::make_unique<Connection>(cluster_.target("clerks"));
        conn_->execNative(createTableSql(*findTable("员工基本情况")));
        conn_->exec("insert into 员工基本情况 (员工编号, 姓名, 性别) values ('E01', '张三', '男')");
    }

    void restart()
    {
        ASSERT_TRUE(cluster_.stop()) << cluster_.failure();
        ASSERT_TRUE(cluster_.start()) << cluster_.failure();
    }

    int employees()
    {
        Statement st = conn_->prepareNative("select count(*) from 员工基本情况");
        return st.step() ? static_cast<int>(st.integer(0)) : -1;
    }

    // The failure of a statement, which must be a lost connection told in Chinese.
    static void expectLost(const std::function<void()>& statement)
    {
        try {
            statement();
            ADD_FAILURE() << "the statement went through";
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), DbError::Kind::Lost) << e.what();
            EXPECT_NE(std::string(e.what()).find("与数据库服务器的连接"), std::string::npos) << e.what();
        }
    }

    rsgz::test::PrivateCluster cluster_;
    std::unique_ptr<Connection> conn_;
};

TEST_F(ServerRestart, EditIsKeptAndSavedByTheNextAction)
{
    DataSet ds(conn_.get(), "rszl");
    ds.setSql(kEmployees);
    ds.open();
    ds.edit();
    ds.setValue("姓名", Value("张三丰"));
    restart();

    try {
        ds.post();
        ADD_FAILURE() << "saved over a connection that is gone";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::Lost);
        EXPECT_NE(std::string(e.what()).find("与数据库服务器的连接中断了"), std::string::npos) << e.what();
        EXPECT_FALSE(e.detail().empty()) << "the server's own words go with it";
    }
    EXPECT_EQ(ds.state(), DataSet::State::Edit);
    EXPECT_EQ(ds.asString("姓名"), "张三丰");

    // The next save connects afresh and goes in.
    ds.post();
    Connection other(cluster_.target("clerks"));
    EXPECT_EQ(stored(other, "E01"), "张三丰/男");
}

// A transaction or a work lock lives in the server's session: the rest of that work must fail,
// not go on one statement at a time in a new session, and the connection comes back once it ends.
TEST_F(ServerRestart, WorkBoundToTheSessionEndsWithIt)
{
    {
        Transaction tx(*conn_);
        conn_->exec("insert into 员工基本情况 (员工编号, 姓名) values ('E02', '李四')");
        restart();
        expectLost([&] { conn_->exec("insert into 员工基本情况 (员工编号, 姓名) values ('E03', '王五')"); });
        expectLost([&] { conn_->exec("insert into 员工基本情况 (员工编号, 姓名) values ('E04', '赵六')"); });
        expectLost([&] { tx.commit(); });
    }
    EXPECT_EQ(employees(), 1) << "nothing of the broken-off transaction is stored";

    {
        WorkLock lock = WorkLock::part(*conn_, "工资表/工资/2026/03", "三月", "张三");
        restart();
        expectLost([&] { employees(); });
        expectLost([&] { employees(); });
    }
    EXPECT_EQ(employees(), 1);
    // The month is free again: the lock went with the old session.
    Connection other(cluster_.target("clerks"));
    EXPECT_NO_THROW(WorkLock::part(other, "工资表/工资/2026/03", "三月", "李四"));
}

}  // namespace
