// Writing rows back: which columns may be written, by which key, and never over a change made
// through another dataset meanwhile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Interaction.h"
#include "db/Connection.h"
#include "db/DataSet.h"
#include "db/SqlText.h"
#include "support/ScriptedInteraction.h"
#include "support/EngineFixture.h"

using namespace rsgz::db;
using rsgz::app::runAction;

namespace {

class WriteBackTest : public rsgz::test::BothEngines {
protected:
    void SetUp() override
    {
        BothEngines::SetUp();
        if (IsSkipped()) return;
        database().createContents();
        database().useIn(conn_);
        conn_.exec("insert into 员工基本情况 (员工编号, 姓名, 性别, 体重, 出生年月) values "
                   "('E01', '张三', '男', 60, '2001-03-04 08:05:00'), ('E02', '李四', '女', 50, null), "
                   "('E03', '王五', '男', null, '1999-12-31')");
    }

    // The employees' names in number order, as stored.
    std::string names() { return rsgz::test::rowsText(conn_, "select 姓名 from 员工基本情况 order by 员工编号"); }

    DataSet& open(DataSet& ds, const std::string& sql)
    {
        ds.setSql(sql);
        ds.open();
        return ds;
    }

    Connection conn_;
    DataSet a_{&conn_, "rszl"};
    DataSet b_{&conn_, "rszl1"};
};
RSGZ_ON_BOTH_ENGINES(WriteBackTest);

TEST_P(WriteBackTest, OnlyPlainColumnsOfTheBaseTableAreWritten)
{
    DataSet& ds = open(a_, "select 员工编号, 姓名, (select 姓名 from 员工基本情况 b where b.员工编号 = 'E02') as 首位, "
                           "upper(姓名) as 姓名大写 from 员工基本情况 order by 员工编号");
    EXPECT_FALSE(ds.readOnly());
    EXPECT_FALSE(ds.fieldByName("姓名").readOnly);
    EXPECT_TRUE(ds.fieldByName("首位").readOnly);
    EXPECT_TRUE(ds.fieldByName("首位").baseColumn.empty());
    EXPECT_TRUE(ds.fieldByName("姓名大写").readOnly);
    ds.edit();
    EXPECT_THROW(ds.setValue("首位", Value("改")), DataSetError);
    ds.setValue("姓名", Value("张三丰"));
    ds.post();
    EXPECT_EQ(names(), "张三丰,李四,王五");
}

TEST_P(WriteBackTest, AColumnSelectedTwiceIsWrittenOnceWithTheValueTyped)
{
    DataSet& ds = open(a_, "select 员工编号, 姓名 as 显示名, 姓名 from 员工基本情况 order by 员工编号");
    ds.append();
    ds.setValue("员工编号", Value("E04"));
    ds.setValue("显示名", Value("赵六"));
    EXPECT_EQ(ds.asString("姓名"), "赵六") << "both fields show the one stored column";
    ds.post();
    EXPECT_EQ(names(), "张三,李四,王五,赵六");
    ds.edit();
    ds.setValue("姓名", Value("赵七"));
    EXPECT_EQ(ds.asString("显示名"), "赵七");
    ds.post();
    EXPECT_EQ(names(), "张三,李四,王五,赵七");
}

// The row key is found by its name: a comment mentioning "from" ahead of the real from-clause
// must not move it, nor make a user column (here 体重, equal to another row's key) pass for it.
TEST_P(WriteBackTest, RowKeyIsFoundByNameWhateverCommentsSay)
{
    conn_.exec("update 员工基本情况 set 体重 = 2 where 员工编号 = 'E01'");
    DataSet& ds = open(a_, "select 员工编号, 姓名 -- 不取 from 奖惩情况 的列\r\n"
                           "/* , 性别 from x */, 体重 from 员工基本情况 order by 员工编号");
    EXPECT_FALSE(ds.readOnly());
    EXPECT_EQ(ds.fieldCount(), 3);
    ds.edit();
    ds.setValue("姓名", Value("张三丰"));
    ds.post();
    EXPECT_EQ(names(), "张三丰,李四,王五");
}

TEST_P(WriteBackTest, ChangesMadeMeanwhileThroughAnotherDatasetAreNeverOverwritten)
{
    rsgz::test::ScriptedInteraction box;  // what reaches the standard error box
    open(a_, "select * from 员工基本情况 order by 员工编号");
    DataSet& stale = open(b_, "select * from 员工基本情况 order by 员工编号");

    // Another dataset renames E01: this one's change of the same column is refused and kept.
    a_.edit();
    a_.setValue("姓名", Value("张三丰"));
    a_.post();
    stale.edit();
    stale.setValue("姓名", Value("张四"));
    EXPECT_FALSE(runAction([&] { stale.post(); }));
    ASSERT_EQ(box.errors.size(), 1u);
    EXPECT_NE(box.errors[0].find("已被别处修改"), std::string::npos) << box.errors[0];
    EXPECT_EQ(stale.state(), DataSet::State::Edit);
    EXPECT_EQ(names(), "张三丰,李四,王五");
    stale.cancel();

    // A change of another column than the one changed meanwhile goes through.
    stale.edit();
    stale.setValue("性别", Value("女"));
    EXPECT_TRUE(runAction([&] { stale.post(); }));

    // Deleting a row changed meanwhile, or one already deleted, is refused and says which.
    a_.next();
    a_.remove();  // E02
    a_.edit();    // now on E03
    a_.setValue("体重", Value(70));
    a_.post();
    stale.next();
    EXPECT_FALSE(runAction([&] { stale.remove(); }));
    EXPECT_NE(box.errors.back().find("已经被删除"), std::string::npos) << box.errors.back();
    stale.next();
    EXPECT_FALSE(runAction([&] { stale.remove(); }));
    EXPECT_NE(box.errors.back().find("已被别处修改"), std::string::npos) << box.errors.back();
    EXPECT_EQ(stale.recordCount(), 3) << "a refused delete keeps the row";
    EXPECT_EQ(names(), "张三丰,王五");

    // After a re-read the same edits go through.
    stale.requery();
    ASSERT_TRUE(stale.locate("员工编号", Value("E03")));
    stale.remove();
    EXPECT_EQ(names(), "张三丰");
}

TEST_P(WriteBackTest, BatchWithAStaleRowWritesNothing)
{
    open(a_, "select * from 员工基本情况 order by 员工编号");
    DataSet& batch = open(b_, "select * from 员工基本情况 order by 员工编号");
    batch.setBatchMode(true);
    batch.edit();
    batch.setValue("姓名", Value("甲"));
    batch.next();
    batch.remove();  // E02, changed below through the other dataset
    a_.next();
    a_.edit();
    a_.setValue("体重", Value(55));
    a_.post();
    try {
        batch.applyUpdates();
        ADD_FAILURE() << "a stale row was written";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::StaleRow) << e.what();
    }
    EXPECT_TRUE(batch.hasPendingUpdates());
    EXPECT_EQ(names(), "张三,李四,王五");
}

// Values the database holds in another form than the one read (an amount with more than four
// decimals, a yes/no stored as -1 in a file, text differing only in case) are not taken for changes.
TEST_P(WriteBackTest, ValuesReadInAnotherFormStillMatchTheirRow)
{
    conn_.exec("insert into 物品登记 (物品名称, 单价) values ('笔', 0.1 + 0.2)");
    DataSet& goods = open(a_, "select * from 物品登记");
    goods.edit();
    goods.setValue("单价", Value("0.5"));
    goods.post();
    goods.remove();

    const bool file = GetParam() == rsgz::test::Engine::File;
    conn_.exec(std::string("insert into 权限 (姓名, 档案管理, 培训管理) values ('MiXed', ") + (file ? "-1, 0" : "true, false") + ")");
    DataSet& rights = open(b_, "select * from 权限 where 姓名 = 'mixed'");
    ASSERT_EQ(rights.recordCount(), 1);
    rights.edit();
    rights.setValue("档案管理", Value(false));
    rights.setValue("姓名", Value("mixed"));
    rights.post();
    rights.remove();
}

TEST_P(WriteBackTest, ADateLiteralFromARowsOwnValueFindsThatRow)
{
    DataSet& ds = open(a_, "select * from 员工基本情况 order by 员工编号");
    const std::string literal = sqlLiteral(ds.value("出生年月"), FieldType::DateTime);
    open(b_, "select * from 员工基本情况 where 出生年月 = " + literal);
    ASSERT_EQ(b_.recordCount(), 1) << literal;
    EXPECT_EQ(b_.asString("员工编号"), "E01");
}

}  // namespace
