#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "db/DataSet.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "support/StaleLog.h"

using namespace rsgz;

namespace {

QStringList backups(test::ProgramLayout& p) { return QDir(QString::fromStdString(p.path("bak"))).entryList(QDir::Files); }

QByteArray contents(const std::string& file)
{
    QFile f(QString::fromStdString(file));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int employeesIn(const std::string& file)
{
    db::Connection conn(file);
    db::DataSet ds(&conn, "check", {"select * from 员工基本情况"});
    ds.open();
    return ds.recordCount();
}

}  // namespace

TEST(CloseTimeCopy, OneFilePerDayHoldingTheDatabaseOfTheLastClose)
{
    test::ProgramLayout p;
    p.makeLiveDatabase();
    QDateTime now(QDate(2008, 1, 8), QTime(17, 30));
    p.dm().now = [&] { return now; };

    p.dm().runSql({"insert into 员工基本情况 (员工编号, 姓名) values ('A1', '甲')"});
    p.frame().BeiFen_data();
    p.dm().runSql({"insert into 员工基本情况 (员工编号, 姓名) values ('A2', '乙')"});
    p.frame().BeiFen_data();  // the second close of the day, connection still open
    EXPECT_EQ(backups(p), QStringList{"20080108.db"});
    EXPECT_EQ(employeesIn(p.path("bak/20080108.db")), 2);

    now = now.addDays(1);
    p.frame().BeiFen_data();
    EXPECT_EQ(backups(p), (QStringList{"20080108.db", "20080109.db"}));
}

TEST(CloseTimeCopy, MissingBakFolderWritesNothingAndLetsTheProgramEnd)
{
    test::ProgramLayout p;
    p.makeLiveDatabase();
    p.dm().runSql({"insert into 员工基本情况 (员工编号, 姓名) values ('A1', '甲')"});
    QDir(QString::fromStdString(p.path("bak"))).removeRecursively();
    const QDir root(QString::fromStdString(p.dir()));
    const QStringList before = root.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    test::ScriptedInteraction ui;
    EXPECT_NO_THROW(p.frame().BeiFen_data());
    EXPECT_EQ(root.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before) << "no folder and no stray file";
    EXPECT_TRUE(ui.messages.empty() && ui.errors.empty());
    p.dm().DMADO.close();
    EXPECT_EQ(employeesIn(p.path("data/vesk.db")), 1) << "the live database is untouched";
}

TEST(CloseTimeCopy, ADamagedDatabaseNeverReplacesTheDaysGoodCopy)
{
    test::ProgramLayout p;
    p.makeLiveDatabase();
    p.dm().now = [] { return QDateTime(QDate(2008, 1, 8), QTime(12, 0)); };
    p.dm().runSql({"insert into 员工基本情况 (员工编号, 姓名) values ('A1', '甲')"});
    p.frame().BeiFen_data();
    const QByteArray good = contents(p.path("bak/20080108.db"));
    ASSERT_FALSE(good.isEmpty());

    // After a crash an older copy was put in place of the file, with the crashed run's log beside it.
    p.dm().DMADO.close();
    test::leaveStaleLog(p.path("data/vesk.db"));
    test::ScriptedInteraction ui;
    p.frame().BeiFen_data();
    EXPECT_EQ(contents(p.path("bak/20080108.db")), good);
    EXPECT_EQ(backups(p), (QStringList{"20080108-损坏.db", "20080108.db"}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("已经损坏"), std::string::npos) << ui.messages[0];
    EXPECT_NE(ui.messages[0].find(p.path("bak/20080108-损坏.db")), std::string::npos) << ui.messages[0];
    EXPECT_EQ(employeesIn(p.path("bak/20080108.db")), 1);
}

TEST(Activation, FailedLoginClosesWithoutWorkAndSuccessOpensCompanyData)
{
    test::ProgramLayout p;
    p.makeLiveDatabase();
    p.frame().LoginFailed = true;
    EXPECT_FALSE(p.frame().activate());
    EXPECT_FALSE(p.dm().gs_data.active());
    p.frame().LoginFailed = false;
    EXPECT_TRUE(p.frame().activate());
    EXPECT_TRUE(p.dm().gs_data.active());
}
