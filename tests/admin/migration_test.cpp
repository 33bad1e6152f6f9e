#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include <memory>

#include "SampleData.h"
#include "admin/Migration.h"
#include "admin/RestoreCheck.h"
#include "app/PasswordHash.h"
#include "app/TDM.h"
#include "db/Connection.h"
#include "db/SchemaUpgrade.h"
#include "db/SqlText.h"
#include "db/TableCopy.h"
#include "support/EngineFixture.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"

namespace {

using namespace rsgz;
using admin::Migration;
using Direction = admin::Migration::Direction;

// The sample organisation, made once for the whole program: a few hundred employees with every
// kind of record and the payroll.
const std::string& sampleFile()
{
    static test::TempDir dir;
    static const std::string path = [] {
        const std::string p = dir.filePath("sample.db");
        app::createTemplateDatabase(p);
        db::Connection conn(p);
        sample::fillSampleData(conn, 300, 7);
        return p;
    }();
    return path;
}

std::map<std::string, db::TableDigest> digestsOf(db::Connection& conn)
{
    db::TableCopy reader(conn, conn);
    std::map<std::string, db::TableDigest> digests;
    for (const db::TableDef& t : reader.plan()) digests[t.name] = db::digestTable(conn, t.name, t.columns);
    return digests;
}

int64_t countIn(db::Connection& conn, const std::string& table)
{
    db::Statement st = conn.prepareNative("select count(*) from " + db::sqlIdent(table));
    return st.step() ? st.integer(0) : -1;
}

// A program directory whose live file is the sample, the default operator logged in.
class MigrationTest : public ::testing::Test {
protected:
    MigrationTest()
    {
        QFile::copy(QString::fromStdString(sampleFile()), QString::fromStdString(p.path("data/vesk.db")));
        p.logIn("admin");
    }

    // A fresh database on the test server; the test is skipped without one.
    db::ServerTarget freshServerDatabase()
    {
        server_ = std::make_unique<test::TemporaryDatabase>(test::Engine::Server);
        db::ServerTarget t = *test::testServer();
        t.database = server_->serverName();
        return t;
    }
    void SetUp() override
    {
        if (needsServer_ && !test::testServer()) GTEST_SKIP() << "no test server: set RSGZ_TEST_PGHOST to run the server half";
    }

    test::ProgramLayout p{{.liveDatabase = false}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction user;
    std::unique_ptr<test::TemporaryDatabase> server_;
    bool needsServer_ = true;
};

// The office moves to the server and takes a copy back: every table arrives with its rows, the
// checksums agree on both sides, the copy back holds exactly what the original file held and is a
// database of this program, and the server numbers new rows on after the copied keys.
TEST_F(MigrationTest, SampleGoesToTheServerAndBackUnchanged)
{
    const db::ServerTarget target = freshServerDatabase();
    Migration there(dm);
    ASSERT_EQ(there.direction, Direction::FileToServer);
    EXPECT_EQ(there.file, dm.livePath());
    there.server = target;
    ASSERT_TRUE(there.run()) << (user.messages.empty() ? "" : user.messages.back());
    EXPECT_NE(user.messages.back().find("每个表的行数和校验和都一致"), std::string::npos);
    EXPECT_FALSE(user.progressOpen);
    EXPECT_TRUE(user.overProgress.empty());

    db::Connection original(dm.livePath());
    const auto before = digestsOf(original);
    ASSERT_EQ(there.checks().size(), before.size());
    for (const db::TableCheck& c : there.checks()) {
        EXPECT_TRUE(c.matches()) << c.table;
        EXPECT_EQ(c.source, before.at(c.table)) << c.table;
    }
    EXPECT_EQ(before.at("员工基本情况").rows, 300);
    EXPECT_GT(there.copiedRows(), 3000);

    Migration back(dm);
    back.direction = Direction::ServerToFile;
    back.server = target;
    back.file = p.path("bak/带回.db");
    ASSERT_TRUE(back.run()) << user.messages.back();
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(back.file + ".part")));
    EXPECT_NO_THROW(admin::checkRestoreFile(back.file));
    db::Connection copy(back.file);
    EXPECT_EQ(digestsOf(copy), before);
    EXPECT_EQ(db::schemaVersionOf(copy), db::currentSchemaVersion());

    db::Connection onServer(target);
    EXPECT_EQ(db::schemaVersionOf(onServer), db::currentSchemaVersion());
    onServer.exec("insert into 员工基本情况 (员工编号, 姓名) values ('新员工1', '新员工')");
    db::Statement key = onServer.prepareNative("select max(" + db::sqlIdent(onServer.keyColumn("员工基本情况")) + ") from "
                                               + db::sqlIdent("员工基本情况"));
    ASSERT_TRUE(key.step());
    EXPECT_EQ(onServer.lastInsertRowId(), key.integer(0));
    EXPECT_EQ(countIn(onServer, "员工基本情况"), 301);
}

// A server database that already holds rows is refused before anything is written into it.
TEST_F(MigrationTest, TargetHoldingRowsIsRefusedAndLeftAsItWas)
{
    const db::ServerTarget target = freshServerDatabase();
    server_->createSchema();
    server_->conn().exec("insert into 员工基本情况 (员工编号, 姓名) values ('A01', '张三')");
    server_->conn().close();

    Migration m(dm);
    m.server = target;
    EXPECT_FALSE(m.run());
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].rfind("目标数据库不是空的：表“员工基本情况”中已有 1 行数据。", 0), 0u) << user.messages[0];
    EXPECT_TRUE(user.progressTexts.empty());
    EXPECT_TRUE(m.checks().empty());
    db::Connection onServer(target);
    EXPECT_EQ(countIn(onServer, "员工基本情况"), 1);
    EXPECT_EQ(countIn(onServer, "个人经历"), 0);
}

// The progress window breaks the copy off after a few tables (as a lost connection or a full
// disk would): whichever way it goes, the target is left as it was.
class FailingUser : public test::ScriptedInteraction {
public:
    void stepProgress(int done) override
    {
        ScriptedInteraction::stepProgress(done);
        if (done >= 5) throw db::DbError(db::DbError::Kind::Lost, "与数据库服务器的连接已经中断");
    }
};

TEST_F(MigrationTest, FailureMidwayLeavesTheTargetEmpty)
{
    const db::ServerTarget target = freshServerDatabase();
    {
        FailingUser failing;
        Migration m(dm);
        m.server = target;
        EXPECT_FALSE(m.run());
        ASSERT_FALSE(failing.messages.empty());
        EXPECT_EQ(failing.messages.back().rfind("迁移失败，目标数据库没有改动。", 0), 0u) << failing.messages.back();
        EXPECT_FALSE(failing.progressOpen);
        db::Connection onServer(target);
        EXPECT_TRUE(onServer.tableNames().empty());
    }
    {
        // For the way back the server database is filled by a copy that is not broken off.
        test::ScriptedInteraction quiet;
        Migration fill(dm);
        fill.server = target;
        ASSERT_TRUE(fill.run());
    }
    // On the way back: no file, and nothing half-written beside its name.
    FailingUser failing;
    Migration back(dm);
    back.direction = Direction::ServerToFile;
    back.server = target;
    back.file = p.path("带回.db");
    EXPECT_FALSE(back.run());
    EXPECT_EQ(failing.messages.back().rfind("迁移失败，目标数据库没有改动。", 0), 0u) << failing.messages.back();
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(back.file)));
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(back.file + ".part")));
}

// A value the server cannot take (a text longer than its column allows) fails the copy at that
// table; the tables copied before it are gone with the transaction.
TEST_F(MigrationTest, ValueTheServerRefusesLeavesTheTargetEmpty)
{
    const db::ServerTarget target = freshServerDatabase();
    {
        // The last table the sample fills that has a text column of a fixed width.
        db::Connection live(dm.livePath());
        const std::vector<db::TableDef> tables = db::TableCopy(live, live).plan();
        std::string table, column;
        int width = 0;
        for (auto t = tables.rbegin(); t != tables.rend() && table.empty(); ++t) {
            if (countIn(live, t->name) == 0) continue;
            for (const db::ColumnDef& c : t->columns)
                if (c.type == db::FieldType::Text && c.size > 0) {
                    table = t->name;
                    column = c.name;
                    width = c.size;
                    break;
                }
        }
        ASSERT_FALSE(table.empty());
        ASSERT_NE(table, tables.front().name);
        live.exec("update " + db::sqlIdent(table) + " set " + db::sqlIdent(column) + " = "
                  + db::sqlQuote(std::string(static_cast<size_t>(width) + 5, 'x')));
    }
    Migration m(dm);
    m.server = target;
    EXPECT_FALSE(m.run());
    EXPECT_EQ(user.messages.back().rfind("迁移失败，目标数据库没有改动。", 0), 0u) << user.messages.back();
    db::Connection onServer(target);
    EXPECT_TRUE(onServer.tableNames().empty());
}

// What stops the copy before it starts, with no server needed.
class MigrationRefusals : public MigrationTest {
protected:
    MigrationRefusals() { needsServer_ = false; }
};

TEST_F(MigrationRefusals, AreToldBeforeAnythingIsOpened)
{
    struct Case {
        const char* what;
        std::function<void(Migration&)> setUp;
        const char* notice;
    };
    const Case cases[] = {
        {"no right", [this](Migration&) {
             dm.DMADO.exec("insert into 权限 (姓名, 密码, 数据恢复) values ('li', " + db::sqlQuote(app::hashPassword("pw")) + ", 1)");
             p.logIn("li");
         }, "权限不足!不能迁移数据!"},
        {"no server", [](Migration& m) { m.server.host.clear(); }, "请填写数据库服务器的主机、数据库名称和用户名。"},
        {"missing file", [this](Migration& m) { m.file = p.path("data/没有.db"); }, "数据库文件“"},
        {"onto the live file", [this](Migration& m) {
             m.direction = Direction::ServerToFile;
             m.file = dm.livePath();
         }, "不能把数据写入正在使用的数据库文件，请另选一个文件名。"},
    };
    for (const Case& c : cases) {
        p.logIn("admin");
        user.clear();
        Migration m(dm);
        m.server.host = "127.0.0.1";
        m.server.user = "rsgz";
        c.setUp(m);
        EXPECT_FALSE(m.run()) << c.what;
        ASSERT_EQ(user.messages.size(), 1u) << c.what;
        EXPECT_EQ(user.messages[0].rfind(c.notice, 0), 0u) << c.what << ": " << user.messages[0];
        EXPECT_TRUE(user.progressTexts.empty()) << c.what;
    }
    EXPECT_EQ(QFileInfo(QString::fromStdString(dm.livePath())).size(), QFileInfo(QString::fromStdString(sampleFile())).size());
}

}  // namespace
