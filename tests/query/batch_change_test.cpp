#include <gtest/gtest.h>

#include "QueryFixture.h"
#include "query/BatchChange.h"

using namespace rsgz;
using Request = query::BatchChange::Request;

namespace {

class BatchChangeTest : public test::QueryFixture {
protected:
    void SetUp() override
    {
        QueryFixture::SetUp();
        if (IsSkipped()) return;
        addEmployee({{"员工编号", "1"}, {"学历", "大专"}, {"性别", "男"}, {"出生年月", "1980-01-01"}});
        addEmployee({{"员工编号", "2"}, {"学历", ""}, {"性别", "女"}});
        addEmployee({{"员工编号", "3"}, {"性别", "男"}});
        addEmployee({{"员工编号", "4"}, {"学历", "本科"}, {"性别", "男"}});
        nav.chooseModule(1);
    }
    std::vector<std::string> valuesOf(const std::string& field)
    {
        db::DataSet& s = dm.s5;
        s.close();
        s.setSql({"select " + field + " from 员工基本情况", "order by 员工编号"});
        s.open();
        std::vector<std::string> out;
        for (s.first(); !s.eof(); s.next()) out.push_back(s.isNull(field) ? "<null>" : s.asString(field));
        s.close();
        return out;
    }
    query::BatchChange change{dm, pages.queries()};
};
RSGZ_ON_BOTH_ENGINES(BatchChangeTest);

}  // namespace

// After the empty-value search the copied conditions are one term: the old-value condition cannot
// escape into the "or" and reach employee 1.
TEST_P(BatchChangeTest, CopiedConditionsAreParenthesised)
{
    nav.searchEmptyValue(1, "学历");
    ASSERT_EQ(dm.rszl.recordCount(), 2);
    const Request r{true, "性别", "男", false, "女"};
    EXPECT_EQ(*change.statement(r), (db::SqlLines{"update 员工基本情况 set 性别='女'", "where ((学历 is null or 学历=''))",
                                                  "and 性别='男'"}));
    EXPECT_TRUE(change.run(r));
    EXPECT_EQ(valuesOf("性别"), (std::vector<std::string>{"男", "女", "女", "男"}));

    // The sort line of the list is no part of the update; ignoring the old value changes every row shown.
    pages.sortChosen(1, "员工编号", "降序");
    EXPECT_TRUE(change.run({true, "学历", "", true, "大专"}));
    EXPECT_EQ(valuesOf("学历"), (std::vector<std::string>{"大专", "大专", "大专", "本科"}));
    // The list is read again on the same query: the changed rows no longer match it.
    EXPECT_EQ(dm.rszl.recordCount(), 0);
    EXPECT_TRUE(user.messages.empty());
}

// Values go in by the column's type; one that does not fit is refused and nothing changes.
TEST_P(BatchChangeTest, ValuesAreConvertedByTypeOrRefused)
{
    EXPECT_TRUE(change.run({false, "出生年月", "1980-1-1", false, "1979/12/31"}));
    EXPECT_EQ(valuesOf("出生年月"), (std::vector<std::string>{"1979-12-31", "<null>", "<null>", "<null>"}));
    EXPECT_TRUE(change.run({false, "身高", "", true, "175.5"}));
    EXPECT_EQ(valuesOf("身高"), std::vector<std::string>(4, "175.5"));
    EXPECT_TRUE(change.run({false, "出生年月", "", true, ""}));  // an empty date is no date
    EXPECT_EQ(valuesOf("出生年月"), std::vector<std::string>(4, "<null>"));
    EXPECT_TRUE(user.messages.empty());

    const Request refused[] = {
        {false, "出生年月", "", true, "明天"},   {false, "体重", "", true, "65kg"},   {false, "身高", "", true, "1,75"},
        {false, "性别", "", true, "不止两个字"}, {false, "年龄", "", true, "30"},    {false, "", "", true, "x"},
        {false, "没有的列", "", true, "x"},      {false, "体重", "abc", false, "60"},
    };
    for (const Request& r : refused) {
        user.clear();
        EXPECT_FALSE(change.run(r)) << r.field << " " << r.newValue;
        EXPECT_EQ(user.messages, std::vector<std::string>{"修改失败！"});
    }
    EXPECT_EQ(valuesOf("身高"), std::vector<std::string>(4, "175.5"));
    EXPECT_EQ(valuesOf("性别"), (std::vector<std::string>{"男", "女", "男", "男"}));
}

// A quote in a value is written as it is typed; without the current query the old value picks rows
// of the whole table.
TEST_P(BatchChangeTest, QuotesAndTheWholeTable)
{
    nav.searchOneField(1, "员工编号", "4");
    EXPECT_TRUE(change.run({false, "学历", "", false, "O'Neil学院"}));
    EXPECT_EQ(valuesOf("学历"), (std::vector<std::string>{"大专", "O'Neil学院", "O'Neil学院", "本科"}));
    EXPECT_TRUE(change.run({false, "学历", "O'Neil学院", false, "中专"}));
    EXPECT_EQ(valuesOf("学历"), (std::vector<std::string>{"大专", "中专", "中专", "本科"}));
}
