#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

#include <algorithm>
#include <sstream>

#include "admin/LoginForm.h"
#include "admin/OfficeRights.h"
#include "admin/OfficeSetup.h"
#include "admin/RightsForm.h"
#include "app/OperatorRights.h"
#include "app/Rights.h"
#include "db/SchemaUpgrade.h"
#include "db/ServerRoles.h"
#include "support/EngineFixture.h"
#include "support/OfficeFixture.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

using namespace rsgz;

namespace {

const char* const kFailed = "用户登录失败！请重新输入用户名和密码！";

void writeSettings(test::ProgramLayout& p, const std::string& text)
{
    QFile f(QString::fromStdString(p.path("set/database.ini")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.data(), static_cast<qint64>(text.size()));
}

bool tryLogin(test::ProgramLayout& p, admin::LoginForm& f, const std::string& name, const std::string& password)
{
    f.name = name;
    f.password = password;
    f.login();
    return f.closed && !p.frame().LoginFailed;
}

bool liveFileMade(test::ProgramLayout& p) { return QFile::exists(QString::fromStdString(p.dm().livePath())); }

int rightIndex(const std::string& right)
{
    const auto& all = app::allRights();
    return static_cast<int>(std::find(all.begin(), all.end(), right) - all.begin());
}

class ServerLogin : public test::OfficeTest {
protected:
    void SetUp() override
    {
        OfficeTest::SetUp();
        if (IsSkipped()) return;
        const app::ServerSettings& s = *office().settings();
        writeSettings(p, "[server]\nhost=" + s.host + "\nport=" + std::to_string(s.port) + "\ndatabase=" + s.database + "\n");
    }
    // Logged in as the office's first operator, who holds every right.
    void logInAsFirst()
    {
        admin::LoginForm f(p.frame());
        ASSERT_TRUE(tryLogin(p, f, office().firstOperator(), test::TestOffice::kFirstPassword)) << ui.messages.size();
    }

    test::ProgramLayout p;
    test::ScriptedInteraction ui;
};

}  // namespace

TEST_F(ServerLogin, TheNameAndPasswordLogInAsTheServerRole)
{
    admin::LoginForm f(p.frame());
    EXPECT_TRUE(f.password.empty());  // no default operator is offered for a server
    EXPECT_NE(f.hint().find(office().database()), std::string::npos) << f.hint();

    const std::string first = office().firstOperator();
    std::string otherCase = first;
    std::transform(otherCase.begin(), otherCase.end(), otherCase.begin(), [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
    const std::pair<std::string, std::string> refused[] = {
        {first, "wrong"},                                      // a wrong password
        {office().role("nobody"), test::TestOffice::kFirstPassword},  // a role the server does not know
        {otherCase, test::TestOffice::kFirstPassword},         // the name in other letter case
    };
    for (const auto& [name, password] : refused) {
        ui.clear();
        // A fresh name history each time: a name takes the letter case of its history entry.
        QFile::remove(QString::fromStdString(f.historyPath()));
        admin::LoginForm attempt(p.frame());
        EXPECT_FALSE(tryLogin(p, attempt, name, password)) << name;
        ASSERT_EQ(ui.messages.size(), 1u) << name;
        EXPECT_EQ(ui.messages[0].find(kFailed), 0u) << ui.messages[0];
        EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
        EXPECT_FALSE(attempt.closed);
        EXPECT_FALSE(p.dm().zh.active());
    }

    ui.clear();
    ASSERT_TRUE(tryLogin(p, f, first, test::TestOffice::kFirstPassword));
    EXPECT_TRUE(ui.messages.empty() && ui.errors.empty());
    EXPECT_EQ(p.frame().CurrentOperator, first);
    EXPECT_TRUE(p.dm().DMADO.isServer());
    EXPECT_TRUE(app::hasRight(p.dm(), "权限管理"));
    EXPECT_TRUE(app::hasRight(p.dm(), "工资表管理"));
    // Neither the template copy nor the file checks: there is no file.
    EXPECT_FALSE(liveFileMade(p));
    EXPECT_EQ(p.frame().fileCheck(), app::MainFrame::FileCheck::NotChecked);
    // The password asked again before grave work is checked by the server too.
    EXPECT_TRUE(admin::isOperatorPassword(p.dm(), test::TestOffice::kFirstPassword));
    EXPECT_FALSE(admin::isOperatorPassword(p.dm(), "wrong"));
}

TEST_F(ServerLogin, AnOperatorsRightsAreItsRoles)
{
    {
        auto boss = office().connectAs(office().firstOperator(), test::TestOffice::kFirstPassword);
        db::createOperator(*boss, office().role("clerk"), "pw", {"档案管理", "计时工资"});
    }
    admin::LoginForm f(p.frame());
    ASSERT_TRUE(tryLogin(p, f, office().role("clerk"), "pw"));
    for (const std::string& right : app::allRights())
        EXPECT_EQ(app::hasRight(p.dm(), right), right == "档案管理" || right == "计时工资") << right;
    // The program's own check stays in front of the server's.
    EXPECT_FALSE(admin::mayOpenRightsWindow(p.dm()));
}

TEST_F(ServerLogin, TheRightsWindowMakesGrantsAndRemovesRoles)
{
    logInAsFirst();
    admin::RightsForm r(p.dm());
    r.activate();
    ASSERT_EQ(r.names, std::vector<std::string>{office().firstOperator()});
    EXPECT_FALSE(r.nameEditable());

    // 新增操作员: the new operator's boxes as the defaults, made on 保存.
    const std::string clerk = office().role("会计");
    r.addOperator();
    EXPECT_TRUE(r.nameEditable());
    EXPECT_FALSE(r.checks[rightIndex("证照列表")]);
    EXPECT_TRUE(r.checks[rightIndex("工资表管理")]);
    r.setName(clerk);
    r.setPassword("pw-1");
    r.setRight(rightIndex("工资表管理"), false);
    r.save();
    ASSERT_EQ(r.names.size(), 2u) << (ui.errors.empty() ? "" : ui.errors.front());
    EXPECT_EQ(r.names[1], clerk);
    auto raw = office().connectAs(clerk, "pw-1");
    EXPECT_THROW(raw->exec("delete from 工资表"), db::DbError);

    // A tick is a grant at once; the server's answer is what the boxes show.
    r.clickNode(1);
    EXPECT_FALSE(r.checks[rightIndex("工资表管理")]);
    r.setRight(rightIndex("工资表管理"), true);
    EXPECT_TRUE(r.checks[rightIndex("工资表管理")]);
    EXPECT_EQ(raw->exec("delete from 工资表"), 0);

    // A typed password is set when the list moves on.
    r.setPassword("pw-2");
    r.first();
    EXPECT_THROW(office().connectAs(clerk, "pw-1"), db::DbError);
    office().connectAs(clerk, "pw-2");

    // 删除操作员 asks, then removes the role.
    r.clickNode(1);
    ui.answer(true);
    r.deleteOperator();
    EXPECT_EQ(ui.questions, std::vector<std::string>{"删除当前权限管理记录吗?"});
    EXPECT_EQ(r.names, std::vector<std::string>{office().firstOperator()});
    EXPECT_THROW(office().connectAs(clerk, "pw-2"), db::DbError);
    r.deleteOperator();
    EXPECT_EQ(ui.messages.back(), "最少有一个操作员!");
    EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
}

// An office made by an older program: the table of the third version missing, the database saying
// it is of the second. The clerk is told to upgrade; the command asks once, keeps a dump, upgrades
// in one go and grants the new table, and the clerk logs in and writes it.
TEST_F(ServerLogin, AnOlderOfficeIsRefusedAtLoginUntilTheUpgradeCommandBringsItUp)
{
    const db::ServerTarget admin = office().adminInOffice();
    {
        db::Connection conn(admin);
        conn.exec("drop table 每日备份");
        db::setSchemaVersion(conn, 2);
    }
    {
        admin::LoginForm f(p.frame());
        EXPECT_FALSE(tryLogin(p, f, office().firstOperator(), test::TestOffice::kFirstPassword));
        ASSERT_EQ(ui.errors.size(), 1u);
        EXPECT_NE(ui.errors[0].find("是第2版，本程序使用第" + std::to_string(db::currentSchemaVersion()) + "版"), std::string::npos)
            << ui.errors[0];
        EXPECT_NE(ui.errors[0].find("rsgz --upgrade-office"), std::string::npos) << ui.errors[0];
        p.dm().DMADO.close();
    }

    std::vector<std::string> answers = {admin.user, "wrong"};
    const admin::AskLine ask = [&](const std::string&, bool) -> std::optional<std::string> {
        if (answers.empty()) return std::nullopt;
        std::string a = answers.front();
        answers.erase(answers.begin());
        return a;
    };
    std::ostringstream said;
    EXPECT_EQ(admin::upgradeOfficeInteractively(p.dir(), ask, said), 1);
    EXPECT_NE(said.str().find("数据库未作改动"), std::string::npos) << said.str();

    answers = {admin.user, admin.password};
    said.str({});
    ASSERT_EQ(admin::upgradeOfficeInteractively(p.dir(), ask, said), 0) << said.str();
    EXPECT_NE(said.str().find("数据库已从第2版升级到第" + std::to_string(db::currentSchemaVersion()) + "版"), std::string::npos)
        << said.str();
    const QStringList copies = QDir(QString::fromStdString(p.path("bak"))).entryList({QStringLiteral("升级前-v2-*.dump")});
    ASSERT_EQ(copies.size(), 1) << said.str();
    EXPECT_GT(QFileInfo(QDir(QString::fromStdString(p.path("bak"))).filePath(copies[0])).size(), 0);

    ui.clear();
    logInAsFirst();
    p.dm().DMADO.close();
    auto clerk = office().connectAs(office().firstOperator(), test::TestOffice::kFirstPassword);
    EXPECT_EQ(db::schemaVersionOf(*clerk), db::currentSchemaVersion());
    EXPECT_EQ(clerk->exec("insert into 每日备份 (日期, 操作员) values ('20261211', 'x')"), 1);

    // Again on an office that is up to date: nothing to upgrade, no second copy.
    answers = {admin.user, admin.password};
    said.str({});
    EXPECT_EQ(admin::upgradeOfficeInteractively(p.dir(), ask, said), 0) << said.str();
    EXPECT_NE(said.str().find("不需升级"), std::string::npos) << said.str();
    EXPECT_EQ(QDir(QString::fromStdString(p.path("bak"))).entryList({QStringLiteral("升级前-*")}).size(), 1);
}

TEST(ServerLoginWithoutServer, AnUnreachableServerOrABadFileIsToldAndTheWindowStays)
{
    test::ProgramLayout p;
    test::ScriptedInteraction ui;
    // Nothing listens on port 1 of the loopback.
    writeSettings(p, "[server]\nhost=127.0.0.1\nport=1\ndatabase=rsgz\n");
    admin::LoginForm f(p.frame());
    EXPECT_FALSE(tryLogin(p, f, "li", "pw"));
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("无法连接数据库服务器 127.0.0.1:1/rsgz"), std::string::npos) << ui.errors[0];
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(f.closed);

    ui.clear();
    writeSettings(p, "[server]\nhost=127.0.0.1\nport=五\ndatabase=rsgz\n");
    EXPECT_FALSE(tryLogin(p, f, "li", "pw"));
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("第 3 行"), std::string::npos) << ui.errors[0];
    EXPECT_FALSE(liveFileMade(p));

    // The way on: without the file the program works on its own database file again.
    ASSERT_TRUE(QFile::remove(QString::fromStdString(p.path("set/database.ini"))));
    EXPECT_TRUE(tryLogin(p, f, app::kDefaultOperator, app::kDefaultPassword));
    EXPECT_TRUE(liveFileMade(p));
    EXPECT_FALSE(p.dm().DMADO.isServer());
}

TEST(CreateOfficeCommand, AsksOnceMakesTheOfficeAndWritesTheSettingsFile)
{
    const std::optional<db::ServerTarget> server = test::testServer();
    if (!server) GTEST_SKIP() << "no test server: set RSGZ_TEST_PGHOST (and RSGZ_TEST_PGPORT, RSGZ_TEST_PGUSER) to run the server half";
    test::ProgramLayout p;
    test::ScriptedInteraction ui;
    const std::string database = "rsgzc_" + std::to_string(::getpid());
    const std::string first = "老板@" + database;
    struct Removed {
        const db::ServerTarget& server;
        const std::string& database;
        ~Removed()  // whatever the test left
        {
            try {
                admin::dropOffice(server, database);
            } catch (const std::exception& e) {
                ADD_FAILURE() << "office " << database << " not removed: " << e.what();
            }
        }
    } removed{*server, database};
    std::vector<std::string> answers = {server->host, std::to_string(server->port), database, server->user, server->password,
                                        first, "pw-first", "pw-first"};
    std::vector<std::string> asked;
    std::vector<bool> secret;
    const admin::AskLine ask = [&](const std::string& prompt, bool hidden) -> std::optional<std::string> {
        asked.push_back(prompt);
        secret.push_back(hidden);
        if (asked.size() > answers.size()) return std::nullopt;
        return answers[asked.size() - 1];
    };
    std::ostringstream said;

    // Two passwords that differ make nothing.
    answers.back() = "pw-other";
    EXPECT_EQ(admin::createOfficeInteractively(p.dir(), ask, said), 1);
    EXPECT_NE(said.str().find("两次输入的密码不一样"), std::string::npos) << said.str();
    EXPECT_FALSE(app::readServerSettings(p.dir()));

    answers.back() = "pw-first";
    asked.clear();
    secret.clear();
    ASSERT_EQ(admin::createOfficeInteractively(p.dir(), ask, said), 0) << said.str();
    EXPECT_EQ(asked.size(), answers.size());
    EXPECT_EQ(secret, (std::vector<bool>{false, false, false, false, true, false, true, true}));
    const std::optional<app::ServerSettings> written = app::readServerSettings(p.dir());
    ASSERT_TRUE(written);
    EXPECT_EQ(written->database, database);

    // The next start logs in to the new office as its first operator.
    admin::LoginForm f(p.frame());
    EXPECT_TRUE(tryLogin(p, f, first, "pw-first")) << (ui.errors.empty() ? "" : ui.errors.front());
    EXPECT_TRUE(app::hasRight(p.dm(), "权限管理"));
    p.dm().DMADO.close();
}
