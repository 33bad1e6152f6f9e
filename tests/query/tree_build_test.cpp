#include <gtest/gtest.h>

#include "QueryFixture.h"
#include "query/QueryDefinition.h"

using namespace rsgz;

namespace {

class TreeBuild : public test::QueryFixture {
protected:
    void SetUp() override
    {
        QueryFixture::SetUp();
        if (IsSkipped()) return;
        const struct {
            const char *no, *d1, *d2, *d3, *title, *payroll;
        } people[] = {
            {"1", "销售部", "华东区", "上海", "工程师", "是"}, {"2", "销售部", "华东区", "上海", "技术员", "否"},
            {"3", "销售部", "华北区", "", "工程师", "是"},     {"4", "生产部", "一车间", "甲班", "", "是"},
            {"5", "", "华北区", "北京", "工程师", "是"},       {"6", "销售部", "华东区", "杭州", "工程师", "否"},
        };
        for (const auto& p : people)
            addEmployee({{"员工编号", p.no}, {"一级部门", p.d1}, {"二级部门", p.d2}, {"三级部门", p.d3}, {"职称", p.title},
                         {"工资核算", p.payroll}});
    }
    const std::vector<std::string> levels = {"一级部门", "二级部门", "三级部门", "职称"};
    // Pinyin order at every level; empty values end a path; no row without a root value.
    const std::vector<std::string> expected = {"生产部", "\t一车间", "\t\t甲班", "销售部", "\t华北区", "\t华东区", "\t\t杭州",
                                               "\t\t\t工程师", "\t\t上海", "\t\t\t工程师", "\t\t\t技术员"};
};
RSGZ_ON_BOTH_ENGINES(TreeBuild);

}  // namespace

TEST_P(TreeBuild, FourLevelsFromOneQueryAreShownAndSaved)
{
    nav.chooseModule(1);
    ASSERT_TRUE(pages.trees().build(1, levels));
    EXPECT_EQ(pages.trees().tree(1).fileLines(), expected);
    EXPECT_EQ(db::readSettingsLines(program.path("set/rszl.list")), expected);

    // The payroll-set assignment shares the file and the tree: built there, it still covers everyone.
    nav.chooseModule(10);
    ASSERT_TRUE(pages.trees().build(10, levels));
    EXPECT_EQ(pages.trees().tree(1).fileLines(), expected);

    // The statistics page shows the same tree and never writes it.
    nav.chooseModule(6);
    EXPECT_EQ(pages.trees().tree(6).fileLines(), expected);
    EXPECT_FALSE(pages.trees().build(6, levels));

    // A fifth column takes no part.
    nav.chooseModule(1);
    std::vector<std::string> five = levels;
    five.push_back("性别");
    ASSERT_TRUE(pages.trees().build(1, five));
    EXPECT_EQ(pages.trees().tree(1).fileLines(), expected);
    EXPECT_TRUE(user.messages.empty());
}

TEST_P(TreeBuild, RefusesColumnsTheListDoesNotHave)
{
    nav.chooseModule(1);
    ASSERT_TRUE(pages.trees().build(1, {"一级部门"}));
    for (const char* wrong : {"没有的列", "年龄", "序号", "编号"}) {
        user.clear();
        EXPECT_FALSE(pages.trees().build(1, {"一级部门", wrong}));
        EXPECT_EQ(user.messages, std::vector<std::string>{"左边的列表有误，不属于右边列表的一部分！"}) << wrong;
    }
    EXPECT_EQ(pages.trees().tree(1).fileLines(), (std::vector<std::string>{"生产部", "销售部"}));
}

// The definition window: its lists, its refusals, and a tree regenerated from an unsaved list that
// the click filter then refuses until the list is saved.
TEST_P(TreeBuild, DefinitionBuildsFromTheListAsShown)
{
    nav.chooseModule(1);
    query::QueryDefinition def(pages.trees(), 1);
    EXPECT_TRUE(def.chosen().empty());
    for (const char* hidden : {"年龄", "工龄", "本单位工龄", "序号", "编号"})
        EXPECT_EQ(std::count(def.candidates().begin(), def.candidates().end(), hidden), 0) << hidden;

    def.regenerate();
    EXPECT_EQ(user.messages, std::vector<std::string>{"未定义查询字段！"});
    user.clear();

    for (const std::string& c : levels) EXPECT_TRUE(def.add(c));
    EXPECT_FALSE(def.add("一级部门"));  // already there: refused silently
    EXPECT_TRUE(user.messages.empty());
    EXPECT_FALSE(def.add("性别"));      // a fifth level: refused with a notice
    EXPECT_EQ(user.messages.size(), 1u);
    user.clear();

    EXPECT_EQ(def.moveUp(0), 0);
    EXPECT_EQ(def.moveDown(-1), -1);
    EXPECT_EQ(def.remove(-1), -1);
    EXPECT_EQ(user.messages, std::vector<std::string>(3, "请在左边的列表中选择一个字段！"));
    EXPECT_EQ(def.moveDown(3), 3);  // the last line stays
    EXPECT_EQ(def.moveUp(1), 0);
    EXPECT_EQ(def.chosen()[0], "二级部门");
    EXPECT_EQ(def.moveDown(0), 1);

    def.regenerate();
    EXPECT_EQ(pages.trees().tree(1).fileLines(), expected);
    user.clear();
    pages.nodeClicked(1, 1);  // the list was never saved
    EXPECT_EQ(user.messages, std::vector<std::string>{"检索列表过时，应该重新生成！"});

    def.save();
    EXPECT_EQ(db::readSettingsLines(program.path("set/rszl_Search.List")), levels);
    pages.nodeClicked(1, 1);
    EXPECT_EQ(dm.rszl.sqlLines(), (db::SqlLines{"select * from 员工基本情况", "where 二级部门='一车间'", "and 一级部门='生产部'"}));
    EXPECT_EQ(column("员工编号"), std::vector<std::string>{"4"});

    // The menu's refresh builds from the saved list without the window.
    dm.DMADO.exec("update 员工基本情况 set 一级部门='财务部' where 员工编号='4'");
    nav.treeMenu(1, "刷新查询列表");
    EXPECT_EQ(pages.trees().tree(1).node(0).text, "财务部");
}

TEST_P(TreeBuild, SalaryTableOffersNoSalaryItems)
{
    query::QueryDefinition def(pages.trees(), 11);
    EXPECT_FALSE(def.candidates().empty());
    for (const std::string& c : def.candidates()) {
        EXPECT_EQ(c.find("gz"), std::string::npos) << c;
        EXPECT_NE(c, "工资帐套");
    }
    // Modules without a tree offer nothing.
    EXPECT_TRUE(query::QueryDefinition(pages.trees(), 9).candidates().empty());
}
