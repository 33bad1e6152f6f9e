#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "db/DataSet.h"
#include "support/ProgramLayout.h"

using namespace rsgz;

namespace {

QStringList backups(test::ProgramLayout& p) { return QDir(QString::fromStdString(p.path("bak"))).entryList(QDir::Files); }

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

TEST(CloseTimeCopy, MissingBakFolderStillLetsTheProgramEnd)
{
    test::ProgramLayout p;
    p.makeLiveDatabase();
    QDir(QString::fromStdString(p.path("bak"))).removeRecursively();
    EXPECT_NO_THROW(p.frame().BeiFen_data());
    EXPECT_FALSE(QDir(QString::fromStdString(p.path("bak"))).exists()) << "the program never creates a folder";
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
