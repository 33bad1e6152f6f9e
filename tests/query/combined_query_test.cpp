#include <gtest/gtest.h>

#include "QueryFixture.h"
#include "query/CombinedQuery.h"

using namespace rsgz;

namespace {

class CombinedQueryTest : public test::QueryFixture {
protected:
    // The window of a page as it opens after the page's list: its offered columns written over
    // whatever the page wrote, and the boxes read.
    query::CombinedQuery& window(int module, const std::vector<std::string>& offered,
                                 const std::vector<std::string>& dropDowns = {})
    {
        nav.chooseModule(module);
        const std::string key = query::combinedQueryKindOf(module)->key;
        writeLines("set/" + key + "fields.txt", offered);
        writeLines("set/" + key + "fieldss.txt", dropDowns);
        query_ = std::make_unique<query::CombinedQuery>(dm, pages.queries(), module);
        query_->load();
        return *query_;
    }
    db::DataSet& list(int module) { return *pages.queries().dataSet(module); }

    std::unique_ptr<query::CombinedQuery> query_;
};
RSGZ_ON_BOTH_ENGINES(CombinedQueryTest);

}  // namespace

// Each window's statement for a few filled boxes: the page's own statement, a condition per filled
// box (an empty box adds none), then the page's own joins and order. Every statement also runs.
TEST_P(CombinedQueryTest, StatementOfEachWindow)
{
    const struct {
        int module;
        std::vector<std::string> columns, values, tail;
    } cases[] = {
        {1, {"姓名", "性别", "一级部门"}, {"张", "", "销售部"},
         {"where 姓名 like '%张%'", "and 一级部门 like '%销售部%'"}},
        {10, {"姓名", "一级部门"}, {"张", ""}, {"where 姓名 like '%张%'", "and 工资核算='是'"}},
        {2, {"培训名称", "开始日期", "培训费用", "受培训人姓名"}, {"安全", "2005-3-1", "120.5", ""},
         {"where 培训名称 like '%安全%'", "and 开始日期=#2005-03-01#", "and 培训费用=120.5", "and 课程编号=课程编号1",
          "and 员工编号1=员工编号"}},
        {3, {"评定职称", "取得日期"}, {"工程", "2005"}, {"where 评定职称 like '%工程%'", "and cast(取得日期 as text) like '%2005%'",
                                                     "and 员工编号1=员工编号"}},
        {4, {"奖或惩", "奖惩级别"}, {"奖", "厂"},
         {"where 奖或惩 like '%奖%'", "and 奖惩级别 like '%厂%'", "and 员工编号1=员工编号",
          "order by 奖惩情况.编号 collate zh desc"}},
        {5, {"调动类型", "调动后一级部门"}, {"调入", "销售"},
         {"where 调动类型 like '%调入%'", "and 调动后一级部门 like '%销售%'"}},
        {7, {"考评项目", "考评等级", "考评人1"}, {"年度", "优", ""},
         {"where 考评项目 like '%年度%'", "and 考评等级 like '%优%'", "and 考评编号=考评编号1", "and 员工编号1=员工编号"}},
        {8, {"物品", "领用人姓名"}, {"工作服", "李"},
         {"where 物品 like '%工作服%'", "and 领用人姓名 like '%李%'", "and 员工编号1=员工编号"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("module " + std::to_string(c.module));
        query::CombinedQuery& w = window(c.module, c.columns);
        ASSERT_EQ(w.boxes().size(), c.columns.size());
        ASSERT_TRUE(w.run(c.values));
        db::SqlLines expected = query::queryModule(c.module)->select;
        expected.insert(expected.end(), c.tail.begin(), c.tail.end());
        EXPECT_EQ(list(c.module).sqlLines(), expected);
        EXPECT_TRUE(list(c.module).active());
        EXPECT_TRUE(user.errors.empty()) << user.errors.front();
    }
}

// With nothing filled in the page shows all its rows: its own statement without a condition.
TEST_P(CombinedQueryTest, NothingFilledShowsThePageUnfiltered)
{
    addEmployee({{"员工编号", "001"}, {"姓名", "张三"}, {"工资核算", "是"}});
    addEmployee({{"员工编号", "002"}, {"姓名", "李四"}});
    query::CombinedQuery& w = window(1, {"姓名"});
    ASSERT_TRUE(w.run({""}));
    EXPECT_EQ(list(1).sqlLines(), db::SqlLines{"select * from 员工基本情况"});
    EXPECT_EQ(list(1).recordCount(), 2);
}

// A quote in any typed value is a character searched for: it finds the person and never breaks the
// statement. In the training window a quote in a number or a date is refused before any query.
TEST_P(CombinedQueryTest, QuotesInTypedValues)
{
    addEmployee({{"员工编号", "001"}, {"姓名", "O'Brien"}, {"工资核算", "是"}});
    addEmployee({{"员工编号", "002"}, {"姓名", "Brien"}, {"工资核算", "是"}});
    for (const int module : {1, 10}) {
        query::CombinedQuery& w = window(module, {"姓名", "一级部门"});
        ASSERT_TRUE(w.run({"O'B", ""}));
        EXPECT_EQ(column("姓名"), std::vector<std::string>{"O'Brien"});
    }
    query::CombinedQuery& training = window(2, {"受培训人姓名", "培训费用", "开始日期"});
    EXPECT_TRUE(training.run({"O'B", "", ""}));
    EXPECT_TRUE(user.errors.empty()) << user.errors.front();
    const db::SqlLines before = list(2).sqlLines();
    EXPECT_FALSE(training.run({"", "1' or '1'='1", ""}));
    EXPECT_FALSE(training.run({"", "", "2005-1-1' or '1'='1"}));
    EXPECT_EQ(user.messages, (std::vector<std::string>{"数字输入错误！", "日期输入错误！"}));
    EXPECT_EQ(list(2).sqlLines(), before);
}

// What is typed is searched for as it is: "%" and "_" are characters, not patterns, and a NUL is
// refused with a notice instead of reaching the engine.
TEST_P(CombinedQueryTest, WildcardsAreSearchedLiterallyAndANulIsRefused)
{
    addEmployee({{"员工编号", "001"}, {"姓名", "甲"}, {"备注", "提成50%"}});
    addEmployee({{"员工编号", "002"}, {"姓名", "乙"}, {"备注", "a_b"}});
    addEmployee({{"员工编号", "003"}, {"姓名", "丙"}, {"备注", "axb\\c"}});
    query::CombinedQuery& w = window(1, {"备注"});
    const struct {
        std::string typed;
        std::vector<std::string> found;
    } cases[] = {{"%", {"甲"}}, {"_", {"乙"}}, {"a_b", {"乙"}}, {"\\", {"丙"}}, {"50%", {"甲"}}, {"x", {"丙"}}};
    for (const auto& c : cases) {
        ASSERT_TRUE(w.run({c.typed})) << c.typed;
        EXPECT_EQ(column("姓名"), c.found) << c.typed;
    }
    const db::SqlLines before = list(1).sqlLines();
    EXPECT_FALSE(w.run({std::string("a\0b", 3)}));
    EXPECT_EQ(user.messages, std::vector<std::string>{query::kNoNulInValues});
    EXPECT_TRUE(user.errors.empty()) << user.errors.front();
    EXPECT_EQ(list(1).sqlLines(), before);
}

// Typed values of the training window: a date or number that does not read is refused with its
// notice and the list keeps its rows; a date is compared in the stored form.
TEST_P(CombinedQueryTest, TrainingDatesAndNumbersAreChecked)
{
    addEmployee({{"员工编号", "001"}, {"姓名", "张三"}});
    dm.DMADO.exec("insert into 培训课程 (培训名称, 开始日期, 课程编号) values ('安全', '2005-03-01', 'K1')");
    dm.DMADO.exec("insert into 培训记录 (受培训人姓名, 培训费用, 员工编号1, 课程编号1) values ('张三', 80, '001', 'K1')");
    query::CombinedQuery& w = window(2, {"开始日期", "培训费用"});
    ASSERT_TRUE(w.run({"2005-3-1", "80"}));
    EXPECT_EQ(list(2).recordCount(), 1);

    const struct {
        std::vector<std::string> values;
        std::string notice;
    } refused[] = {
        {{"2005-2-30", ""}, "日期输入错误！"},
        {{"1.3.2005", ""}, "日期输入错误！"},
        {{"", "8O"}, "数字输入错误！"},
        {{"", "1,5"}, "数字输入错误！"},
    };
    for (const auto& r : refused) {
        user.clear();
        EXPECT_FALSE(w.run(r.values));
        EXPECT_EQ(user.messages, std::vector<std::string>{r.notice});
        EXPECT_EQ(list(2).recordCount(), 1);
    }
}

// Names in the column files that are no column of the page's list are left out (and repeated ones
// offered once); at most 60 boxes.
TEST_P(CombinedQueryTest, OnlyRealColumnsBecomeBoxes)
{
    std::vector<std::string> offered = {"姓名", "不存在的列", "姓名 ", "年龄", "编号", "性别"};
    query::CombinedQuery& w = window(1, offered);
    std::vector<std::string> columns;
    for (const query::QueryBox& b : w.boxes()) columns.push_back(b.column);
    EXPECT_EQ(columns, (std::vector<std::string>{"姓名", "性别"}));

    offered.clear();
    for (int i = 0; i < 70; ++i) offered.push_back(dm.rszl.field(i).name);
    EXPECT_EQ(window(1, offered).boxes().size(), query::CombinedQuery::kMaxBoxes);
}

// A query the database refuses leaves the page with its previous rows and statement.
TEST_P(CombinedQueryTest, AFailedQueryKeepsThePreviousResult)
{
    addEmployee({{"员工编号", "001"}, {"姓名", "张三"}, {"性别", "男"}});
    query::CombinedQuery& w = window(1, {"姓名", "性别"});
    ASSERT_TRUE(w.run({"张", ""}));
    const db::SqlLines before = list(1).sqlLines();
    dm.DMADO.exec("alter table 员工基本情况 rename column 性别 to 性别旧");
    EXPECT_ANY_THROW(w.run({"", "男"}));
    EXPECT_EQ(list(1).sqlLines(), before);
    EXPECT_EQ(list(1).recordCount(), 1);
}

// The payroll-set assignment page keeps its payroll flag: people outside the payroll never appear.
TEST_P(CombinedQueryTest, FromTheSetAssignmentPageOnlyPayrollEmployees)
{
    addEmployee({{"员工编号", "001"}, {"姓名", "张三"}, {"工资核算", "是"}});
    addEmployee({{"员工编号", "002"}, {"姓名", "张四"}, {"工资核算", "否"}});
    query::CombinedQuery& w = window(10, {"姓名"});
    ASSERT_TRUE(w.run({"张"}));
    EXPECT_EQ(column("姓名"), std::vector<std::string>{"张三"});
}

// Drop-downs offer the dictionary's values and, on a first level, the departments; a department
// level refills the next level of its own group from the levels shown, and an emptied level leaves
// the next one without entries.
TEST_P(CombinedQueryTest, DropDownsAndDepartmentCascades)
{
    dm.DMADO.exec("insert into 数据字典 (字段名称, 字典内容) values ('调动类型', '调入'), ('调动类型', '调出')");
    dm.DMADO.exec("insert into 部门分类 (一级部门, 二级部门) values ('销售部', ''), ('销售部', '华东'), "
                  "('销售部', '华南'), ('生产部', ''), ('生产部', '一车间')");
    query::CombinedQuery& w = window(5, {"调动类型", "调动前一级部门", "调动前二级部门", "调动后一级部门", "调动后二级部门"},
                                     {"调动类型", "调动前一级部门", "调动前二级部门", "调动后一级部门", "调动后二级部门"});
    ASSERT_EQ(w.boxes().size(), 5u);
    EXPECT_EQ(w.boxes()[0].choices, (std::vector<std::string>{"调入", "调出"}));
    const std::vector<std::string> firstLevel = w.boxes()[1].choices;
    EXPECT_NE(std::find(firstLevel.begin(), firstLevel.end(), "销售部"), firstLevel.end());
    EXPECT_NE(std::find(firstLevel.begin(), firstLevel.end(), "生产部"), firstLevel.end());

    EXPECT_EQ(w.levelChanged(1, {"", "销售部", "", "生产部", ""}), 2);
    EXPECT_EQ(w.boxes()[2].choices, (std::vector<std::string>{"华东", "华南"}));
    EXPECT_EQ(w.levelChanged(3, {"", "销售部", "", "生产部", ""}), 4);
    EXPECT_EQ(w.boxes()[4].choices, std::vector<std::string>{"一车间"});
    EXPECT_EQ(w.levelChanged(1, {"", "", "", "生产部", ""}), 2);
    EXPECT_TRUE(w.boxes()[2].choices.empty());
    // The deepest level offered has no next box: nothing to refill.
    EXPECT_EQ(w.levelChanged(2, {"", "销售部", "华东", "", ""}), -1);
}
