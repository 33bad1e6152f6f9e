#include <gtest/gtest.h>

#include "QueryFixture.h"

using namespace rsgz;

namespace {

class TreeFilter : public test::QueryFixture {
protected:
    // A two-level tree 销售部 > value with the given field list, then a click on the value.
    void clickSecondLevel(int module, const std::string& treeKey, const std::string& listKey,
                          const std::vector<std::string>& fields, const std::string& value)
    {
        writeLines("set/" + listKey + "_Search.List", fields);
        writeLines("set/" + treeKey + ".list", {"销售部", "\t" + value});
        nav.chooseModule(module);
        pages.nodeClicked(module, 1);
    }
};
RSGZ_ON_BOTH_ENGINES(TreeFilter);

}  // namespace

// The statement of a click on a second-level node, per module: the node's condition, its parent's,
// then the module's own conditions (and order).
TEST_P(TreeFilter, ClickOnASecondLevelNodePerModule)
{
    const std::string salesDept = "and 一级部门='销售部'";
    const struct {
        int module;
        std::string treeKey, listKey, field, value, dataSet;
        std::vector<std::string> lines;
    } cases[] = {
        {1, "rszl", "rszl", "性别", "男", "rszl", {"select * from 员工基本情况", "where 性别='男'", salesDept}},
        {10, "rszl", "rszl", "性别", "男", "rszl",
         {"select * from 员工基本情况", "where 性别='男'", salesDept, "and 工资核算='是'"}},
        {2, "pxgl", "pxgl", "培训名称", "外语", "pxjl",
         {"select 开始日期,结束日期,培训名称,培训内容,培训单位,受培训人姓名,一级部门,二级部门,三级部门,四级部门,培训结果,培训费用,培训备注,课程编号,员工编号 from 培训课程,员工基本情况,培训记录",
          "where 培训名称='外语'", salesDept, "and 课程编号=课程编号1", "and 员工编号1=员工编号"}},
        {3, "zcpd", "zcpd", "评定职称", "工程师", "zcpd1",
         {"select 被评定人姓名,评定职称,取得日期,取得方式,聘用专业技术职务,聘用起始日,聘用结束日,聘用单位,职称英语,",
          "职称英语取得日期,职称计算机, 职称计算机取得日期,职称备注,一级部门,二级部门,三级部门,四级部门  from 职称评定,员工基本情况",
          "where 评定职称='工程师'", salesDept, "and 员工编号1=员工编号"}},
        {4, "jcgl", "jcqk", "奖或惩", "奖", "jcqk1",
         {"select 奖惩日期,奖惩人姓名,奖或惩,奖惩内容,奖惩原因,奖惩级别,批准部门,批准人,撤销日期,撤销原因,奖惩备注,一级部门,二级部门,三级部门,四级部门,员工编号,奖惩情况.编号 as 编号 from 奖惩情况,员工基本情况",
          "where 奖或惩='奖'", salesDept, "and 员工编号1=员工编号", "order by 奖惩情况.编号 collate zh desc"}},
        {5, "ddgl", "ddgl", "调动类型", "调入", "ddjl1", {"select * from 调动记录", "where 调动类型='调入'", "and 调动后一级部门='销售部'"}},
        {7, "kpgl", "kpqk", "考评等级", "优", "kpqk1",
         {"select 员工编号,被考评人姓名,考评项目,考评结果,考评等级,考评分数,考评人1,考评日期,考评备注,性别,职务,行政级别,一级部门,二级部门,三级部门,四级部门,职称 from 考评情况,考评项目表,员工基本情况",
          "where 考评等级='优'", salesDept, "and 考评编号=考评编号1", "and 员工编号1=员工编号"}},
        {8, "wply", "wply", "物品", "工作服", "wply1",
         {"select 物品编号,物品,领用日期,归还日期,数量,价值,领用备注,领用人姓名,一级部门,二级部门, 三级部门,四级部门,签字 from 物品领用,员工基本情况",
          "where 物品='工作服'", salesDept, "and 员工编号1=员工编号"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("module " + std::to_string(c.module));
        const std::string root = c.module == 5 ? "调动后一级部门" : "一级部门";
        clickSecondLevel(c.module, c.treeKey, c.listKey, {root, c.field}, c.value);
        EXPECT_EQ(dm.dataSet(c.dataSet)->sqlLines(), c.lines);
        EXPECT_TRUE(dm.dataSet(c.dataSet)->active());
    }
    EXPECT_TRUE(user.errors.empty()) << user.errors.front();
    EXPECT_TRUE(user.messages.empty()) << user.messages.front();
    EXPECT_EQ(view.hints.back(), "当前数据：  销售部     工作服");
}

// A floating-point root goes bare, a date level between "#"; a quote in a value is a character of
// the value. The rows found are exactly those of the path.
TEST_P(TreeFilter, LiteralsFollowTheColumnTypeAndFindTheRows)
{
    addEmployee({{"员工编号", "1"}, {"身高", "170.5"}, {"出生年月", "1980-05-01"}, {"姓名", "O'Brien"}});
    addEmployee({{"员工编号", "2"}, {"身高", "170.5"}, {"出生年月", "1981-01-01"}, {"姓名", "O'Brien"}});
    addEmployee({{"员工编号", "3"}, {"身高", "180"}, {"出生年月", "1980-05-01"}, {"姓名", "甲"}});
    writeLines("set/rszl_Search.List", {"身高", "出生年月", "姓名"});
    writeLines("set/rszl.list", {"170.5", "\t1980-05-01", "\t\tO'Brien"});
    nav.chooseModule(1);

    pages.nodeClicked(1, 1);
    EXPECT_EQ(dm.rszl.sqlLines(), (db::SqlLines{"select * from 员工基本情况", "where 出生年月=#1980-05-01#", "and 身高=170.5"}));
    EXPECT_EQ(column("员工编号"), std::vector<std::string>{"1"});
    EXPECT_EQ(view.hints.back(), "当前数据：  170.5     1980-05-01");

    pages.nodeClicked(1, 2);
    EXPECT_EQ(dm.rszl.sqlLines()[1], "where 姓名='O''Brien'");
    EXPECT_EQ(column("员工编号"), std::vector<std::string>{"1"});
    EXPECT_EQ(view.hints.back(), "当前数据：  170.5    1980-05-01    O'Brien");

    // Beside the nodes: the whole list again.
    pages.nodeClicked(1, -1);
    EXPECT_EQ(dm.rszl.sqlLines(), db::SqlLines{"select * from 员工基本情况"});
    EXPECT_TRUE(user.errors.empty()) << user.errors.front();
}

// A node deeper than the saved list, a list naming a column the list does not have, or a computed
// column: the notice, and the grid keeps what it shows.
TEST_P(TreeFilter, AnOutdatedFieldListLeavesTheGridAsItWas)
{
    addEmployee({{"员工编号", "1"}, {"一级部门", "销售部"}});
    writeLines("set/rszl.list", {"销售部", "\t男"});
    const std::vector<std::vector<std::string>> lists = {{"一级部门"}, {"一级部门", "没有的列"}, {"一级部门", "年龄"}, {}};
    nav.chooseModule(1);
    for (const auto& list : lists) {
        SCOPED_TRACE(list.size());
        writeLines("set/rszl_Search.List", list);
        user.clear();
        pages.nodeClicked(1, 1);
        EXPECT_EQ(user.messages, std::vector<std::string>{"检索列表过时，应该重新生成！"});
        EXPECT_EQ(dm.rszl.sqlLines(), db::SqlLines{"select * from 员工基本情况"});
        EXPECT_EQ(dm.rszl.recordCount(), 1);
    }
}

// A filter the database refuses leaves the rows and the statement they came from.
TEST_P(TreeFilter, AFailedStatementKeepsThePreviousResult)
{
    addEmployee({{"员工编号", "1"}});
    nav.chooseModule(1);
    query::ListQuery bad = query::baseQuery(*query::queryModule(1));
    bad.where(query::Condition::fixed("没有的列=1"));
    EXPECT_FALSE(app::runAction([&] { pages.queries().apply(1, bad); }));
    EXPECT_EQ(user.errors.size(), 1u);
    EXPECT_EQ(dm.rszl.sqlLines(), db::SqlLines{"select * from 员工基本情况"});
    EXPECT_EQ(dm.rszl.recordCount(), 1);
    EXPECT_EQ(pages.queries().current(1)->lines(), dm.rszl.sqlLines());
}

TEST_P(TreeFilter, ABrokenTreeFileKeepsWhatWasRead)
{
    writeLines("set/rszl.list", {"销售部", "\t一组", "\t\t\t太深", "生产部"});
    nav.chooseModule(1);
    EXPECT_EQ(user.messages, std::vector<std::string>{"载入检索列表错误！"});
    EXPECT_EQ(pages.trees().tree(1).fileLines(), (std::vector<std::string>{"销售部", "\t一组"}));
}
