// Rows written many to a statement arrive whole and in order, whatever the size of the last batch.
#include <gtest/gtest.h>

#include "db/BatchInsert.h"
#include "db/Value.h"
#include "support/EngineFixture.h"

using namespace rsgz::db;

namespace {

class BatchInsertTest : public rsgz::test::BothEngines {
protected:
    void SetUp() override
    {
        BothEngines::SetUp();
        if (IsSkipped()) return;
        conn().exec("create table 样表 (编号 int IDENTITY PRIMARY KEY, 名称 varchar(10), 金额 money, 比例 double, 数量 int)");
    }
    std::string rows() { return rsgz::test::rowsText(conn(), "select 名称, '|', 金额, '|', 比例, '|', 数量 from 样表 order by 编号"); }
};
RSGZ_ON_BOTH_ENGINES(BatchInsertTest);

TEST_P(BatchInsertTest, FullBatchesAndTheRestAreWrittenWithEveryKindOfValue)
{
    for (int total : {0, 3, 7}) {
        SCOPED_TRACE(total);
        conn().exec("delete from 样表");
        std::string want;
        {
            Transaction t(conn());
            BatchInsert insert(conn(), "insert into 样表 (名称, 金额, 比例, 数量)", 4, 3);
            for (int i = 0; i < total; ++i) {
                insert.bind(1, "行" + std::to_string(i)).bind(2, Money::fromUnits(12345 * i)).bind(4, int64_t{i});
                if (i % 2) insert.bind(3, 0.5 * i);
                else insert.bindNull(3);
                insert.endRow();
                want += (i ? "," : "") + ("行" + std::to_string(i)) + "|" + Money::fromUnits(12345 * i).toSqlLiteral() + "|" +
                        (i % 2 ? rsgz::db::Value(0.5 * i).toString() : "") + "|" + std::to_string(i);
            }
            EXPECT_EQ(insert.finish(), total);
            t.commit();
        }
        EXPECT_EQ(rows(), want);
    }
}

TEST_P(BatchInsertTest, AFailingBatchLeavesTheTransactionToUndoEverything)
{
    conn().exec("create unique index 样表名称 on 样表 (名称)");
    try {
        Transaction t(conn());
        BatchInsert insert(conn(), "insert into 样表 (名称)", 1, 2);
        for (const char* name : {"甲", "乙", "丙", "甲", "丁"}) {
            insert.bind(1, name);
            insert.endRow();
        }
        insert.finish();
        t.commit();
        ADD_FAILURE() << "a second 甲 was written";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::Duplicate) << e.what();
    }
    EXPECT_EQ(rows(), "");
}

}  // namespace
