#include <gtest/gtest.h>

#include <QCoreApplication>
#include <clocale>
#include <cstdlib>
#include <string>

#include "db/Connection.h"
#include "db/DataSet.h"
#include "db/SqlText.h"
#include "support/EngineFixture.h"

using namespace rsgz::db;

namespace {

// The program's application object takes the locale from the environment. Under a locale that
// writes a decimal comma, number text in statements and number text read back must not change.
class DecimalCommaLocale : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("LC_ALL", "de_DE.UTF-8", 1);
        app_ = new QCoreApplication(argc_, argv_);
        // Qt sets the locale from the environment once per process; a second test does it itself.
        std::setlocale(LC_ALL, "");
        if (std::string(std::localeconv()->decimal_point) != ",")
            GTEST_SKIP() << "the locale de_DE.UTF-8 is not installed here (scripts/setup.sh generates it)";
    }
    void TearDown() override
    {
        delete app_;
        unsetenv("LC_ALL");
        std::setlocale(LC_ALL, "C");
    }

    int argc_ = 1;
    char name_[8] = "test_db";
    char* argv_[2] = {name_, nullptr};
    QCoreApplication* app_ = nullptr;
};

TEST_F(DecimalCommaLocale, NumbersAreWrittenAndReadWithAPoint)
{
    EXPECT_EQ(Value(1.5).toString(), "1.5");
    EXPECT_EQ(Value(100.0 / 3).toString(), "33.3333333333333");
    EXPECT_EQ(Value(-2e20).toString(), "-2e+20");
    EXPECT_DOUBLE_EQ(Value("2.5").toDouble(), 2.5);
    EXPECT_DOUBLE_EQ(Value(" +1e3x").toDouble(), 1000);
    EXPECT_EQ(Value("2.5").toInt(), 3);
    EXPECT_EQ(Value("2.5").toMoney().units(), 25000);
    EXPECT_EQ(sqlLiteral(Value(1.5), FieldType::Double), "1.5");
    EXPECT_EQ(sqlLiteral(Value("nan(1)"), FieldType::Double), "0");
}

class DecimalCommaOnBothEngines : public DecimalCommaLocale,
                                  public ::testing::WithParamInterface<rsgz::test::Engine> {
protected:
    void SetUp() override
    {
        DecimalCommaLocale::SetUp();
        if (IsSkipped()) return;
        if (GetParam() == rsgz::test::Engine::Server && !rsgz::test::testServer())
            GTEST_SKIP() << "no test server: set RSGZ_TEST_PGHOST to run the server half";
    }
};
RSGZ_ON_BOTH_ENGINES(DecimalCommaOnBothEngines);

TEST_P(DecimalCommaOnBothEngines, AValueWrittenIntoAStatementIsReadBackUnchanged)
{
    rsgz::test::TemporaryDatabase db(GetParam());
    db.createSchema();
    Connection& conn = db.conn();
    conn.exec("insert into 员工基本情况 (员工编号, 姓名, 身高) values ('E1', '甲', " + sqlLiteral(Value(170.5), FieldType::Double)
              + ")");
    DataSet ds(&conn, "rszl", {"select 身高 from 员工基本情况 where 身高 > " + sqlLiteral(Value("170.25"), FieldType::Double)});
    ds.open();
    ASSERT_EQ(ds.recordCount(), 1);
    EXPECT_DOUBLE_EQ(ds.asDouble("身高"), 170.5);
    EXPECT_EQ(ds.value("身高").toString(), "170.5");
}

}  // namespace
