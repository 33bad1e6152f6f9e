#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "admin/Maintenance.h"
#include "app/PasswordHash.h"
#include "app/TDM.h"
#include "db/Connection.h"
#include "db/SqlText.h"
#include "support/EngineAccess.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "support/SmallDisk.h"

namespace {

using namespace rsgz;
using admin::Maintenance;

class MaintenanceTest : public ::testing::Test {
protected:
    MaintenanceTest()
    {
        p.logIn("admin");
        dm.now = [] { return QDateTime(QDate(2024, 3, 5), QTime(10, 30)); };
        maintenance.closeProgram = [this] { ++closed; };
    }

    void addEmployees(int from, int count)
    {
        db::Transaction tx(dm.DMADO);
        for (int i = from; i < from + count; ++i)
            dm.DMADO.exec("insert into 员工基本情况 (员工编号, 姓名) values (" + db::sqlQuote(std::to_string(i))
                          + ", '职工" + std::to_string(i) + "')");
        tx.commit();
    }
    int employees() { return p.count("员工基本情况"); }
    static int employeesIn(const std::string& path)
    {
        const test::ReadOnlyFile file(path);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(file.db, "select count(*) from 员工基本情况", -1, &st, nullptr);
        const int n = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int(st, 0) : -1;
        sqlite3_finalize(st);
        return n;
    }
    // An operator holding only the rights named.
    void logInWith(const std::vector<std::string>& rights)
    {
        std::string cols = "姓名, 密码", values = "'li', " + db::sqlQuote(app::hashPassword("pw"));
        for (const std::string& r : rights) {
            cols += ", " + r;
            values += ", 1";
        }
        dm.DMADO.exec("insert into 权限 (" + cols + ") values (" + values + ")");
        p.logIn("li");
    }
    std::string file(const std::string& relative) const { return p.path(relative); }

    test::ProgramLayout p{{.liveDatabase = true}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
    Maintenance maintenance{dm};
    int closed = 0;
};

// Each operation checks its right before it asks or shows anything.
TEST_F(MaintenanceTest, MissingRightsAreRefusedBeforeAnything)
{
    struct Case {
        std::vector<std::string> rights;
        void (Maintenance::*operation)();
        const char* notice;
    };
    const Case cases[] = {
        {{"数据恢复"}, &Maintenance::backup, "权限不足!不能备份数据!"},
        {{"数据备份"}, &Maintenance::restore, "无权限进行此项操作!"},
        {{"系统初始化"}, &Maintenance::initialize, "权限不足!不能初始化数据!"},
        {{"权限管理"}, &Maintenance::initialize, "权限不足!不能初始化数据!"},
    };
    for (const Case& c : cases) {
        dm.DMADO.exec("delete from 权限 where 姓名 = 'li'");
        logInWith(c.rights);
        ui.clear();
        (maintenance.*c.operation)();
        EXPECT_EQ(ui.messages, std::vector<std::string>{c.notice});
        EXPECT_TRUE(ui.questions.empty() && ui.fileFilters.empty() && ui.windows.empty());
    }
}

TEST_F(MaintenanceTest, BackupCopiesTheLiveDataAndAsksBeforeOverwriting)
{
    addEmployees(1, 3);
    ui.fileNames = {file("bak/mine")};
    maintenance.backup();
    EXPECT_EQ(ui.messages, std::vector<std::string>{"备份成功！"});
    EXPECT_EQ(ui.fileFilters, std::vector<std::string>{"数据库文件 (*.db)"});
    ASSERT_TRUE(QFile::exists(QString::fromStdString(file("bak/mine.db"))));
    EXPECT_EQ(db::quickCheckFile(file("bak/mine.db")), "");

    // The name typed without its suffix names an existing file the dialog never saw: asked once,
    // and 否 copies nothing and says nothing.
    addEmployees(10, 2);
    ui.clear();
    ui.fileNames = {file("bak/mine")};
    ui.answer(false);
    maintenance.backup();
    EXPECT_EQ(ui.questions, std::vector<std::string>{"文件已经存在，要覆盖吗?"});
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(employeesIn(file("bak/mine.db")), 3);

    // The dialog has asked about the existing file it returns: the program does not ask again.
    ui.clear();
    ui.fileNames = {file("bak/mine.db")};
    maintenance.backup();
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(ui.messages, std::vector<std::string>{"备份成功！"});
    EXPECT_EQ(employeesIn(file("bak/mine.db")), 5);

    // A read-only file is not replaced, even though a rename could.
    QFile::setPermissions(QString::fromStdString(file("bak/mine.db")), QFileDevice::ReadOwner);
    ui.clear();
    ui.fileNames = {file("bak/mine.db")};
    maintenance.backup();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind("备份失败！", 0), 0u) << ui.messages[0];
}

// A backup onto a full disk says so in words, naming the file, and leaves nothing behind. The full
// disk is a small memory file system, which only an administrator may mount.
TEST_F(MaintenanceTest, ABackupOntoAFullDiskSaysSoNamingTheFile)
{
    addEmployees(1, 200);
    const test::SmallDisk small(file("bak/小盘"));
    if (!small.mounted()) GTEST_SKIP() << "cannot mount a small disk here";
    const std::string& disk = small.path();
    const std::string target = disk + "/mine.db";
    ui.fileNames = {target};
    maintenance.backup();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind("备份失败！\r磁盘空间不足，不能写入文件“" + target + "”。\r数据库引擎的说明：", 0), 0u)
        << ui.messages[0];
    EXPECT_TRUE(QDir(QString::fromStdString(disk)).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(employees(), 200);
}

// A stale log beside the live file must not be played into the restored database.
TEST_F(MaintenanceTest, RestoreReplacesTheLiveFileIgnoringAStaleLog)
{
    addEmployees(1, 5);
    dm.DMADO.backupTo(file("bak/good.db"));

    // The live database's last writes still in its log when the program was killed: the log
    // stays beside the file, and the engine would play it into whatever file has that name next.
    dm.DMADO.close();
    QByteArray log;
    {
        sqlite3* raw = nullptr;
        sqlite3_open(file("data/vesk.db").c_str(), &raw);
        sqlite3_exec(raw, "PRAGMA wal_autocheckpoint=0; create table 多余 (x);", nullptr, nullptr, nullptr);
        for (int i = 100; i < 107; ++i)
            sqlite3_exec(raw, ("insert into 员工基本情况 (员工编号) values ('" + std::to_string(i) + "')").c_str(),
                         nullptr, nullptr, nullptr);
        QFile wal(QString::fromStdString(file("data/vesk.db-wal")));
        ASSERT_TRUE(wal.open(QIODevice::ReadOnly));
        log = wal.readAll();
        sqlite3_close(raw);
    }
    QFile wal(QString::fromStdString(file("data/vesk.db-wal")));
    ASSERT_TRUE(wal.open(QIODevice::WriteOnly));
    wal.write(log);
    wal.close();

    ui.answer(true);
    ui.fileNames = {file("bak/good.db")};
    maintenance.restore();
    EXPECT_EQ(ui.messages, std::vector<std::string>{"软件将关闭,请重新运行软件!"});
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(dm.DMADO.quickCheck(), "");
    EXPECT_EQ(employees(), 5);
    EXPECT_EQ(p.count("sqlite_master where name = '多余'"), 0);
    EXPECT_TRUE(dm.zh.active() && !dm.zh.isEmpty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(file("data/vesk.db.restore"))));

    // The data that was replaced is kept in bak.
    const std::string safety = maintenance.safetyCopyPath();
    ASSERT_TRUE(QFile::exists(QString::fromStdString(safety))) << safety;
    EXPECT_EQ(db::quickCheckFile(safety), "");
    EXPECT_EQ(employeesIn(safety), 12);
}

TEST_F(MaintenanceTest, ARefusedRestoreKeepsTheLiveDataAndTheProgramRunning)
{
    addEmployees(1, 4);
    QFile junk(QString::fromStdString(file("bak/junk.db")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(8192, 'x'));
    junk.close();
    sqlite3* raw = nullptr;
    sqlite3_open(file("bak/other.db").c_str(), &raw);
    sqlite3_exec(raw, "create table 别的 (x)", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    struct Case {
        std::string chosen, reason;
    };
    const Case cases[] = {
        {file("bak/junk.db"), "bak/junk.db 不是数据库文件。"},
        {file("bak/other.db"), "bak/other.db 不是本系统的数据库"},
        {file("bak/none.db"), "无法打开文件"},
        {file("data/vesk.db"), "正在使用"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        ui.clear();
        ui.answer(true);
        ui.fileNames = {c.chosen};
        maintenance.restore();
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].rfind("恢复失败", 0), 0u) << ui.messages[0];
        EXPECT_NE(ui.messages[0].find(c.reason), std::string::npos) << ui.messages[0];
        EXPECT_EQ(closed, 0);
        EXPECT_EQ(employees(), 4);
    }
    addEmployees(10, 1);  // the connection works on
    EXPECT_EQ(employees(), 5);

    // 否 at the question: not even the file dialog.
    ui.clear();
    ui.answer(false);
    maintenance.restore();
    EXPECT_TRUE(ui.fileFilters.empty() && ui.messages.empty());
}

// What a restore says, split at its line breaks.
std::vector<std::string> linesOf(const std::string& message)
{
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t at; (at = message.find('\r', from)) != std::string::npos; from = at + 1)
        lines.push_back(message.substr(from, at - from));
    lines.push_back(message.substr(from));
    return lines;
}

// A damaged file is named as such in Chinese; the engine's own words follow on a line of their own.
TEST_F(MaintenanceTest, ADamagedFileIsRefusedInWordsWithTheEngineTextBelow)
{
    addEmployees(1, 400);
    const std::string damaged = file("bak/damaged.db");
    dm.DMADO.backupTo(damaged);
    QFile f(QString::fromStdString(damaged));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_GT(f.size(), 8 * 4096);
    f.seek(2 * 4096);  // the first page, which holds the schema, stays readable
    f.write(QByteArray(static_cast<int>(f.size()) - 2 * 4096, '\x5a'));
    f.close();

    ui.answer(true);
    ui.fileNames = {damaged};
    maintenance.restore();
    ASSERT_EQ(ui.messages.size(), 1u);
    const std::vector<std::string> lines = linesOf(ui.messages[0]);
    ASSERT_EQ(lines.size(), 4u) << ui.messages[0];
    EXPECT_EQ(lines[0], "恢复失败");
    EXPECT_EQ(lines[1], "文件 " + damaged + " 已经损坏。");
    EXPECT_EQ(lines[2], "现在的数据没有改动。");
    EXPECT_EQ(lines[3].rfind("数据库引擎的说明：", 0), 0u) << lines[3];
    EXPECT_EQ(closed, 0);
    EXPECT_EQ(employees(), 400);
}

// The restored file becomes the live database as it is: nothing the program does not create itself
// may come with it, and the notice names what differs.
TEST_F(MaintenanceTest, RestoreRefusesAFileThatIsNotExactlyTheProgramsSchema)
{
    addEmployees(1, 3);
    struct Case {
        const char* name;
        const char* change;
        const char* says;
    };
    const Case cases[] = {
        {"trigger", "create trigger 提权 after update on 工资表 begin update 权限 set 权限管理 = 1; end",
         "多出的触发器：提权"},
        {"view", "create view 工资一览 as select * from 工资表", "多出的视图：工资一览"},
        {"index", "create index 按姓名 on 员工基本情况 (姓名)", "多出的索引：按姓名"},
        {"table", "create table 别的 (x)", "多出的表：别的"},
        {"columns", "drop table 帐套; create table 帐套 (编号 INTEGER PRIMARY KEY AUTOINCREMENT, 帐套名称 text, 备用 text)",
         "表“帐套”：缺少列 帐套编号；多出列 备用；列 帐套名称 的类型或约束不同"},
        {"order", "drop table 帐套; create table 帐套 (帐套编号 VARCHAR(20) COLLATE NOCASE, 编号 INTEGER PRIMARY KEY "
                  "AUTOINCREMENT, 帐套名称 VARCHAR(50) COLLATE NOCASE)",
         "表“帐套”：列的顺序不同"},
        {"check", "drop table 帐套; create table 帐套 (编号 INTEGER PRIMARY KEY AUTOINCREMENT, 帐套编号 VARCHAR(20) "
                  "COLLATE NOCASE, 帐套名称 VARCHAR(50) COLLATE NOCASE, check (帐套编号 <> ''))",
         "表“帐套”：定义与本系统的不同"},
        {"redefinedIndex", "drop index 员工基本情况_员工编号; create index 员工基本情况_员工编号 on 员工基本情况 (姓名)",
         "索引“员工基本情况_员工编号”的定义与本系统的不同"},
        {"missing", "drop table 个人经历; drop table 社会关系; drop table 证照列表; drop table 调动记录; "
                    "drop table 职称评定; drop table 奖惩情况; drop table 工资晋升",
         "缺少表：个人经历、社会关系、证照列表、调动记录、职称评定 等 7 个"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = file(std::string("bak/") + c.name + ".db");
        dm.DMADO.backupTo(path);
        sqlite3* raw = nullptr;
        sqlite3_open(path.c_str(), &raw);
        char* err = nullptr;
        EXPECT_EQ(sqlite3_exec(raw, c.change, nullptr, nullptr, &err), SQLITE_OK) << (err ? err : "");
        sqlite3_free(err);
        sqlite3_close(raw);

        ui.clear();
        ui.answer(true);
        ui.fileNames = {path};
        maintenance.restore();
        ASSERT_EQ(ui.messages.size(), 1u);
        const std::vector<std::string> lines = linesOf(ui.messages[0]);
        ASSERT_EQ(lines.size(), 4u) << ui.messages[0];
        EXPECT_EQ(lines[1], "文件 " + path + " 与本系统的数据库不同：");
        EXPECT_EQ(lines[2], c.says);
        EXPECT_EQ(lines[3], "现在的数据没有改动。");
        EXPECT_EQ(closed, 0);
    }
    EXPECT_EQ(p.count("sqlite_master where type in ('trigger', 'view')"), 0);
    EXPECT_EQ(employees(), 3);
}

// A file from before the program made its link indexes and run-time tables is still one of its
// databases: the start brings it up to date.
TEST_F(MaintenanceTest, RestoreTakesAFileLackingWhatTheStartAdds)
{
    addEmployees(1, 3);
    const std::string older = file("bak/older.db");
    dm.DMADO.backupTo(older);
    sqlite3* raw = nullptr;
    sqlite3_open(older.c_str(), &raw);
    EXPECT_EQ(sqlite3_exec(raw, "drop table 公司数据; drop index 员工基本情况_员工编号; drop index 个人经历_员工编号1",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);
    ui.answer(true);
    ui.fileNames = {older};
    maintenance.restore();
    EXPECT_EQ(ui.messages, std::vector<std::string>{"软件将关闭,请重新运行软件!"});
    EXPECT_EQ(closed, 1);
}

TEST_F(MaintenanceTest, CompactionTwiceKeepsTheDataAndLeavesNoNewFile)
{
    addEmployees(1, 300);
    dm.DMADO.exec("delete from 员工基本情况 where 员工编号 > '100'");
    dm.rszl.open();
    for (int round = 0; round < 2; ++round) {
        ui.clear();
        maintenance.compact();
        EXPECT_EQ(ui.messages, std::vector<std::string>{"操作成功"});
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(maintenance.compactPath())));
    EXPECT_FALSE(dm.rszl.active());
    EXPECT_TRUE(dm.zh.active());
    EXPECT_EQ(dm.DMADO.quickCheck(), "");
    EXPECT_EQ(employees(), p.count("员工基本情况 where 员工编号 <= '100'"));
    EXPECT_GT(employees(), 0);
}

TEST_F(MaintenanceTest, InitializationNeedsThePasswordAndEmptiesOnlyBusinessTables)
{
    addEmployees(1, 3);
    dm.DMADO.exec("insert into 所得税设置 (起始额, 结束额, 税率, 速扣) values (0, 3000, 3, 0)");
    dm.DMADO.exec("insert into 公司数据 (单位名称) values ('宏达机械厂')");
    dm.DMADO.exec("insert into 工资表 (姓名) values ('陈静')");

    // Cancelled confirmation, then a wrong password: nothing asked, nothing deleted.
    for (const std::string typed : {"", "wrong"}) {
        ui.clear();
        ui.onWindow("初始化将删除所有数据", [&] { dm.ConfirmPassword = typed; });
        dm.ConfirmPassword = "admin";  // the window starts from nothing, whatever was typed before
        maintenance.initialize();
        EXPECT_EQ(ui.messages, std::vector<std::string>{"密码错误！"});
        EXPECT_TRUE(ui.questions.empty());
    }
    EXPECT_EQ(employees(), 3);

    ui.clear();
    ui.onWindow("初始化将删除所有数据", [&] { dm.ConfirmPassword = "admin"; });
    ui.answer(true);
    maintenance.initialize();
    EXPECT_EQ(ui.questions, std::vector<std::string>{"此操作将删除所有数据,继续吗?"});
    EXPECT_EQ(ui.messages, std::vector<std::string>{"初始化成功!"});
    EXPECT_EQ(employees(), 0);
    EXPECT_EQ(p.count("工资表"), 0);
    EXPECT_EQ(p.count("权限"), 1);
    EXPECT_EQ(p.count("公司数据"), 1);
    EXPECT_EQ(p.count("所得税设置"), 1);
}

// A table that cannot be emptied leaves every table as it was.
TEST_F(MaintenanceTest, InitializationIsAllOrNothing)
{
    addEmployees(1, 3);
    dm.DMADO.exec("drop table 工序库");
    ui.onWindow("初始化将删除所有数据", [&] { dm.ConfirmPassword = "admin"; });
    ui.answer(true);
    maintenance.initialize();
    EXPECT_EQ(ui.errors.size(), 1u);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(employees(), 3);
}

}  // namespace
