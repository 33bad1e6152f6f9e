#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SampleData.h"
#include "SampleWords.h"
#include "db/Connection.h"
#include "db/Schema.h"
#include "support/TestDatabase.h"

using namespace rsgz;

namespace {

class SampleDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        conn_.setPath(db_.livePath());
        sample::fillSampleData(conn_, 300, 11);
    }

    std::vector<std::vector<std::string>> rows(const std::string& sql)
    {
        std::vector<std::vector<std::string>> out;
        db::Statement st = conn_.prepareNative(sql);
        while (st.step()) {
            std::vector<std::string> row;
            for (int i = 0; i < st.columnCount(); ++i) row.push_back(st.textOrEmpty(i));
            out.push_back(row);
        }
        return out;
    }
    std::string single(const std::string& sql) { return rows(sql).at(0).at(0); }

    test::TestDatabase db_;
    db::Connection conn_;
};

TEST_F(SampleDataTest, EveryEmployeeColumnHoldsValuesThatFitIt)
{
    EXPECT_EQ(single("select count(distinct 员工编号) from 员工基本情况"), "300");
    for (const db::ColumnDef& c : db::findTable("员工基本情况")->columns) {
        SCOPED_TRACE(c.name);
        const std::string col = "\"" + c.name + "\"";
        EXPECT_NE(single("select count(*) from 员工基本情况 where " + col + " is not null and " + col + " <> ''"), "0");
        if (c.type == db::FieldType::Text)
            EXPECT_LE(std::stoi(single("select ifnull(max(length(" + col + ")), 0) from 员工基本情况")), c.size);
        if (c.type == db::FieldType::DateTime)
            EXPECT_EQ(single("select count(*) from 员工基本情况 where " + col + " is not null and date(" + col + ") is not " + col), "0");
    }
    EXPECT_GT(std::stoi(single("select count(*) from 员工基本情况 where 工资核算 = '是'")), 200);
}

TEST_F(SampleDataTest, IdentityNumbersAgreeWithBirthAndSex)
{
    static const int weights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    for (const auto& r : rows("select 身份证号, replace(出生年月, '-', ''), 性别 from 员工基本情况")) {
        const std::string& id = r[0];
        ASSERT_EQ(id.size(), 18u) << id;
        int sum = 0;
        for (int i = 0; i < 17; ++i) sum += (id[static_cast<size_t>(i)] - '0') * weights[i];
        EXPECT_EQ(id[17], "10X98765432"[sum % 11]) << id;
        EXPECT_EQ(id.substr(6, 8), r[1]) << id;
        EXPECT_EQ((id[16] - '0') % 2 == 1, r[2] == "男") << id;
    }
}

TEST_F(SampleDataTest, ListsAndDepartmentsOfferWhatTheRecordsHold)
{
    for (const char* column : {"性别", "职务", "学历", "政治面貌", "民族", "籍贯", "在职状况", "合同类别", "工资等级"}) {
        SCOPED_TRACE(column);
        EXPECT_EQ(single(std::string("select count(*) from 员工基本情况 e where e.") + column
                         + " is not null and not exists (select 1 from 数据字典 d where d.字段名称 = '" + column
                         + "' and d.字典内容 = e." + column + ")"),
                  "0");
    }
    EXPECT_EQ(single("select count(*) from 员工基本情况 e where not exists (select 1 from 部门分类 d where "
                     "d.一级部门 = e.一级部门 and d.二级部门 is e.二级部门 and d.三级部门 is e.三级部门 "
                     "and d.四级部门 is e.四级部门)"),
              "0");
    EXPECT_EQ(single("select count(*) from 员工基本情况 e where not exists (select 1 from 帐套 z where z.帐套名称 = e.工资帐套名称)"),
              "0");
    EXPECT_EQ(single("select count(distinct 字段名称) from 数据字典"), std::to_string(sample::SampleWords::dictionary().size()));
}

TEST_F(SampleDataTest, SubRecordsBelongToEmployeesAndRegistersAddUp)
{
    for (const char* table : {"个人经历", "社会关系", "证照列表", "调动记录", "职称评定", "奖惩情况", "工资晋升",
                              "培训记录", "考评情况", "物品领用"}) {
        SCOPED_TRACE(table);
        // About ten of each kind for every employee: the employee window's speed is measured on these.
        const int perEmployee = std::stoi(single(std::string("select min(n) from (select e.员工编号, count(r.员工编号1) n "
                                                             "from 员工基本情况 e left join ") + table
                                                 + " r on r.员工编号1 = e.员工编号 group by e.员工编号)"));
        EXPECT_GE(perEmployee, 8);
        EXPECT_EQ(single(std::string("select count(*) from ") + table
                         + " r where not exists (select 1 from 员工基本情况 e where e.员工编号 = r.员工编号1)"),
                  "0");
    }
    EXPECT_EQ(single("select count(*) from 培训记录 r where not exists (select 1 from 培训课程 c where c.课程编号 = r.课程编号1)"), "0");
    EXPECT_EQ(single("select count(*) from 物品登记 where 发出 <> (select ifnull(sum(数量), 0) from 物品领用 where 物品编号 = 物品登记.编号) "
                     "or 剩余 <> 数量 - 发出"),
              "0");
    EXPECT_EQ(single("select sum(参加人数) from 考评项目表"), single("select count(*) from 考评情况"));
}

TEST_F(SampleDataTest, RunningAgainAddsPeopleAndKeepsTheLookups)
{
    const std::string dictionary = single("select count(*) from 数据字典");
    sample::fillSampleData(conn_, 50, 12);
    EXPECT_EQ(single("select count(*) from 员工基本情况"), "350");
    EXPECT_EQ(single("select count(*) from 数据字典"), dictionary);
    EXPECT_EQ(single("select count(*) from 帐套"), "4");

    // The same seed makes the same people.
    test::TestDatabase other;
    db::Connection again(other.livePath());
    sample::fillSampleData(again, 300, 11);
    const std::string names = "select group_concat(姓名 || 身份证号) from (select * from 员工基本情况 where 编号 <= 300 order by 编号)";
    db::Statement st = again.prepareNative(names);
    st.step();
    EXPECT_EQ(st.textOrEmpty(0), single(names));
}

}  // namespace
