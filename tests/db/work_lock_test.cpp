// Two clerks asking for the same work: a month's salary table, the whole database.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "db/WorkLock.h"
#include "support/EngineFixture.h"

using rsgz::db::Connection;
using rsgz::db::LockRefused;
using rsgz::db::WorkLock;
using rsgz::test::BothEngines;

namespace {

const char* const kMarch = "工资表/工资/2026/03";
const char* const kMarchText = "帐套“工资”2026年03月的工资表";

class WorkLockTest : public BothEngines {
protected:
    // A clerk's own connection to the database under test, the operator's name given to the server.
    std::unique_ptr<Connection> clerk(const std::string& name)
    {
        auto c = database().connectAgain();
        if (c->isServer()) {
            rsgz::db::ServerTarget t = *c->server();
            t.applicationName = name;
            c->setServer(t);
        }
        return c;
    }

    // What the second clerk is told, or empty when the lock was given.
    static std::string refusal(const std::function<void()>& take)
    {
        try {
            take();
        } catch (const LockRefused& e) {
            EXPECT_EQ(e.kind(), rsgz::db::DbError::Kind::Busy);
            return e.what();
        }
        return {};
    }
};

TEST_P(WorkLockTest, SecondClerkIsRefusedWithTheHolderNamed)
{
    auto zhang = clerk("张三");
    auto li = clerk("李四");
    {
        WorkLock held = WorkLock::part(*zhang, kMarch, kMarchText, "张三");
        EXPECT_EQ(refusal([&] { WorkLock::part(*li, kMarch, kMarchText, "李四"); }),
                  "操作员“张三”正在处理帐套“工资”2026年03月的工资表，请稍后再试。");
        // Another month, and the holder asking again, are not in the way.
        EXPECT_EQ(refusal([&] { WorkLock::part(*li, "工资表/工资/2026/04", "四月", "李四"); }), "");
        EXPECT_EQ(refusal([&] { WorkLock::part(*zhang, kMarch, kMarchText, "张三"); }), "");
        // The whole database waits for the month, naming who works on it.
        EXPECT_EQ(refusal([&] { WorkLock::whole(*li, "数据初始化", "李四"); }),
                  "操作员“张三”正在使用数据库，现在不能进行数据初始化，请等其完成后再试。");
    }
    // Given back when it goes: the second clerk gets it now, and then holds the first off.
    WorkLock now = WorkLock::part(*li, kMarch, kMarchText, "李四");
    EXPECT_NE(refusal([&] { WorkLock::part(*zhang, kMarch, kMarchText, "张三"); }).find("“李四”"), std::string::npos);
}

TEST_P(WorkLockTest, WholeDatabaseHoldsEveryMonthOff)
{
    auto zhang = clerk("张三");
    auto li = clerk("李四");
    WorkLock whole = WorkLock::whole(*zhang, "数据恢复", "张三");
    EXPECT_EQ(refusal([&] { WorkLock::part(*li, kMarch, kMarchText, "李四"); }),
              "操作员“张三”正在维护整个数据库，现在不能处理帐套“工资”2026年03月的工资表，请稍后再试。");
    EXPECT_NE(refusal([&] { WorkLock::whole(*li, "数据初始化", "李四"); }), "");
    whole.release();
    EXPECT_EQ(refusal([&] { WorkLock::whole(*li, "数据初始化", "李四"); }), "");
}

TEST_P(WorkLockTest, ServerGivesTheLockBackWithTheSession)
{
    auto zhang = clerk("张三");
    auto li = clerk("李四");
    if (!zhang->isServer()) GTEST_SKIP() << "a file's locks live in the one program";
    WorkLock held = WorkLock::part(*zhang, kMarch, kMarchText, "张三");
    // A lock taken inside a transaction ends with it.
    {
        rsgz::db::Transaction tx(*li);
        WorkLock inside = WorkLock::part(*li, "工资表/工资/2026/05", "五月", "李四");
    }
    EXPECT_EQ(refusal([&] { WorkLock::part(*zhang, "工资表/工资/2026/05", "五月", "张三"); }), "");
    zhang->close();  // the session ends, as when the program or its network goes
    EXPECT_EQ(refusal([&] { WorkLock::part(*li, kMarch, kMarchText, "李四"); }), "");
}

RSGZ_ON_BOTH_ENGINES(WorkLockTest);

// The month lock between two programs: a clerk's program holds March and is killed without letting
// go; the other program is refused, named the holder, and gets the month once the server has seen
// the first one go.
TEST(WorkLockProcesses, HolderInAnotherProgram)
{
    if (!rsgz::test::testServer()) GTEST_SKIP() << "no test server: set RSGZ_TEST_PGHOST";
    rsgz::test::TemporaryDatabase db(rsgz::test::Engine::Server);
    rsgz::db::ServerTarget target = *db.conn().server();
    db.conn().close();
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(ready[0]);
        char ok = 'n';
        try {
            target.applicationName = "张三";
            Connection own(target);
            WorkLock held = WorkLock::part(own, kMarch, kMarchText, "张三");
            ok = 'y';
            (void)!write(ready[1], &ok, 1);
            pause();  // until killed
        } catch (...) {
        }
        (void)!write(ready[1], &ok, 1);
        _exit(1);
    }
    close(ready[1]);
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    close(ready[0]);
    ASSERT_EQ(ok, 'y');
    target.applicationName = "李四";
    Connection mine(target);
    try {
        WorkLock::part(mine, kMarch, kMarchText, "李四");
        ADD_FAILURE() << "the month was given while the other program held it";
    } catch (const LockRefused& e) {
        EXPECT_EQ(e.holders(), std::vector<std::string>{"张三"});
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    bool taken = false;
    for (int i = 0; i < 100 && !taken; ++i) {
        try {
            WorkLock::part(mine, kMarch, kMarchText, "李四");
            taken = true;
        } catch (const LockRefused&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    EXPECT_TRUE(taken) << "the server kept the lock of a program that is gone";
}

TEST(ApplicationName, OperatorNamesSurviveTheServersLetters)
{
    struct Case {
        std::string name, written;
    } cases[] = {
        {"admin", "admin"},
        {"张三", "%E5%BC%A0%E4%B8%89"},
        {"50% 李", "50%25 %E6%9D%8E"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rsgz::db::writeApplicationName(c.name), c.written) << c.name;
        EXPECT_EQ(rsgz::db::readApplicationName(c.written), c.name) << c.name;
    }
    // A name too long is cut at a whole character, never inside one or inside an escape.
    const std::string many = "欧阳" + std::string("上官司马诸葛长孙");
    const std::string written = rsgz::db::writeApplicationName(many);
    EXPECT_LE(written.size(), 63u);
    EXPECT_EQ(written.size() % 9, 0u);
    EXPECT_EQ(many.rfind(rsgz::db::readApplicationName(written), 0), 0u);
    // Text that is no escape reads as it stands.
    EXPECT_EQ(rsgz::db::readApplicationName("100%"), "100%");
    EXPECT_EQ(rsgz::db::readApplicationName("%zz"), "%zz");
}

}  // namespace
