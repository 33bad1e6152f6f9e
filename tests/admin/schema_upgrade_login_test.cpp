#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <filesystem>

#include "admin/LoginForm.h"
#include "admin/Maintenance.h"
#include "db/Connection.h"
#include "db/SchemaCheck.h"
#include "db/SchemaUpgrade.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

using namespace rsgz;

namespace {

const std::string kFirstVersionFile = std::string(RSGZ_TEST_DATA) + "/vesk-v1.db";

int versionOf(const std::string& path)
{
    db::Connection conn(path);
    return db::schemaVersionOf(conn);
}

QStringList upgradeCopies(const test::ProgramLayout& p)
{
    return QDir(QString::fromStdString(p.path("bak"))).entryList({QStringLiteral("升级前-v*.db")}, QDir::Files);
}

class UpgradeAtLogin : public ::testing::Test {
protected:
    void putLive(const std::string& source)
    {
        std::filesystem::copy_file(source, p.dm().livePath(), std::filesystem::copy_options::overwrite_existing);
    }
    bool logIn()
    {
        admin::LoginForm f(p.frame());
        f.login();  // the default operator, as the window fills it in
        return f.closed && !p.frame().LoginFailed;
    }

    test::ProgramLayout p;
    test::ScriptedInteraction ui;
};

}  // namespace

// The previous version's database: copied whole into bak/ first, then brought up to the newest
// schema, and the operator told both.
TEST_F(UpgradeAtLogin, AnOlderFileIsCopiedIntoBakThenUpgradedInPlace)
{
    putLive(kFirstVersionFile);
    p.dm().now = [] { return QDateTime(QDate(2026, 12, 10), QTime(9, 30, 5)); };
    ASSERT_TRUE(logIn());
    const std::string copy = p.path("bak/升级前-v1-20261210-093005.db");
    ASSERT_EQ(upgradeCopies(p), QStringList{QStringLiteral("升级前-v1-20261210-093005.db")});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "数据库已从第1版升级到第" + std::to_string(db::currentSchemaVersion())
                                  + "版。\r升级前的数据库已备份到 " + copy + "。");
    EXPECT_EQ(versionOf(copy), 1);
    EXPECT_TRUE(db::compareWithSchema(copy).empty());
    EXPECT_EQ(p.count("员工基本情况"), 5);
    p.dm().DMADO.close();
    EXPECT_EQ(versionOf(p.dm().livePath()), db::currentSchemaVersion());
    const db::SchemaDifferences d = db::compareWithSchema(p.dm().livePath());
    EXPECT_TRUE(d.empty());

    // The next login finds nothing to do.
    ui.clear();
    ASSERT_TRUE(logIn());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(upgradeCopies(p).size(), 1);
}

TEST_F(UpgradeAtLogin, AFileOfANewerProgramIsNotWorkedOn)
{
    p.makeLiveDatabase();
    {
        db::Connection conn(p.dm().livePath());
        db::setSchemaVersion(conn, db::currentSchemaVersion() + 1);
    }
    EXPECT_FALSE(logIn());
    EXPECT_TRUE(p.frame().LoginFailed);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("由更新版本的程序建立"), std::string::npos) << ui.errors[0];
    EXPECT_TRUE(upgradeCopies(p).isEmpty());
}

// Without the copy there is no upgrade: the file stays the previous version's, and the program
// does not work on it.
TEST_F(UpgradeAtLogin, NoCopyNoUpgrade)
{
    putLive(kFirstVersionFile);
    std::filesystem::remove_all(p.path("bak"));
    QFile blocker(QString::fromStdString(p.path("bak")));  // a file where the folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(logIn());
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("升级前的备份不能写入"), std::string::npos) << ui.errors[0];
    p.dm().DMADO.close();
    EXPECT_EQ(versionOf(p.dm().livePath()), 1);
}

// A backup of the previous version is restored as it is and upgraded at the next login.
TEST_F(UpgradeAtLogin, AnOlderBackupIsRestoredAndUpgradedAtTheNextLogin)
{
    p.makeLiveDatabase();
    ASSERT_TRUE(logIn());
    admin::Maintenance maintenance(p.dm());
    ui.clear();
    ui.answer(true);
    // A copy: the check opens the chosen file, and the fixture stays as it is kept.
    const std::string older = p.path("bak/older.db");
    std::filesystem::copy_file(kFirstVersionFile, older);
    ui.fileNames = {older};
    maintenance.restore();
    ASSERT_EQ(ui.messages, std::vector<std::string>{"软件将关闭,请重新运行软件!"});
    p.dm().DMADO.close();
    EXPECT_EQ(versionOf(p.dm().livePath()), 1);

    ui.clear();
    ASSERT_TRUE(logIn());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind("数据库已从第1版升级到第", 0), 0u) << ui.messages[0];
    EXPECT_EQ(p.count("员工基本情况"), 5);
}
