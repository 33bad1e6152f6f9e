// Checks, questions and simple defaults of the payroll datasets. The item defaults of zt_mx, the
// salary row defaults and computed columns of gzb, and the picker and amounts of jjgz and jsgz are
// bound by the payroll code itself (through appendRule), next to the calculations they belong to.
#include "app/Interaction.h"
#include "app/rules/RecordRules.h"
#include "app/rules/RuleHelpers.h"
#include "payroll/PayrollRules.h"

namespace rsgz::payroll {
using namespace rsgz::db;
using namespace rsgz::app::rules;
using rsgz::app::appendRule;

namespace {

void bindSets(TDM& dm)
{
    DataSet& ds = dm.gz_zt;
    ds.rules().afterInsert = [](DataSet&) { app::interaction().openWindow(app::WindowId::PayrollSetData); };
    bindDeleteQuestion(dm, ds, "删除当前工资帐套数据吗?");
    bindStatus(dm, ds);
    appendRule(ds.rules().afterScroll, [&dm](DataSet&) { dm.SetMoved = true; });
}

void bindSetItems(TDM& dm)
{
    DataSet& ds = dm.zt_mx;
    ds.rules().beforeInsert = [&dm](DataSet&) {
        if (hasRows(dm.gz_zt)) return;
        dm.ShowMessage_jd("无帐套数据!");
        abortSilently();
    };
    bindDeleteQuestion(dm, ds, "删除当前帐套明细数据吗?");
}

void bindSalaryRows(TDM& dm)
{
    DataSet& ds = dm.gzb;
    ds.rules().beforePost = [&dm](DataSet& d) {
        requireText(dm, d, "姓名", "姓名不能为空！");
        requireText(dm, d, "工资帐套", "工资帐套不能为空！");
        requireText(dm, d, "员工编号", "员工编号不能为空！");
    };
    bindDeleteQuestion(dm, ds, "删除当前员工工资记录吗?");
    bindStatus(dm, ds);
}

void bindTaxBrackets(TDM& dm)
{
    DataSet& ds = dm.sds_set;
    ds.rules().afterInsert = [](DataSet& d) {
        for (const char* f : {"起始额", "结束额", "税率", "速扣"}) d.setValue(f, 0);
    };
    bindDeleteQuestion(dm, ds, "删除当前记录吗?");
}

// The piece and time lists differ in the name of the employee-number column and in their texts.
void bindWorkList(TDM& dm, DataSet& ds, const char* numberField, std::string numberMessage, std::string question)
{
    ds.rules().beforePost = [&dm, numberField, numberMessage = std::move(numberMessage)](DataSet& d) {
        requireText(dm, d, "姓名", "姓名不能为空！");
        requireText(dm, d, numberField, numberMessage);
    };
    bindDeleteQuestion(dm, ds, std::move(question));
    bindStatus(dm, ds);
    auto status = [&dm](DataSet& d) { dm.showStatus(d.statusText()); };
    appendRule(ds.rules().afterPost, status);
    appendRule(ds.rules().afterDelete, status);
}

void bindGradeValues(TDM& dm)
{
    DataSet& ds = dm.gzdj_gzxm;
    // Values belong to a grade: without one there is nothing to add to, and nothing to say.
    ds.rules().beforeInsert = [&dm](DataSet&) {
        if (!hasRows(dm.gzdj)) abortSilently();
    };
    ds.rules().afterInsert = [&dm](DataSet& d) {
        d.setValue("金额", 0);
        copyCurrent(d, dm.gzdj, {{"工资等级", "工资等级"}});
    };
    ds.rules().beforePost = [&dm](DataSet& d) { requireText(dm, d, "工资项目", "请填写工资项目名称！"); };
    bindDeleteQuestion(dm, ds, "删除当前工资项目预设值记录吗?");
}

}  // namespace

void addRecordRules(app::RecordRuleRegistry& rules)
{
    rules.add(bindPayrollRules);
    rules.add(bindPayrollSetRules);
}

void bindPayrollRules(TDM& dm)
{
    bindSets(dm);
    bindSetItems(dm);
    bindSalaryRows(dm);
    bindTaxBrackets(dm);
    bindWorkList(dm, dm.jjgz, "员工编号1", "员工编号1不能为空！", "删除当前计件数据吗?");
    bindWorkList(dm, dm.jsgz, "员工编号", "员工编号不能为空！", "删除当前计时工资数据吗?");
    bindDeleteQuestion(dm, dm.gzxmd, "删除当前工资项目数据吗?");
    bindDeleteQuestion(dm, dm.gzdj, "删除当前工资等级数据吗?");
    bindGradeValues(dm);
}

}  // namespace rsgz::payroll
