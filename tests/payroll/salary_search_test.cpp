// The salary page's tree, sort bar and quick search over the salary view.
#include <gtest/gtest.h>

#include <algorithm>

#include "db/Connection.h"
#include "payroll/SalarySearch.h"
#include "payroll/SalaryView.h"
#include "query/QueryFixture.h"
#include "support/EngineFixture.h"

using namespace rsgz;

namespace {

class SalarySearchTest : public test::QueryFixture {
protected:
    // Set 管理: gz01 基本 entered, gz02 个税 on 基本 above 1600, gz03 实发 = gz01-gz02. The stored
    // gz03 runs against the displayed net pay, so an order taken from the stored column shows.
    SalarySearchTest()
    {
        exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理')");
        exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 个税起征点, 个税关联) values "
             "('01', 'gz01', '基本', '', '否', 0, ''), ('01', 'gz02', '个税', '', '是', 1600, '基本'), "
             "('01', 'gz03', '实发', 'gz01-gz02', '否', 0, '')");
        exec("insert into 所得税设置 (起始额, 结束额, 税率, 速扣) values (0, 500, 5, 0), (500, 2000, 10, 25)");
        exec("insert into 工资表 (姓名, 员工编号, 工资帐套, 年, 月, 结帐状态, gz01, gz03) values "
             "('甲', 'E1', '管理', '2024', '03', '否', 3000, 1), ('乙', 'E2', '管理', '2024', '03', '否', 1000, 3), "
             "('丙', 'E3', '管理', '2024', '03', '否', 2000, 2), ('丁', 'E4', '管理', '2024', '04', '否', 500, 9)");
        writeLines("set/gzb_Search.List", {"年", "月"});
        writeLines("set/gzb.list", {"2024", "\t03", "\t04"});
        pages.trees().load(11);
        pages.enterPage(11);
        salary.build("管理");
        salary.open();
    }
    void exec(const std::string& sql) { dm.DMADO.exec(sql); }
    std::vector<std::string> names()
    {
        std::vector<std::string> out;
        for (dm.gzb.first(); !dm.gzb.eof(); dm.gzb.next()) out.push_back(dm.gzb.asString("姓名"));
        return out;
    }
    bool hasOrderLine() const
    {
        const db::SqlLines& l = dm.gzb.sqlLines();
        return std::any_of(l.begin(), l.end(), [](const std::string& s) { return s.rfind("order by", 0) == 0; });
    }

    payroll::SalaryView salary{dm.DMADO, dm.gzb};
    payroll::SalarySearch search{salary, dm.gzb, pages.trees(), pages.settings()};
};
RSGZ_ON_BOTH_ENGINES(SalarySearchTest);

TEST_P(SalarySearchTest, NodeClickNarrowsToThePathOfTheChosenSet)
{
    search.search("姓名", "丁");
    ASSERT_TRUE(search.clickNode("管理", 1));  // 2024 > 03
    const db::SqlLines& lines = dm.gzb.sqlLines();
    EXPECT_EQ(db::SqlLines(lines.end() - 3, lines.end()),
              (db::SqlLines{"where 工资帐套='管理'", "and 月='03'", "and 年='2024'"}));  // the search is dropped
    EXPECT_EQ(dm.gzb.recordCount(), 3);
    EXPECT_EQ(salary.question(true).find("所有月份"), std::string::npos);
    EXPECT_EQ(view.hints.back(), "当前数据：  2024     03");

    ASSERT_TRUE(search.clickNode("管理", -1));
    EXPECT_EQ(dm.gzb.recordCount(), 4);
}

TEST_P(SalarySearchTest, OutdatedFieldListKeepsTheViewAsItWas)
{
    ASSERT_TRUE(search.clickNode("管理", 2));  // 04
    writeLines("set/gzb_Search.List", {"年", "已删除的列"});
    EXPECT_FALSE(search.clickNode("管理", 1));
    EXPECT_EQ(user.messages.back(), "检索列表过时，应该重新生成！");
    EXPECT_EQ(names(), std::vector<std::string>{"丁"});
    EXPECT_EQ(salary.filter().nodes.size(), 2u);
}

// The tax and the net pay are ordered by what the grid shows, in the program; every other column by
// the database. Either way the sort survives a node click and the choice is stored.
TEST_P(SalarySearchTest, SortByComputedColumnsFollowsTheDisplayedValues)
{
    ASSERT_TRUE(search.clickNode("管理", 1));
    const struct {
        const char* field;
        const char* order;
        std::vector<std::string> names;
        bool orderLine;
    } cases[] = {
        {"gz03", "升序", {"乙", "丙", "甲"}, false},  // net 1000, 1980, 2885
        {"gz03", "降序", {"甲", "丙", "乙"}, false},
        {"gz02", "降序", {"甲", "丙", "乙"}, false},  // tax 115, 20, 0
        {"gz01", "降序", {"甲", "丙", "乙"}, true},
        {"员工编号", "升序", {"甲", "乙", "丙"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + c.order);
        ASSERT_TRUE(search.sort(c.field, c.order));
        EXPECT_EQ(names(), c.names);
        EXPECT_EQ(hasOrderLine(), c.orderLine);
        EXPECT_EQ(dm.gzb.asMoney("gz03"), salary.netOf(dm.gzb.asInt("编号")));  // values follow their rows
    }
    ASSERT_TRUE(search.sort("gz03", "降序"));
    ASSERT_TRUE(search.clickNode("管理", 1));
    EXPECT_EQ(names(), (std::vector<std::string>{"甲", "丙", "乙"}));
    const auto stored = pages.settings().read(11);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->field, "gz03");
    EXPECT_EQ(stored->order, "降序");

    EXPECT_FALSE(search.sort("编号", "升序"));
    EXPECT_FALSE(search.sort("gz03", "随便"));
}

// The stored gz03 (1, 3, 2, 9) never matches what is shown: the search and the closing that follows
// take the computed figures, 甲 2885.00 (tax 115.00), 乙 1000.00, 丙 1980.00 (tax 20.00).
TEST_P(SalarySearchTest, QuickSearchByAComputedColumnTakesTheShownValuesAndClosingTakesThoseRows)
{
    const std::vector<std::string> fields = search.searchFields();
    EXPECT_EQ(fields.front(), "姓名");
    for (const char* computed : {"gz02", "gz03"}) EXPECT_NE(std::find(fields.begin(), fields.end(), computed), fields.end());
    for (const char* hidden : {"序号", "编号"}) EXPECT_EQ(std::find(fields.begin(), fields.end(), hidden), fields.end());

    ASSERT_TRUE(search.clickNode("管理", 1));  // 2024 > 03
    ASSERT_TRUE(search.search("gz03", "1980"));
    EXPECT_EQ(names(), std::vector<std::string>{"丙"});
    ASSERT_TRUE(search.search("gz02", "115.00"));
    EXPECT_EQ(names(), std::vector<std::string>{"甲"});
    ASSERT_TRUE(search.search("gz03", "0.00"));  // 1000.00 and 1980.00 as shown, not 2885.00
    EXPECT_EQ(names(), (std::vector<std::string>{"乙", "丙"}));

    EXPECT_NE(salary.question(true).find("2 条工资记录"), std::string::npos) << salary.question(true);
    EXPECT_EQ(salary.closeRows(), 2);
    EXPECT_EQ(names(), (std::vector<std::string>{"乙", "丙"}));
    EXPECT_EQ(test::rowsText(dm.DMADO, "select 姓名, 结帐状态, gz03 from 工资表 order by 员工编号"),
              "甲否1,乙是1000,丙是1980,丁否9");

    ASSERT_TRUE(search.search("姓名", ""));
    EXPECT_EQ(dm.gzb.recordCount(), 3);  // the node's rows again
}

}  // namespace
