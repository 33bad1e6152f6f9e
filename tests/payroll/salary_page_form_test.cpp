// The salary table page without its widgets: the set shown, the quick search taken back, closing
// through the error handling of every button, and the month the generation window made.
#include <gtest/gtest.h>

#include "payroll/MonthTable.h"
#include "payroll/SalaryPageForm.h"
#include "query/QueryFixture.h"

using namespace rsgz;

namespace {

class SalaryPageFormTest : public test::QueryFixture {
protected:
    // Set 管理: gz01 基本 entered. Set 生产: gz01 基本 entered, gz02 补贴 = gz01/10, gz03 实发 =
    // gz01+gz02; its rows store 0 in the computed columns, as a month just generated does.
    SalaryPageFormTest()
    {
        program.logIn("admin");
        exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理'), ('02', '生产')");
        exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式) values ('01', 'gz01', '基本', ''), "
             "('02', 'gz01', '基本', ''), ('02', 'gz02', '补贴', 'gz01/10'), ('02', 'gz03', '实发', 'gz01+gz02')");
        exec("insert into 工资表 (姓名, 员工编号, 工资帐套, 年, 月, 结帐状态, gz01, gz02, gz03) values "
             "('甲', 'E1', '管理', '2024', '03', '否', 3000, 0, 0), ('乙', 'E2', '管理', '2024', '03', '否', 1000, 0, 0), "
             "('丙', 'E3', '管理', '2024', '04', '否', 2000, 0, 0), ('丁', 'E4', '生产', '2024', '03', '否', 500, 0, 0)");
        // A new installation: the tree's field list, no tree yet; the first visit builds it.
        writeLines("set/gzb_Search.List", {"工资帐套", "年", "月"});
        form.attachQueries(pages.trees(), pages.settings());
        form.onRead = [this] { ++reads; };
        form.opened();
        user.clear();
    }
    void exec(const std::string& sql) { dm.DMADO.exec(sql); }
    int rows() const { return dm.gzb.active() ? dm.gzb.recordCount() : -1; }

    payroll::SalaryPageForm form{dm};
    int reads = 0;
};
RSGZ_ON_BOTH_ENGINES(SalaryPageFormTest);

TEST_P(SalaryPageFormTest, QuickSearchIsTakenBackAndReopeningThePageStartsClean)
{
    EXPECT_EQ(form.set, "管理");
    EXPECT_EQ(rows(), 3);
    EXPECT_EQ(pages.trees().tree(11).size(), 7);  // 管理 2024 03 04, 生产 2024 03
    form.search("姓名", "甲");
    EXPECT_EQ(rows(), 1);
    EXPECT_NE(form.view().question(true).find("的 1 条工资记录"), std::string::npos);

    form.search("姓名", "");  // the box emptied: the whole selection again
    EXPECT_EQ(rows(), 3);
    EXPECT_NE(form.view().question(true).find("的 3 条工资记录"), std::string::npos);

    form.clickNode(2);  // 管理 > 2024 > 03
    form.search("姓名", "乙");
    EXPECT_EQ(rows(), 1);
    form.search("姓名", "");
    EXPECT_EQ(rows(), 2);  // the node's rows, not the whole set

    form.search("姓名", "乙");
    form.opened();  // the module chosen again
    EXPECT_EQ(rows(), 3);
    EXPECT_TRUE(form.view().filter().searchText.empty());
    EXPECT_TRUE(form.view().filter().nodes.empty());
}

// A database error while closing is reported like that of any other button; the view is read again
// and nothing was closed.
TEST_P(SalaryPageFormTest, ClosingFailureReachesTheErrorBoxAndTheViewStaysOpen)
{
    test::refuseWrites(dm.DMADO, "refuse_close", test::Write::Update, "工资表", "", "磁盘已满");
    user.answer(true);
    EXPECT_NO_THROW(form.closeOrReopen(true));
    ASSERT_EQ(user.errors.size(), 1u);
    EXPECT_NE(user.errors[0].find("磁盘已满"), std::string::npos);
    EXPECT_EQ(rows(), 3);
    test::dropRefusal(dm.DMADO, "refuse_close", "工资表");

    user.answer(true);
    form.closeOrReopen(true);
    EXPECT_EQ(user.messages.back(), "已结帐 3 条工资记录。");
    user.answer(true);
    form.closeOrReopen(false);
    EXPECT_EQ(user.messages.back(), "已取消结帐 3 条工资记录。");
}

// After generating, the page shows the month's set and the month through its tree node, with the
// formula items and the net pay computed; a month the tree does not list yet is shown all the same.
TEST_P(SalaryPageFormTest, GeneratedMonthIsShownComputedThroughItsNode)
{
    const int node = form.showMonth(payroll::Period::of("生产", 2024, 3));
    ASSERT_GE(node, 0);
    EXPECT_EQ(pages.trees().tree(11).path(node), (std::vector<std::string>{"生产", "2024", "03"}));
    EXPECT_EQ(form.set, "生产");
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(dm.gzb.value("gz02").toMoney().toString(2), "50.00");
    EXPECT_EQ(dm.gzb.value("gz03").toMoney().toString(2), "550.00");

    exec("insert into 工资表 (姓名, 员工编号, 工资帐套, 年, 月, 结帐状态, gz01) values ('戊', 'E5', '管理', '2024', '05', '否', 800)");
    EXPECT_EQ(form.showMonth(payroll::Period::of("管理", 2024, 5)), -1);
    EXPECT_EQ(form.set, "管理");
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(dm.gzb.asString("姓名"), "戊");
}

}  // namespace
