#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include "app/IdleCheckpoint.h"
#include "db/DataSet.h"
#include "support/ProgramLayout.h"

using namespace rsgz;

namespace {

// What another program gets when it copies data/vesk.db alone while the program runs.
int setsInAPlainCopy(test::ProgramLayout& p)
{
    const QString copy = QString::fromStdString(p.path("copy.db"));
    QFile::remove(copy);
    QFile::copy(QString::fromStdString(p.path("data/vesk.db")), copy);
    db::Connection conn(copy.toStdString());
    db::DataSet ds(&conn, "check", {"select * from 帐套"});
    ds.open();
    return ds.recordCount();
}

void runEventsFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST(IdleCheckpoint, APlainCopyOfTheFileIsCompleteOnceWritesSettle)
{
    int argc = 1;
    char name[] = "test_app";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    test::ProgramLayout p{{.liveDatabase = true}};
    app::IdleCheckpoint idle(p.dm().DMADO, 100);

    p.dm().runSql({"insert into 帐套 (帐套编号, 帐套名称) values ('01', '行政')"});
    runEventsFor(30);
    p.dm().runSql({"insert into 帐套 (帐套编号, 帐套名称) values ('02', '生产')"});
    runEventsFor(30);
    EXPECT_EQ(setsInAPlainCopy(p), 0) << "while writes go on the log is left alone";
    runEventsFor(250);
    EXPECT_EQ(setsInAPlainCopy(p), 2);
}

}  // namespace
