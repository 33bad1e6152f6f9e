// Backup, restore, compaction, initialization and the daily close-time copy on a database server,
// driven through the maintenance class and the main-window frame as the program uses them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <map>

#include "admin/Maintenance.h"
#include "app/TDM.h"
#include "db/Connection.h"
#include "db/ServerDump.h"
#include "db/SqlText.h"
#include "db/WorkLock.h"
#include "support/EngineFixture.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

namespace {

using namespace rsgz;
using admin::Maintenance;

// The tables whose rows the tests put in and count.
const char* const kCounted[] = {"员工基本情况", "个人经历", "工资表", "权限"};

// One clerk: a program directory of their own whose data module works on the shared database.
struct Clerk {
    Clerk(const db::ServerTarget& target, const std::string& name) : name(name)
    {
        db::ServerTarget t = target;
        t.applicationName = name;
        dm.DMADO.setServer(t);
        dm.now = [this] { return now; };
    }
    std::string name;
    test::ProgramLayout p{{.withTemplate = false}};
    app::TDM& dm = p.dm();
    QDateTime now{QDate(2024, 3, 5), QTime(17, 30)};
};

class ServerMaintenanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::testServer()) GTEST_SKIP() << "no test server: set RSGZ_TEST_PGHOST (and RSGZ_TEST_PGPORT, RSGZ_TEST_PGUSER)";
        db_ = std::make_unique<test::TemporaryDatabase>(test::Engine::Server);
        db_->createSchema();
        target_ = *db_->connectAgain()->server();
        clerk_ = std::make_unique<Clerk>(target_, "张会计");
        addOperator("张会计");
        clerk_->p.logIn("张会计");
        maintenance_ = std::make_unique<Maintenance>(dm());
        maintenance_->closeProgram = [this] { ++closed_; };
    }
    void TearDown() override
    {
        maintenance_.reset();
        clerk_.reset();
        db_.reset();
    }

    app::TDM& dm() { return clerk_->dm; }
    db::Connection& conn() { return db_->conn(); }
    std::string file(const std::string& relative) const { return clerk_->p.path(relative); }

    // An operator with every maintenance right.
    void addOperator(const std::string& name)
    {
        db::Statement st = conn().prepareNative("insert into 权限 (姓名, 数据备份, 数据恢复, 系统初始化, 权限管理) values (?, ?, ?, ?, ?)");
        st.bind(1, name);
        for (int i = 2; i <= 5; ++i) st.bind(i, "1");
        st.run();
    }
    void addEmployees(int from, int count)
    {
        db::Transaction tx(conn());
        for (int i = from; i < from + count; ++i) {
            const std::string no = db::sqlQuote("E" + std::to_string(i));
            conn().exec("insert into 员工基本情况 (员工编号, 姓名) values (" + no + ", '职工" + std::to_string(i) + "')");
            conn().exec("insert into 个人经历 (员工编号1) values (" + no + ")");
            conn().exec("insert into 工资表 (员工编号, 工资帐套, 年, 月) values (" + no + ", '工资', '2024', '3')");
        }
        tx.commit();
    }
    int count(const std::string& table)
    {
        db::Statement st = conn().prepareNative("select count(*) from " + db::sqlIdent(table));
        return st.step() ? static_cast<int>(st.integer(0)) : -1;
    }
    std::map<std::string, int> counts()
    {
        std::map<std::string, int> c;
        for (const char* t : kCounted) c[t] = count(t);
        return c;
    }
    // The database's rows as an archive, taken by the tools directly.
    std::string archive(const std::string& name)
    {
        const std::string path = file("bak/" + name);
        db::ServerDump(target_).dump(path, 0);
        return path;
    }
    void restoreFrom(const std::string& path)
    {
        ui.answer(true);
        ui.fileNames.push_back(path);
        maintenance_->restore();
    }

    test::ScriptedInteraction ui;
    std::unique_ptr<test::TemporaryDatabase> db_;
    db::ServerTarget target_;
    std::unique_ptr<Clerk> clerk_;
    std::unique_ptr<Maintenance> maintenance_;
    int closed_ = 0;
};

// The backup writes the server's archive where the operator says; a restore of it brings back
// every row as it was, and new rows get keys of their own afterwards.
TEST_F(ServerMaintenanceTest, BackupThenRestoreGivesBackTheRows)
{
    addEmployees(1, 30);
    ui.fileNames.push_back(file("月底"));  // typed without a suffix
    maintenance_->backup();
    ASSERT_EQ(ui.messages, std::vector<std::string>{"备份成功！"});
    EXPECT_EQ(ui.fileFilters.back(), "数据库备份文件 (*.dump)");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(file("月底.dump"))));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(file("月底.dump.part"))));
    EXPECT_FALSE(ui.progressOpen);
    EXPECT_FALSE(ui.progressSteps.empty());
    const std::map<std::string, int> atBackup = counts();

    conn().exec("delete from 员工基本情况 where 员工编号 < 'E2'");
    conn().exec("delete from 工资表");
    addEmployees(100, 5);
    addOperator("李出纳");
    ASSERT_NE(counts(), atBackup);

    ui.clear();
    restoreFrom(file("月底.dump"));
    ASSERT_EQ(ui.messages, std::vector<std::string>{"软件将关闭,请重新运行软件!"});
    EXPECT_EQ(closed_, 1);
    EXPECT_EQ(counts(), atBackup);
    EXPECT_TRUE(ui.overProgress.empty());
    EXPECT_TRUE(QFile::exists(QString::fromStdString(file("bak/恢复前-20240305-173000.dump"))));
    // The key counters came back with the rows: a new row does not collide with a restored one.
    addEmployees(200, 1);
    EXPECT_EQ(count("员工基本情况"), atBackup.at("员工基本情况") + 1);
}

// A file that is no archive, a damaged one and an archive of another database are refused before
// anything changes, with the reason in words.
TEST_F(ServerMaintenanceTest, ForeignOrDamagedArchiveIsRefusedAndChangesNothing)
{
    addEmployees(1, 40);
    const std::string good = archive("good.dump");
    QFile in(QString::fromStdString(good));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();

    auto write = [&](const std::string& name, const QByteArray& data) {
        QFile out(QString::fromStdString(file(name)));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(data);
        return file(name);
    };
    test::TemporaryDatabase other(test::Engine::Server);
    other.conn().exec("create table 客户 (编号 integer, 名称 text(20))");
    other.conn().exec("insert into 客户 (编号, 名称) values (1, '某公司')");
    db::ServerTarget otherTarget = *other.connectAgain()->server();
    const std::string foreign = file("foreign.dump");
    db::ServerDump(otherTarget).dump(foreign, 0);
    // The program's tables, one of them with a column the live one lacks: its rows fail to load
    // after the others have been emptied and loaded, which the one transaction undoes.
    test::TemporaryDatabase reshaped(test::Engine::Server);
    reshaped.createSchema();
    reshaped.conn().exec("alter table 工资表 add column 加班 integer");
    reshaped.conn().exec("insert into 员工基本情况 (员工编号, 姓名) values ('X1', '外人')");
    reshaped.conn().exec("insert into 工资表 (员工编号, 加班) values ('X1', 3)");
    const std::string shaped = file("reshaped.dump");
    db::ServerDump(*reshaped.connectAgain()->server()).dump(shaped, 0);

    struct Case {
        const char* what;
        std::string path;
        const char* said;
    };
    const Case cases[] = {
        {"not an archive", write("text.dump", "这不是备份文件\n"), "不是数据库服务器的备份文件"},
        {"cut off halfway", write("half.dump", bytes.left(bytes.size() / 2)), "已经损坏"},
        {"another database", foreign, "不是本系统的数据库备份"},
        {"a table of another shape", shaped, "加班"},
    };
    conn().exec("delete from 工资表 where 员工编号 = 'E1'");
    const std::map<std::string, int> before = counts();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui.clear();
        restoreFrom(c.path);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_TRUE(ui.messages[0].starts_with("恢复失败")) << ui.messages[0];
        EXPECT_NE(ui.messages[0].find(c.said), std::string::npos) << ui.messages[0];
        EXPECT_NE(ui.messages[0].find("现在的数据没有改动"), std::string::npos);
        EXPECT_EQ(counts(), before);
        EXPECT_FALSE(ui.progressOpen);
    }
    EXPECT_EQ(closed_, 0);
}

// While another clerk works on a month, the restore and the initialization are refused, naming
// them, and nothing changes.
TEST_F(ServerMaintenanceTest, RestoreAndInitializationWaitForTheOtherClerk)
{
    addEmployees(1, 3);
    const std::string good = archive("good.dump");
    db::ServerTarget li = target_;
    li.applicationName = "李出纳";
    db::Connection other(li);
    db::WorkLock month = db::WorkLock::part(other, "工资表/工资/2024/3", "帐套“工资”2024年03月的工资表", "李出纳");
    conn().exec("delete from 工资表");

    restoreFrom(good);
    ui.onWindow("初始化将删除所有数据", [&] { dm().ConfirmPassword = target_.password; });
    ui.answer(true);
    maintenance_->initialize();
    ASSERT_EQ(ui.messages.size(), 2u);
    for (const std::string& m : ui.messages) EXPECT_NE(m.find("李出纳"), std::string::npos) << m;
    EXPECT_EQ(count("工资表"), 0);
    EXPECT_EQ(count("员工基本情况"), 3);
    EXPECT_EQ(closed_, 0);
}

// The initialization empties exactly the business tables, in one transaction; operators and
// settings stay. On a server the confirmation is the password the operator logged in with.
TEST_F(ServerMaintenanceTest, InitializationEmptiesExactlyTheClearedTables)
{
    addEmployees(1, 2);
    std::vector<std::string> tables = conn().tableNames();
    for (const std::string& t : tables) conn().exec("insert into " + db::sqlIdent(t) + " default values");
    std::map<std::string, int> before;
    for (const std::string& t : tables) before[t] = count(t);

    ui.onWindow("初始化将删除所有数据", [&] { dm().ConfirmPassword = target_.password + "x"; });
    maintenance_->initialize();
    ASSERT_EQ(ui.messages, std::vector<std::string>{"密码错误！"});

    ui.clear();
    ui.onWindow("初始化将删除所有数据", [&] { dm().ConfirmPassword = target_.password; });
    ui.answer(true);
    maintenance_->initialize();
    ASSERT_EQ(ui.messages, std::vector<std::string>{"初始化成功!"});
    const std::vector<std::string>& cleared = Maintenance::clearedTables();
    for (const std::string& t : tables) {
        const bool emptied = std::find(cleared.begin(), cleared.end(), t) != cleared.end();
        EXPECT_EQ(count(t), emptied ? 0 : before[t]) << t;
    }
}

// The compaction is the server's own: it runs and reads the statistics afresh.
TEST_F(ServerMaintenanceTest, CompactionAnalyzesTheTables)
{
    addEmployees(1, 5);
    maintenance_->compact();
    ASSERT_EQ(ui.messages, std::vector<std::string>{"操作成功"});
    db::Statement st = conn().prepareNative("select count(*) from pg_stat_user_tables where relname = ? and last_analyze is not null");
    st.bind(1, "员工基本情况");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.integer(0), 1);
}

// Without the tools, or when the server refuses the user, the backup says so and leaves no file.
TEST_F(ServerMaintenanceTest, BackupFailuresAreSaidAndLeaveNoFile)
{
    // A wrong password on the server's own way in; a socket that lets anyone in without one is
    // passed by for the same server over the loopback.
    db::ServerTarget refused = target_;
    refused.password = "not the password";
    try {
        db::Connection probe(refused);
        probe.open();
        refused.host = "127.0.0.1";
    } catch (const db::DbError&) {
    }
    const std::string path = file("bak/x.dump");
    struct Case {
        const char* what;
        db::ServerTarget target;
        std::string folder;
        const char* said;
        db::DbError::Kind kind;
    };
    const Case cases[] = {
        {"no tools", target_, file("set"), "postgresql-client", db::DbError::Kind::Other},
        {"wrong password", refused, "", "服务器拒绝", db::DbError::Kind::Denied},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        db::ServerDump tools(c.target);
        tools.toolFolder = c.folder;
        try {
            tools.dump(path, 1);
            ADD_FAILURE() << "no error";
        } catch (const db::DbError& e) {
            EXPECT_NE(std::string(e.what()).find(c.said), std::string::npos) << e.what();
            EXPECT_EQ(e.kind(), c.kind);
        }
        EXPECT_TRUE(QDir(QString::fromStdString(file("bak"))).isEmpty());
    }
    // Through the program: the notice starts as the file backup's does.
    QFile readOnly(QString::fromStdString(file("bak/ro.dump")));
    ASSERT_TRUE(readOnly.open(QIODevice::WriteOnly));
    readOnly.close();
    readOnly.setPermissions(QFileDevice::ReadOwner);
    ui.fileNames.push_back(file("bak/ro.dump"));
    maintenance_->backup();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].starts_with("备份失败！")) << ui.messages[0];
}

// The first clerk to close on a day takes the day's archive; another clerk closing the same day
// leaves it, told by the status bar; the next day's first close takes a new one.
TEST_F(ServerMaintenanceTest, DailyCopyIsTakenOncePerDay)
{
    addEmployees(1, 3);
    Clerk li(target_, "李出纳");
    addOperator("李出纳");
    li.p.logIn("李出纳");
    std::string liStatus;
    li.dm.onStatusText = [&](const std::string& t) { liStatus = t; };

    std::string zhangStatus;
    dm().onStatusText = [&](const std::string& t) { zhangStatus = t; };

    // While the other clerk restores the database, no copy is taken and the note says who.
    {
        db::WorkLock restoring = db::WorkLock::whole(li.dm.DMADO, "数据恢复", "李出纳");
        clerk_->p.frame().BeiFen_data();
        EXPECT_TRUE(QDir(QString::fromStdString(file("bak"))).isEmpty());
        EXPECT_NE(zhangStatus.find("李出纳"), std::string::npos) << zhangStatus;
    }
    clerk_->p.frame().BeiFen_data();
    EXPECT_TRUE(QFile::exists(QString::fromStdString(file("bak/20240305.dump"))));
    li.p.frame().BeiFen_data();
    EXPECT_TRUE(QDir(QString::fromStdString(li.p.path("bak"))).isEmpty());
    EXPECT_NE(liStatus.find("张会计"), std::string::npos) << liStatus;

    li.now = li.now.addDays(1);
    liStatus.clear();
    li.p.frame().BeiFen_data();
    EXPECT_TRUE(QFile::exists(QString::fromStdString(li.p.path("bak/20240306.dump"))));
    EXPECT_EQ(liStatus, "");
    EXPECT_EQ(count("每日备份"), 2);
}

}  // namespace
