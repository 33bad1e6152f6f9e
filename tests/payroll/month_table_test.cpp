// Generating, copying, synchronising and deleting a month of salary rows.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "db/Connection.h"
#include "payroll/MonthTable.h"
#include "support/EngineFixture.h"

using namespace rsgz;
using payroll::MonthTable;
using payroll::Period;

namespace {

class MonthTableTest : public test::OnBothEngines {
protected:
    // Set 管理 (items gz01 基本工资 100, gz02 岗位工资 50, gz05 交通补贴 20.5, and a stray item with
    // the code gz40 from an old file); grade 一级 has 基本工资 1500 (then a later duplicate) and
    // 交通补贴 0; grade 二级 has 岗位工资 300.
    MonthTableTest()
    {
        exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理'), ('02', '生产')");
        exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 初始值) values "
             "('01', 'gz01', '基本工资', 100), ('01', 'gz02', '岗位工资', 50), ('01', 'gz05', '交通补贴', 20.5), "
             "('01', 'gz40', '旧项目', 7), ('02', 'gz01', '基本工资', 80)");
        exec("insert into 默认工资等级值 (工资等级, 工资项目, 金额) values ('一级', '基本工资', 1500), "
             "('一级', '交通补贴', 0), ('二级', '岗位工资', 300), ('一级', '基本工资', 9999)");
        addEmployee("E01", "张三", "一级", "管理", "是");
        addEmployee("E02", "李四", "二级", "管理", "是");
        addEmployee("E03", "王五", "一级", "管理", "否");
        addEmployee("E04", "赵六", "一级", "生产", "是");
    }

    void exec(const std::string& sql) { conn.exec(sql); }
    void addEmployee(const char* no, const char* name, const char* grade, const char* set, const char* inPayroll)
    {
        exec(std::string("insert into 员工基本情况 (员工编号, 姓名, 工资等级, 工资帐套名称, 工资核算, 一级部门, 四级部门) values ('") +
             no + "', '" + name + "', '" + grade + "', '" + set + "', '" + inPayroll + "', '总部', '一组')");
    }
    // The rows of a statement, numbers in their shortest form whatever the engine writes
    // (EngineFixture.h); "<no row>" for none.
    std::string value(const std::string& sql)
    {
        const std::string rows = test::rowsText(conn, sql);
        return rows.empty() ? "<no row>" : rows;
    }
    // Columns of an employee's row in a month, one after another.
    std::string cell(const char* no, const char* column, const char* year = "2024", const char* month = "03")
    {
        return value(std::string("select ") + column + " from 工资表 where 员工编号='" + no + "' and 年='" + year +
                     "' and 月='" + month + "'");
    }
    int rows(const char* where = "1=1") { return std::stoi(value(std::string("select count(*) from 工资表 where ") + where)); }

    test::TemporaryDatabase db{engine(), test::Contents::NewOffice};
    db::Connection& conn = db.conn();
    MonthTable table{conn};
    const Period march = Period::of("管理", 2024, 3);
};
RSGZ_ON_BOTH_ENGINES(MonthTableTest);

TEST(Period, TwoDigitMonthAndPreviousMonth)
{
    const Period p = Period::of("管理", 2024, 3);
    EXPECT_EQ(p.year, "2024");
    EXPECT_EQ(p.month, "03");
    EXPECT_EQ(p.previous().month, "02");
    const Period jan = Period::of("管理", 2025, 1).previous();
    EXPECT_EQ(jan.year, "2024");
    EXPECT_EQ(jan.month, "12");
    // A quote in the set name stays inside its literal.
    EXPECT_EQ(Period::of("x' or '1'='1", 2024, 3).conditionLines()[0], "where 工资帐套='x'' or ''1''=''1'");
}

TEST_P(MonthTableTest, GeneratesFromGradeDefaultsOrInitialValues)
{
    EXPECT_EQ(table.generateFromSet(march), 2);
    EXPECT_EQ(rows(), 2);  // not the employee out of payroll, not the other set's
    // Grade value first (the first row of a grade and item), else the item's initial value.
    EXPECT_EQ(cell("E01", "gz01"), "1500");
    EXPECT_EQ(cell("E01", "gz02"), "50");
    EXPECT_EQ(cell("E01", "gz05"), "0");   // a grade value of 0 is still a grade value
    EXPECT_EQ(cell("E02", "gz01"), "100");
    EXPECT_EQ(cell("E02", "gz02"), "300");
    EXPECT_EQ(cell("E02", "gz05"), "20.5");
    // Columns the set does not use are 0; the stray code wrote nowhere.
    EXPECT_EQ(value("select count(*) from 工资表 where gz03<>0 or gz39<>0"), "0");
    EXPECT_EQ(cell("E01", "出勤天数"), "30");
    EXPECT_EQ(cell("E01", "结帐状态"), "否");
    EXPECT_EQ(cell("E01", "姓名, 工资等级, 一级部门, 四级部门"), "张三一级总部一组");
    EXPECT_EQ(cell("E01", "工资帐套"), "管理");
    EXPECT_EQ(rows("月='3'"), 0);
}

TEST_P(MonthTableTest, CopiesThePreviousMonthOfEmployeesStillInPayroll)
{
    // December of the year before, closed, with days and a payment date of its own.
    exec("insert into 工资表 (工资帐套, 年, 月, 员工编号, 姓名, 工资等级, gz01, gz07, 出勤天数, 发放日期, 结帐状态, 备注) values "
         "('管理', '2023', '12', 'E01', '张三旧名', '三级', 1234.5678, 0.0001, 22, '2023-12-28', '是', '年终'), "
         "('管理', '2023', '12', 'E03', '王五', '一级', 10, 0, 30, null, '是', null)");
    const Period january = Period::of("管理", 2024, 1);
    EXPECT_EQ(table.copyPreviousMonth(january), 1);  // E03 left payroll
    EXPECT_EQ(rows("年='2024' and 月='01'"), 1);
    EXPECT_EQ(cell("E01", "gz01", "2024", "01"), "1234.5678");
    EXPECT_EQ(cell("E01", "gz07", "2024", "01"), "0.0001");
    EXPECT_EQ(cell("E01", "姓名, 工资等级, 备注", "2024", "01"), "张三旧名三级年终");
    EXPECT_EQ(cell("E01", "出勤天数, ' ', 发放日期", "2024", "01"), "22 2023-12-28");
    EXPECT_EQ(cell("E01", "结帐状态", "2024", "01"), "否");
    EXPECT_EQ(rows("年='2023'"), 2);  // the source month is untouched

    // Without a previous month, copying generates from the set.
    EXPECT_EQ(table.copyPreviousMonth(march), 2);
    EXPECT_EQ(cell("E02", "gz02"), "300");
}

// A month with a closed row is refused whole; once reopened, synchronising removes, refreshes and
// adds.
TEST_P(MonthTableTest, SynchroniseRefusesAClosedMonthAndBringsAnOpenOneInLine)
{
    exec("insert into 工资表 (工资帐套, 年, 月, 员工编号, 姓名, 工资等级, gz01, gz02, gz05, 结帐状态) values "
         "('管理', '2024', '03', 'E01', '旧', '二级', 1, 2, 3, '是'), "   // closed
         "('管理', '2024', '03', 'E02', '旧', '一级', 7, 0, 9, '否'), "   // grade changed back to 二级
         "('管理', '2024', '03', 'E03', '王五', '一级', 5, 5, 5, '否'), " // left payroll
         "('管理', '2024', '03', 'E09', '无档案', '一级', 5, 5, 5, '否')"); // no employee record: kept
    addEmployee("E06", "孙八", "二级", "管理", "是");  // joined the set
    const std::string before = value("select 员工编号, 姓名, gz01, 结帐状态 from 工资表 order by 编号");

    MonthTable::SyncResult r = table.synchronise(march);
    EXPECT_TRUE(r.closedMonth);
    EXPECT_EQ(r.removed + r.added + r.updated, 0);
    EXPECT_EQ(value("select 员工编号, 姓名, gz01, 结帐状态 from 工资表 order by 编号"), before);

    exec("update 工资表 set 结帐状态='否'");
    r = table.synchronise(march);
    EXPECT_FALSE(r.closedMonth);
    EXPECT_EQ(r.removed, 1);
    EXPECT_EQ(r.added, 1);
    EXPECT_EQ(r.updated, 2);
    EXPECT_EQ(cell("E03", "姓名"), "<no row>");
    EXPECT_EQ(cell("E09", "姓名"), "无档案");
    // New grade 二级: its value for 岗位工资 replaces; gz01 has no grade value and is not 0, so it
    // stays; name refreshed. E01 back to 一级: 基本工资 1500 and 交通补贴 0 from the grade.
    EXPECT_EQ(cell("E02", "姓名, 工资等级, gz01, ' ', gz02, ' ', gz05"), "李四二级7 300 9");
    EXPECT_EQ(cell("E01", "姓名, 工资等级, gz01, ' ', gz02, ' ', gz05"), "张三一级1500 2 0");
    EXPECT_EQ(cell("E06", "gz02"), "300");
}

TEST_P(MonthTableTest, SynchroniseGivesInitialValuesOnlyToEmptyAmounts)
{
    exec("insert into 工资表 (工资帐套, 年, 月, 员工编号, 姓名, 工资等级, gz01, gz02, gz05, 结帐状态) values "
         "('管理', '2024', '03', 'E02', '李四', '一级', 0, 40, 0, '否')");
    table.synchronise(march);  // 一级 -> 二级
    EXPECT_EQ(cell("E02", "gz01, ' ', gz02, ' ', gz05"), "100 300 20.5");
}

TEST_P(MonthTableTest, AFailurePartWayLeavesTheMonthAsItWas)
{
    table.progress = [](int percent) {
        if (percent >= 50) throw std::runtime_error("stopped");
    };
    EXPECT_THROW(table.generateFromSet(march), std::runtime_error);
    EXPECT_EQ(rows(), 0);

    exec("insert into 工资表 (工资帐套, 年, 月, 员工编号, 姓名, gz01) values ('管理', '2024', '02', 'E01', '张三', 1), "
         "('管理', '2024', '02', 'E02', '李四', 2)");
    EXPECT_THROW(table.copyPreviousMonth(march), std::runtime_error);
    EXPECT_EQ(rows("月='03'"), 0);

    exec("insert into 工资表 (工资帐套, 年, 月, 员工编号, 姓名, 工资等级) values ('管理', '2024', '03', 'E01', '旧', '二级'), "
         "('管理', '2024', '03', 'E03', '王五', '一级')");
    EXPECT_THROW(table.synchronise(march), std::runtime_error);
    EXPECT_EQ(rows("月='03'"), 2);
    EXPECT_EQ(cell("E01", "姓名"), "旧");

    // Stopped, a second try then works instead of finding a half-made month.
    table.progress = nullptr;
    EXPECT_EQ(table.remove(march), 2);
    EXPECT_EQ(table.generateFromSet(march), 2);
}

TEST_P(MonthTableTest, DeleteRemovesOnlyThatMonthClosedRowsToo)
{
    exec("insert into 工资表 (工资帐套, 年, 月, 员工编号, 结帐状态) values ('管理', '2024', '03', 'E01', '是'), "
         "('管理', '2024', '03', 'E02', '否'), ('管理', '2024', '04', 'E01', '否'), ('生产', '2024', '03', 'E04', '否')");
    EXPECT_EQ(table.remove(march), 2);
    EXPECT_EQ(rows(), 2);
    // A set name written to break out of its literal matches nothing.
    EXPECT_EQ(table.remove(Period::of("x' or '1'='1", 2024, 4)), 0);
    EXPECT_EQ(rows(), 2);
}

}  // namespace
