#include <gtest/gtest.h>

#include "QueryFixture.h"
#include "query/PersonnelStatistics.h"

using namespace rsgz;
using query::StatisticsRow;

namespace {

// Seven employees in two departments; 学历 empty for one and missing for another, one value with a
// quote in it.
class StatisticsTest : public test::QueryFixture {
protected:
    StatisticsTest()
    {
        const std::vector<std::vector<std::string>> people = {
            {"001", "销售部", "本科"}, {"002", "销售部", "本科"}, {"003", "生产部", "本科"}, {"004", "生产部", "大专"},
            {"005", "销售部", "大专"}, {"006", "生产部", ""},     {"007", "销售部", "O'Level"},
        };
        for (const auto& p : people) addEmployee({{"员工编号", p[0]}, {"一级部门", p[1]}, {"学历", p[2]}});
        addEmployee({{"员工编号", "008"}, {"一级部门", "生产部"}});
        nav.chooseModule(6);
    }
    std::vector<StatisticsRow> result()
    {
        std::vector<StatisticsRow> rows;
        for (int r = 0; r < dm.rytongji.rowCount(); ++r)
            rows.push_back({dm.rytongji.rowValue(r, dm.rytongji.fieldIndex("统计类别")).toString(),
                            dm.rytongji.rowValue(r, dm.rytongji.fieldIndex("人数")).toInt()});
        return rows;
    }
    // A one-level personnel tree of the departments; the node of the given text.
    int departmentNode(const std::string& text)
    {
        writeLines("set/rszl_Search.List", {"一级部门"});
        writeLines("set/rszl.list", {"生产部", "销售部"});
        pages.trees().load(6);
        const query::QueryTree& t = pages.trees().tree(6);
        for (int n = 0; n < t.size(); ++n)
            if (t.node(n).text == text) return n;
        return -1;
    }

    query::PersonnelStatistics statistics{dm, pages.trees()};
};
RSGZ_ON_BOTH_ENGINES(StatisticsTest);

}  // namespace

// Every employee is counted once: one row per value in pinyin order, the rest under 其他, and the
// counts add up to the employees counted.
TEST_P(StatisticsTest, CountsPerValueAndTheRest)
{
    ASSERT_TRUE(statistics.run("学历", -1));
    EXPECT_EQ(result(), (std::vector<StatisticsRow>{{"O'Level", 1}, {"本科", 3}, {"大专", 2}, {"其他", 2}}));

    ASSERT_TRUE(statistics.run("一级部门", -1));
    EXPECT_EQ(result(), (std::vector<StatisticsRow>{{"生产部", 4}, {"销售部", 4}, {"其他", 0}}));
    EXPECT_TRUE(user.errors.empty()) << user.errors.front();
}

// A node of the tree narrows every count to its people; the status names the path.
TEST_P(StatisticsTest, ANodeNarrowsTheCount)
{
    const int node = departmentNode("生产部");
    ASSERT_GE(node, 0);
    ASSERT_TRUE(statistics.run("学历", node));
    EXPECT_EQ(result(), (std::vector<StatisticsRow>{{"本科", 1}, {"大专", 1}, {"其他", 2}}));
    EXPECT_EQ(view.hints, std::vector<std::string>{"当前数据：  生产部"});
    ASSERT_TRUE(statistics.run("性别", node));
    EXPECT_EQ(result(), (std::vector<StatisticsRow>{{"其他", 4}}));
}

// A text that names no countable column (typing passes through such texts), or a tree whose field
// list is out of date, leaves the previous result; the working table is never written.
TEST_P(StatisticsTest, RefusedRunsKeepThePreviousResult)
{
    ASSERT_TRUE(statistics.run("学历", -1));
    const std::vector<StatisticsRow> before = result();
    for (const char* item : {"学", "学历 or 1=1", "个人简历", "年龄", ""}) {
        SCOPED_TRACE(item);
        EXPECT_FALSE(statistics.run(item, -1));
        EXPECT_EQ(result(), before);
    }
    const int node = departmentNode("销售部");
    writeLines("set/rszl_Search.List", {"不存在的列"});
    EXPECT_FALSE(statistics.run("学历", node));
    EXPECT_EQ(user.messages, std::vector<std::string>{"检索列表过时，应该重新生成！"});
    EXPECT_EQ(result(), before);
    EXPECT_TRUE(user.errors.empty()) << user.errors.front();
    EXPECT_EQ(program.count("人员统计"), 0);
}

// Entering the page reopens the result empty and counts nothing.
TEST_P(StatisticsTest, EnteringThePageCountsNothing)
{
    writeLines("set/tongji.list", {"学历", "性别"});
    EXPECT_EQ(statistics.items(), (std::vector<std::string>{"学历", "性别"}));
    ASSERT_TRUE(statistics.run("学历", -1));
    nav.chooseModule(1);
    nav.chooseModule(6);
    EXPECT_TRUE(dm.rytongji.active());
    EXPECT_EQ(dm.rytongji.rowCount(), 0);
}

// What a chart shows: empty categories left out; beyond the places, the smallest folded into 其他.
TEST(StatisticsChart, SmallCategoriesFoldIntoOther)
{
    const struct {
        std::vector<StatisticsRow> rows;
        size_t shown;
        std::vector<StatisticsRow> chart;
    } cases[] = {
        {{{"a", 5}, {"b", 0}, {"其他", 0}}, 4, {{"a", 5}}},
        {{{"a", 5}, {"b", 1}, {"c", 3}, {"其他", 0}}, 3, {{"a", 5}, {"b", 1}, {"c", 3}}},
        {{{"a", 5}, {"b", 1}, {"c", 3}, {"d", 2}, {"其他", 0}}, 3, {{"a", 5}, {"c", 3}, {"其他", 3}}},
        {{{"a", 1}, {"b", 9}, {"c", 1}, {"其他", 4}}, 2, {{"b", 9}, {"其他", 6}}},
        {{{"a", 2}, {"b", 2}, {"c", 2}, {"其他", 1}}, 3, {{"a", 2}, {"b", 2}, {"其他", 3}}},
    };
    for (const auto& c : cases) EXPECT_EQ(query::chartRows(c.rows, c.shown), c.chart);
}
