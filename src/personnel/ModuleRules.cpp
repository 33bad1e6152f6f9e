// Rules of the datasets behind the personnel modules: courses, the module lists, transfers of the
// transfer module, work articles and their issues, evaluation items and their participants.
#include "app/Interaction.h"
#include "app/rules/RecordRules.h"
#include "app/rules/RuleHelpers.h"
#include "personnel/PersonnelRules.h"

namespace rsgz::personnel {
using namespace rsgz::db;
using namespace rsgz::app::rules;
using rsgz::app::appendRule;

namespace {

void raiseOnMove(DataSet& ds, bool& flag)
{
    appendRule(ds.rules().afterScroll, [&flag](DataSet&) { flag = true; });
}

void bindCourses(TDM& dm)
{
    DataSet& ds = dm.pxkc;
    ds.rules().afterInsert = [](DataSet& d) { d.setValue("培训总费用", 0); };
    ds.rules().beforePost = [&dm](DataSet& d) {
        requireText(dm, d, "课程编号", "课程编号不能为空！");
        requireText(dm, d, "培训名称", "培训名称不能为空！");
    };
    bindDeleteQuestion(dm, ds, "删除当前培训课程记录吗?");
    bindStatus(dm, ds);
    raiseOnMove(ds, dm.CourseChanged);
}

// The module lists are joins for reading; their records are changed in the modules' own windows.
void bindModuleLists(TDM& dm)
{
    dm.pxjl.setReadOnly(true);
    bindStatusSkippingEmptyOpen(dm, dm.pxjl);
    for (DataSet* ds : {&dm.zcpd1, &dm.jcqk1, &dm.kpqk1, &dm.wply1}) {
        ds->setReadOnly(true);
        bindStatus(dm, *ds);
    }
}

// A new transfer is dated today and then asks for the person; without a pick only the date is set.
void bindTransferModule(TDM& dm)
{
    DataSet& ds = dm.ddjl1;
    ds.rules().afterInsert = [&dm](DataSet& d) {
        d.setValue("调动日期", today(dm));
        dm.PickResult = 0;
        app::interaction().openWindow(app::WindowId::PickTransferred);
        if (dm.PickResult != 1) return;
        copyCurrent(d, dm.s4,
                    {{"姓名", "姓名"}, {"员工编号1", "员工编号"}, {"调动前一级部门", "一级部门"},
                     {"调动前二级部门", "二级部门"}, {"调动前三级部门", "三级部门"}, {"调动前四级部门", "四级部门"},
                     {"调动前职务", "职务"}});
    };
    ds.rules().beforePost = [&dm](DataSet& d) {
        requireText(dm, d, "员工编号1", "员工编号不能为空!");
        requireText(dm, d, "姓名", "姓名不能为空!");
    };
    bindDeleteQuestion(dm, ds, "删除当前调动记录吗?");
    bindStatus(dm, ds);
}

// An article that has been issued stays: its issues name it by number.
void refuseIssuedArticle(TDM& dm, const DataSet& article)
{
    DataSet& issues = dm.s4;
    issues.close();
    // The key is a number and is written bare.
    issues.setSql({"select * from 物品领用", "where 物品编号=" + sqlLiteral(article.value("编号"), FieldType::Double)});
    issues.open();
    if (issues.isEmpty()) return;
    dm.ShowMessage_jd("此物品有发放记录,不能删除!");
    abortSilently();
}

void bindArticles(TDM& dm)
{
    DataSet& ds = dm.wpdj;
    ds.addCalcField("金额", FieldType::Currency);
    ds.rules().afterInsert = [&dm](DataSet& d) {
        d.setValue("登记日期", today(dm));
        for (const char* f : {"数量", "发出", "剩余", "单价"}) d.setValue(f, 0);
    };
    ds.rules().beforePost = [&dm](DataSet& d) { requireText(dm, d, "物品名称", "物品名称不能为空！"); };
    ds.rules().beforeDelete = [&dm](DataSet& d) {
        refuseIssuedArticle(dm, d);
        askDelete(dm, "删除当前物品登记记录吗?");
    };
    ds.rules().calculate = [](CalcRow& row) {
        row.set("金额", row.get("单价").toMoney() * static_cast<double>(row.get("数量").toInt()));
    };
    raiseOnMove(ds, dm.ItemChanged);
}

// An issue made in the article window is for the current article; its value is fixed at creation.
void bindIssues(TDM& dm)
{
    DataSet& ds = dm.wplyjl;
    ds.rules().afterInsert = [&dm](DataSet& d) {
        d.setValue("领用日期", today(dm));
        copyCurrent(d, dm.wpdj, {{"物品编号", "编号"}, {"物品", "物品名称"}});
        d.setValue("数量", 1);
        d.setValue("价值", currentValue(dm.wpdj, "单价").toMoney());  // 数量 1 × 单价
    };
    ds.rules().beforePost = [&dm](DataSet& d) {
        requireText(dm, d, "员工编号1", "员工编号不能为空!");
        requireText(dm, d, "领用人姓名", "姓名不能为空!");
    };
    bindDeleteQuestion(dm, ds, "删除当前员工领用物品记录吗?");
}

void bindEvaluationItems(TDM& dm)
{
    DataSet& ds = dm.kpxm;
    ds.rules().afterInsert = [&dm](DataSet& d) {
        d.setValue("登记日期", today(dm));
        for (const char* f : {"通过人数", "参加人数", "未通过人数"}) d.setValue(f, 0);
    };
    ds.rules().beforePost = [&dm](DataSet& d) { requireText(dm, d, "考评编号", "考评编号不能为空!"); };
    bindDeleteQuestion(dm, ds, "删除当前考评项目记录吗?");
    raiseOnMove(ds, dm.ItemChanged);
}

void bindEvaluationResults(TDM& dm)
{
    DataSet& ds = dm.kpjl;
    ds.rules().beforeInsert = [&dm](DataSet&) {
        if (hasRows(dm.kpxm)) return;
        dm.ShowMessage_jd("无考评项目，不能增加考评记录！");
        abortSilently();
    };
    ds.rules().afterInsert = [&dm](DataSet& d) {
        d.setValue("考评日期", today(dm));
        copyCurrent(d, dm.kpxm, {{"考评编号1", "考评编号"}, {"考评人1", "考评人"}});
        d.setValue("考评分数", 0);
    };
    bindDeleteQuestion(dm, ds, "删除当前考评人员记录吗?");
}

}  // namespace

void bindModuleRules(TDM& dm)
{
    bindCourses(dm);
    bindModuleLists(dm);
    bindTransferModule(dm);
    bindArticles(dm);
    bindIssues(dm);
    bindEvaluationItems(dm);
    bindEvaluationResults(dm);
}

}  // namespace rsgz::personnel
