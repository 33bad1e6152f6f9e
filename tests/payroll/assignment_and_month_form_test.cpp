// Module 10's set assignment and the generation window's buttons.
#include "app/RecordRulesFixture.h"
#include "payroll/NewMonthForm.h"
#include "payroll/SetAssignment.h"

namespace rsgz::test {
namespace {

class PayrollFormsTest : public RecordRulesTest {
protected:
    PayrollFormsTest()
    {
        seed();
        exec("insert into 帐套 (帐套编号, 帐套名称) values ('02', '生产人员')");
        exec("insert into 员工基本情况 (员工编号, 姓名, 一级部门, 工资核算, 工资帐套名称) values "
             "('E03', '王五', '分厂', '是', ''), ('E04', '赵六', '分厂', '否', '')");
        exec("update 员工基本情况 set 工资核算='是', 工资帐套名称='管理人员' where 员工编号 in ('E01', 'E02')");
        ui.clear();
    }
    void openList(const std::string& where)
    {
        open(tdm.rszl, "select * from 员工基本情况\r\nwhere 工资核算='是'" + where + "\r\norder by 员工编号");
    }
};

RSGZ_ON_BOTH_ENGINES(PayrollFormsTest);

TEST_P(PayrollFormsTest, AssignmentAsksAndChangesOnlyTheListedEmployees)
{
    payroll::SetAssignment assignment(tdm);
    assignment.get_gzzt_field();
    EXPECT_EQ(assignment.sets, (std::vector<std::string>{"管理人员", "生产人员"}));
    openList("\r\nand 一级部门='分厂'");  // narrowed: E02 and E03

    EXPECT_FALSE(assignment.assign("不存在"));  // not one of the sets: nothing, not even a question
    EXPECT_TRUE(ui.questions.empty());

    ui.answer(false);
    EXPECT_FALSE(assignment.assign("生产人员"));
    EXPECT_EQ(ui.questions, std::vector<std::string>{"将 2 名员工设为帐套 生产人员?"});
    EXPECT_EQ(rowsIn("员工基本情况 where 工资帐套名称='生产人员'"), 0);

    ui.answer(true);
    EXPECT_TRUE(assignment.assign("生产人员"));
    EXPECT_EQ(rowsIn("员工基本情况 where 工资帐套名称='生产人员'"), 2);
    EXPECT_EQ(rowsIn("员工基本情况 where 员工编号='E01' and 工资帐套名称='管理人员'"), 1);
    EXPECT_EQ(rowsIn("员工基本情况 where 员工编号='E04' and 工资帐套名称=''"), 1);  // not in payroll
    // The list shows the new set at once, on its unchanged statement.
    EXPECT_EQ(tdm.rszl.asString("工资帐套名称"), "生产人员");
    EXPECT_NE(tdm.rszl.sqlText().find("order by"), std::string::npos);
}

TEST_P(PayrollFormsTest, GenerationWindowButtons)
{
    payroll::NewMonthForm form(tdm);
    std::vector<std::string> progress;
    form.onProgress = [&](const std::string& t) { progress.push_back(t); };
    form.activate();
    EXPECT_EQ(form.sets.size(), 2u);
    EXPECT_EQ(form.setIndex, 0);
    EXPECT_EQ(form.year, 2024);
    EXPECT_EQ(form.month, 5);
    form.preferredSet = "生产人员";  // the set the salary page shows is preselected
    form.activate();
    EXPECT_EQ(form.setIndex, 1);
    form.setIndex = 0;

    form.synchronise();
    EXPECT_EQ(ui.messages, std::vector<std::string>{"还未生成本月工资表！"});

    form.mode = payroll::NewMonthForm::Mode::FromSet;
    form.generate();
    EXPECT_EQ(rowsIn("工资表 where 工资帐套='管理人员' and 年='2024' and 月='05'"), 2);
    EXPECT_EQ(progress, (std::vector<std::string>{"已经完成 50 %", "已经完成 100 %"}));
    EXPECT_EQ(tdm.gzb.recordCount(), 2);  // the view shows the new month

    ui.clear();
    form.generate();
    EXPECT_EQ(ui.messages, std::vector<std::string>{"工资表已经存在!"});
    EXPECT_EQ(rowsIn("工资表"), 2);

    exec("update 工资表 set 结帐状态='是' where 员工编号='E01'");
    exec("update 员工基本情况 set 工资核算='否' where 员工编号='E01'");
    ui.clear();
    form.synchronise();
    EXPECT_EQ(ui.messages, std::vector<std::string>{"帐套“管理人员”2024年05月的工资表已经结帐，不能同步员工数据！"});
    EXPECT_EQ(rowsIn("工资表"), 2);

    ui.answer(true);
    form.removeMonth();
    EXPECT_EQ(ui.questions, std::vector<std::string>{"删除工资数据  帐套:管理人员 2024年05月 工资数据"});
    EXPECT_EQ(rowsIn("工资表"), 0);
    EXPECT_EQ(tdm.gzb.recordCount(), 0);

    // With no set at all there is nothing to generate for.
    exec("delete from 帐套");
    form.activate();
    ui.clear();
    form.generate();
    EXPECT_EQ(ui.messages, std::vector<std::string>{"请先选择工资帐套！"});
}

}  // namespace
}  // namespace rsgz::test
