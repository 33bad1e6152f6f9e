#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <chrono>
#include <thread>

#include "admin/LoginForm.h"
#include "admin/NameHistory.h"
#include "app/PasswordHash.h"
#include "db/SqlText.h"
#include "support/BrokenPage.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "support/StaleLog.h"

using namespace rsgz;

namespace {

class Login : public ::testing::Test {
protected:
    void addOperator(const std::string& name, const std::string& password)
    {
        if (!QFile::exists(QString::fromStdString(p.dm().livePath()))) p.makeLiveDatabase();
        p.dm().runSql({"insert into 权限 (姓名, 密码) values (" + db::sqlQuote(name) + ", "
                       + db::sqlQuote(app::hashPassword(password)) + ")"});
    }
    bool tryLogin(admin::LoginForm& f, const std::string& name, const std::string& password)
    {
        f.name = name;
        f.password = password;
        f.login();
        return f.closed && !p.frame().LoginFailed;
    }

    test::ProgramLayout p;
    test::ScriptedInteraction ui;
};

const char* const kFailed = "用户登录失败！请重新输入用户名和密码！";

// The full check after the login runs on a thread of its own: its outcome once it has ended.
app::MainFrame::FileCheck outcomeOfCheck(app::MainFrame& frame)
{
    for (int i = 0; i < 1000 && frame.fileCheck() == app::MainFrame::FileCheck::Running; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return frame.fileCheck();
}

QByteArray contents(const std::string& file)
{
    QFile f(QString::fromStdString(file));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST_F(Login, FirstLoginCopiesTheTemplateAndUsesTheDefaultOperator)
{
    admin::LoginForm f(p.frame());
    EXPECT_TRUE(p.frame().LoginFailed);
    EXPECT_EQ(f.name, app::kDefaultOperator);
    EXPECT_EQ(f.password, app::kDefaultPassword);
    ASSERT_FALSE(QFile::exists(QString::fromStdString(p.path("data/vesk.db"))));

    f.login();
    EXPECT_TRUE(f.closed);
    EXPECT_FALSE(p.frame().LoginFailed);
    EXPECT_EQ(p.frame().CurrentOperator, app::kDefaultOperator);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(p.path("data/vesk.db"))));
    EXPECT_TRUE(p.dm().zh.active());
    EXPECT_TRUE(p.dm().zh.asBool("权限管理"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(outcomeOfCheck(p.frame()), app::MainFrame::FileCheck::Sound);
}

TEST(LoginWithoutFiles, ShowsTheEngineErrorAndQuitEndsWithoutLogin)
{
    test::ProgramLayout p({.withTemplate = false});
    test::ScriptedInteraction ui;
    admin::LoginForm f(p.frame());
    f.login();
    EXPECT_FALSE(f.closed) << "the window stays for another try";
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("vesk.db"), std::string::npos) << ui.errors[0];
    EXPECT_TRUE(ui.messages.empty());
    f.quit();
    EXPECT_TRUE(f.closed);
    EXPECT_TRUE(p.frame().LoginFailed);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(p.path("data/vesk.db")))) << "no empty database is made";
}

TEST_F(Login, LetterCaseOfNamesFollowsTheHistoryAndTheExactComparison)
{
    addOperator("Li", "pw");
    struct Case {
        std::vector<std::string> history;
        std::string typed;
        bool succeeds;
        std::string nameAfter;
    } cases[] = {
        {{}, "Li", true, "Li"},
        {{}, "LI", false, "LI"},         // the database finds Li, the exact comparison refuses LI
        {{"li"}, "LI", false, "li"},     // the name takes the case of its history entry
        {{"Li", "x"}, "lI", true, "Li"},
    };
    for (const Case& c : cases) {
        QFile::remove(QString::fromStdString(p.path("YongHuNameList.Cfg")));
        auto h = admin::NameHistory::load(p.path("YongHuNameList.Cfg"));
        for (auto it = c.history.rbegin(); it != c.history.rend(); ++it) h.record(*it);
        p.frame().LoginFailed = true;
        ui.messages.clear();
        admin::LoginForm f(p.frame());
        EXPECT_EQ(tryLogin(f, c.typed, "pw"), c.succeeds) << c.typed;
        EXPECT_EQ(f.name, c.nameAfter) << c.typed;
        EXPECT_EQ(f.items.front(), c.nameAfter) << "the name used is on top of the history";
        if (!c.succeeds) {
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].rfind(kFailed, 0), 0u) << ui.messages[0];
        }
    }
}

TEST_F(Login, FailedAttemptStillPutsTheNameOnTopOfTheHistory)
{
    admin::LoginForm f(p.frame());
    EXPECT_FALSE(tryLogin(f, "张三", "wrong"));
    EXPECT_FALSE(tryLogin(f, "admin", "wrong"));
    EXPECT_FALSE(tryLogin(f, "张三", "wrong"));
    const auto h = admin::NameHistory::load(p.path("YongHuNameList.Cfg"));
    EXPECT_EQ(h.items(), (std::vector<std::string>{"张三", "admin"}));
    admin::LoginForm again(p.frame());
    EXPECT_EQ(again.name, "张三") << "the next start presets the most recent name";
}

TEST_F(Login, QuotesInNamesAreDataNotStatement)
{
    addOperator("O'Brien", "pw");
    admin::LoginForm f(p.frame());
    EXPECT_FALSE(tryLogin(f, "x' or '1'='1", "admin"));
    EXPECT_TRUE(ui.errors.empty()) << "the statement stays whole";
    EXPECT_FALSE(tryLogin(f, "O'Brien", "wrong"));
    EXPECT_TRUE(tryLogin(f, "O'Brien", "pw"));
    EXPECT_EQ(p.frame().CurrentOperator, "O'Brien");
}

TEST_F(Login, OnlyTheFirstOfTwoOperatorsWithOneNameCanLogIn)
{
    addOperator("王五", "first");
    addOperator("王五", "second");
    admin::LoginForm f(p.frame());
    EXPECT_FALSE(tryLogin(f, "王五", "second"));
    EXPECT_TRUE(tryLogin(f, "王五", "first"));
}

TEST_F(Login, EmptyBoxesAreRefusedWithTheirOwnNotices)
{
    admin::LoginForm f(p.frame());
    f.name = "admin";
    f.password.clear();
    f.passwordEnter();
    f.login();
    f.name.clear();
    f.login();
    f.Save_yonghuList();
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"用户密码不能为空！", "用户密码不能为空!", "用户名称不能为空!",
                                                     "用户名称不能为空！"}));
    EXPECT_FALSE(f.closed);
    f.password = "x";
    f.passwordEnter();
    EXPECT_EQ(f.focus, admin::LoginForm::Focus::LoginButton);
}

TEST_F(Login, PasswordsAreStoredAsHashes)
{
    p.makeLiveDatabase();
    p.dm().s1.setSql({"select 密码 from 权限"});
    p.dm().s1.open();
    const std::string stored = p.dm().s1.asString("密码");
    EXPECT_NE(stored, app::kDefaultPassword);
    EXPECT_TRUE(app::verifyPassword(stored, app::kDefaultPassword));
}

TEST_F(Login, UnreadableHistoryIsReportedOnceAndReplacedBySoundFile)
{
    {
        QFile f(QString::fromStdString(p.path("YongHuNameList.Cfg")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\xff\xff\xff\r\n");  // not GBK text
    }
    admin::LoginForm f(p.frame());
    EXPECT_EQ(ui.errors.size(), 1u);
    EXPECT_TRUE(tryLogin(f, "admin", "admin"));
    EXPECT_EQ(ui.errors.size(), 1u) << "no second error at 登录";
    EXPECT_EQ(admin::NameHistory::load(p.path("YongHuNameList.Cfg")).items(), std::vector<std::string>{"admin"});
}

TEST_F(Login, AnEmptyLiveFileIsReplacedByTheTemplate)
{
    QFile empty(QString::fromStdString(p.path("data/vesk.db")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    admin::LoginForm f(p.frame());
    EXPECT_TRUE(tryLogin(f, app::kDefaultOperator, app::kDefaultPassword));
    EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
}

TEST_F(Login, AFailedAttemptLeavesNoOperatorRowToReadRightsFrom)
{
    admin::LoginForm f(p.frame());
    EXPECT_FALSE(tryLogin(f, app::kDefaultOperator, "wrong"));
    EXPECT_FALSE(p.dm().zh.active() && p.dm().zh.recordCount() > 0);
    EXPECT_THROW(p.dm().zh.asBool("权限管理"), std::exception);
    EXPECT_TRUE(tryLogin(f, app::kDefaultOperator, app::kDefaultPassword));
    EXPECT_TRUE(p.dm().zh.asBool("权限管理"));
}

TEST_F(Login, NamesOnMoreThanOneLineAreRefusedWhereTheyAreTyped)
{
    admin::LoginForm f(p.frame());
    for (const std::string name : {std::string("ad\nmin"), std::string("ad\rmin"), std::string("ad\0min", 6)}) {
        ui.clear();
        f.name = name;
        f.Save_yonghuList();
        f.password = app::kDefaultPassword;
        f.login();
        EXPECT_EQ(ui.messages, (std::vector<std::string>(2, admin::kNameOnOneLine)));
        EXPECT_FALSE(f.closed);
        EXPECT_EQ(f.focus, admin::LoginForm::Focus::Name);
    }
    EXPECT_TRUE(f.items.empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(f.historyPath()))) << "nothing was written to the history";
}

TEST_F(Login, AReadOnlyDatabaseIsRefusedNamingTheFile)
{
    p.makeLiveDatabase();
    const QString live = QString::fromStdString(p.path("data/vesk.db"));
    QFile::setPermissions(live, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    admin::LoginForm f(p.frame());
    EXPECT_FALSE(tryLogin(f, app::kDefaultOperator, app::kDefaultPassword));
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find(p.path("data/vesk.db") + " 是只读的"), std::string::npos) << ui.errors[0];
    EXPECT_FALSE(QFile::exists(live + "-shm"));
    EXPECT_FALSE(p.dm().DMADO.isOpen());
    QFile::setPermissions(live, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_TRUE(tryLogin(f, app::kDefaultOperator, app::kDefaultPassword));
}

TEST_F(Login, ADamagedDatabaseIsRefusedWithTheWayBackFromBak)
{
    p.makeLiveDatabase();
    QFile::copy(QString::fromStdString(p.path("data/vesk.db")), QString::fromStdString(p.path("bak/20080107.db")));
    QFile::copy(QString::fromStdString(p.path("data/vesk.db")), QString::fromStdString(p.path("bak/20080106.db")));
    test::leaveStaleLog(p.path("data/vesk.db"));
    admin::LoginForm f(p.frame());
    EXPECT_FALSE(tryLogin(f, app::kDefaultOperator, app::kDefaultPassword));
    ASSERT_EQ(ui.errors.size(), 1u);
    const std::string& said = ui.errors[0];
    EXPECT_NE(said.find("已经损坏"), std::string::npos) << said;
    EXPECT_NE(said.find(p.path("bak/20080107.db")), std::string::npos) << "the newest copy is named: " << said;
    EXPECT_TRUE(p.frame().LoginFailed);
    EXPECT_FALSE(p.dm().zh.active());
    // Nothing was written: the damaged log was not folded into the file.
    EXPECT_FALSE(p.dm().DMADO.isOpen());
    EXPECT_TRUE(QFile::exists(QString::fromStdString(p.path("data/vesk.db-wal"))));
}

// The login reads only the operators; a damaged page elsewhere is found by the full check after it.
// The operator is told the way back when the program closes, and the good copy stays the way back.
TEST_F(Login, DamageTheLoginDoesNotReadIsFoundAfterItAndNeverReplacesTheGoodCopy)
{
    p.makeLiveDatabase();
    p.dm().runSql({"insert into 员工基本情况 (员工编号, 姓名) values ('A1', '甲')"});
    p.dm().DMADO.close();
    const std::string live = p.path("data/vesk.db");
    QFile::copy(QString::fromStdString(live), QString::fromStdString(p.path("bak/20080107.db")));
    const QByteArray good = contents(p.path("bak/20080107.db"));
    test::breakTableTree(live, "员工基本情况");
    p.dm().now = [] { return QDateTime(QDate(2008, 1, 8), QTime(17, 0)); };

    admin::LoginForm f(p.frame());
    ASSERT_TRUE(tryLogin(f, app::kDefaultOperator, app::kDefaultPassword));
    EXPECT_TRUE(ui.errors.empty() && ui.messages.empty());
    EXPECT_EQ(outcomeOfCheck(p.frame()), app::MainFrame::FileCheck::Damaged);

    p.frame().BeiFen_data();
    EXPECT_EQ(QDir(QString::fromStdString(p.path("bak"))).entryList(QDir::Files),
              (QStringList{"20080107.db", "20080108-损坏.db"}));
    EXPECT_EQ(contents(p.path("bak/20080107.db")), good);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("已经损坏"), std::string::npos) << ui.messages[0];
    EXPECT_NE(ui.messages[0].find(p.path("bak/20080107.db")), std::string::npos) << "the way back: " << ui.messages[0];
}

// The preset password is the default operator's: once another name is in the box it must go, or the
// other operator's login fails with a password nobody typed.
TEST_F(Login, AnotherNameInTheBoxClearsThePassword)
{
    addOperator("张三", "pw3");
    admin::NameHistory::load(p.path("YongHuNameList.Cfg")).record("张三");
    admin::LoginForm f(p.frame());
    f.name = app::kDefaultOperator;  // as the window opens
    f.password = app::kDefaultPassword;

    f.nameChanged(app::kDefaultOperator);
    EXPECT_EQ(f.password, app::kDefaultPassword) << "the same name keeps its password";
    f.nameChanged("张三");
    EXPECT_EQ(f.name, "张三");
    EXPECT_EQ(f.password, "");
    f.password = "pw3";
    f.login();
    EXPECT_FALSE(p.frame().LoginFailed);
    EXPECT_EQ(p.frame().CurrentOperator, "张三");
}
