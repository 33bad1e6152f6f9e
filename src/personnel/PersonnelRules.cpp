// Rules of the employee list and of the records kept about each employee.
#include <QDateTime>
#include <cstdlib>

#include "app/Module.h"

#include "app/Interaction.h"
#include "app/rules/RecordRules.h"
#include "app/rules/RuleHelpers.h"
#include "personnel/PersonnelRules.h"

namespace rsgz::personnel {
using namespace rsgz::db;
using namespace rsgz::app::rules;
using rsgz::app::appendRule;

namespace {

// 365 days and 6 hours: a year of age or service is counted in these, whatever the calendar says.
constexpr int64_t kMsecsPerYear = 36525LL * 864000LL;

// Milliseconds on a wall clock that has no daylight saving, so that a local time and a stored date
// are a whole number of days apart when their times of day agree.
int64_t wallClockMsecs(const QDate& date, const QTime& time)
{
    return date.toJulianDay() * 86400000LL + time.msecsSinceStartOfDay();
}

// Whole years between a stored date (taken at 00:00) and now, in either direction; 0 without a date.
int wholeYears(const Value& stored, const QDateTime& now)
{
    const QDate d = stored.toDate();
    if (!d.isValid()) return 0;
    const int64_t apart = std::llabs(wallClockMsecs(now.date(), now.time()) - wallClockMsecs(d, QTime(0, 0)));
    return static_cast<int>(apart / kMsecsPerYear);
}

Value employee(TDM& dm, const char* field) { return currentValue(dm.rszl, field); }

void linkToEmployee(TDM& dm, DataSet& ds) { ds.setValue("员工编号1", employee(dm, "员工编号")); }

// In the records module the record belongs to the employee on screen; elsewhere the record's own
// window chose the employee and the link stays as it is.
void bindLinkOnPost(TDM& dm, DataSet& ds)
{
    appendRule(ds.rules().beforePost, [&dm](DataSet& d) {
        if (dm.CurrentModule == app::Module::Personnel) linkToEmployee(dm, d);
    });
}

// Outside the records module the person is picked in the record's own window; a row saved without
// one would belong to nobody and appear in no list.
void bindPersonRequired(TDM& dm, DataSet& ds)
{
    appendRule(ds.rules().beforePost, [&dm](DataSet& d) {
        if (dm.CurrentModule != app::Module::Personnel) requireText(dm, d, "员工编号1", "员工编号不能为空!");
    });
}

void bindEmployees(TDM& dm)
{
    DataSet& ds = dm.rszl;
    ds.addCalcField("年龄", FieldType::Integer);
    ds.addCalcField("本单位工龄", FieldType::Integer);
    ds.addCalcField("工龄", FieldType::Integer);
    DataSetRules& r = ds.rules();
    r.afterInsert = [&dm](DataSet& d) {
        const std::string t = today(dm);
        d.setValue("登记日期", t);
        d.setValue("入职日期", t);
        d.setValue("在职状况", "在职");
        d.setValue("工资核算", "是");
    };
    r.beforePost = [&dm](DataSet& d) {
        d.setValue("修改日期", today(dm));
        requireText(dm, d, "员工编号", "员工编号不能为空!");
        requireText(dm, d, "姓名", "姓名不能为空!");
    };
    r.calculate = [&dm](CalcRow& row) {
        const QDateTime now = dm.now();
        row.set("年龄", wholeYears(row.get("出生年月"), now));
        row.set("本单位工龄", wholeYears(row.get("入职日期"), now));
        row.set("工龄", wholeYears(row.get("参加工作"), now));
    };
    bindDeleteQuestion(dm, ds, "删除当前员工数据吗?");
    bindStatus(dm, ds);
}

void bindPersonalHistory(TDM& dm)
{
    DataSet& ds = dm.grjl;
    ds.rules().beforeInsert = [&dm](DataSet&) {
        if (hasRows(dm.rszl)) return;
        dm.ShowMessage_jd("无员工数据,不能添加个人简历!");
        abortSilently();
    };
    ds.rules().afterInsert = [&dm](DataSet& d) {
        linkToEmployee(dm, d);
        openEditor(dm.editorOpen.grjl, app::WindowId::Resume);
    };
    bindLinkOnPost(dm, ds);
    bindDeleteQuestion(dm, ds, "删除当前员工个人简历数据吗?");
}

void bindSocialRelations(TDM& dm)
{
    DataSet& ds = dm.shgx;
    ds.rules().afterInsert = [&dm](DataSet& d) {
        linkToEmployee(dm, d);
        openEditor(dm.editorOpen.shgx, app::WindowId::Relations);
    };
    bindLinkOnPost(dm, ds);
    bindDeleteQuestion(dm, ds, "删除当前员工社会关系数据吗?");
}

void bindCertificates(TDM& dm)
{
    DataSet& ds = dm.zzlb;
    ds.rules().afterInsert = [&dm](DataSet& d) {
        d.setValue("取得日期", today(dm));
        linkToEmployee(dm, d);
        openEditor(dm.editorOpen.zzlb, app::WindowId::Certificates);
    };
    bindLinkOnPost(dm, ds);
    bindDeleteQuestion(dm, ds, "删除当前员工证件记录数据吗?");
}

void bindTransfers(TDM& dm)
{
    DataSet& ds = dm.ddjl;
    ds.rules().afterInsert = [&dm](DataSet& d) {
        linkToEmployee(dm, d);
        copyCurrent(d, dm.rszl,
                    {{"姓名", "姓名"}, {"调动前一级部门", "一级部门"}, {"调动前二级部门", "二级部门"},
                     {"调动前三级部门", "三级部门"}, {"调动前四级部门", "四级部门"}, {"调动前职务", "职务"}});
        openEditor(dm.editorOpen.ddjl, app::WindowId::TransferRecords);
    };
    bindLinkOnPost(dm, ds);
    bindDeleteQuestion(dm, ds, "删除当前员工调动记录吗?");
}

void bindTitles(TDM& dm)
{
    DataSet& ds = dm.zcpd;
    ds.rules().afterInsert = [&dm](DataSet& d) {
        d.setValue("取得日期", today(dm));
        if (dm.CurrentModule == app::Module::Personnel) {
            linkToEmployee(dm, d);
            copyCurrent(d, dm.rszl, {{"被评定人姓名", "姓名"}});
        }
        openEditor(dm.editorOpen.zcpd, app::WindowId::TitleManagement);
    };
    bindLinkOnPost(dm, ds);
    bindPersonRequired(dm, ds);
    bindDeleteQuestion(dm, ds, "删除当前职称评定记录吗?");
}

// Rewards and penalties keep the employee they were given: no link on post.
void bindRewards(TDM& dm)
{
    DataSet& ds = dm.jcqk;
    ds.rules().afterInsert = [&dm](DataSet& d) {
        d.setValue("奖惩日期", today(dm));
        if (dm.CurrentModule == app::Module::Personnel) {
            linkToEmployee(dm, d);
            copyCurrent(d, dm.rszl, {{"奖惩人姓名", "姓名"}});
        }
        if (dm.editorOpen.jcqk) return;
        if (dm.CurrentModule == app::Module::Personnel) app::interaction().openWindow(app::WindowId::RewardRecords);
        else if (dm.CurrentModule == app::Module::Rewards) app::interaction().openWindow(app::WindowId::RewardManagement);
    };
    ds.rules().beforePost = [&dm](DataSet& d) { requireText(dm, d, "奖惩内容", "奖惩内容不能为空!"); };
    bindPersonRequired(dm, ds);
    bindDeleteQuestion(dm, ds, "删除当前员工奖惩记录吗?");
}

void bindSalaryChanges(TDM& dm)
{
    DataSet& ds = dm.gzjs;
    ds.rules().afterInsert = [&dm](DataSet& d) {
        d.setValue("晋升日期", today(dm));
        linkToEmployee(dm, d);
        d.setValue("晋升前工资", 0);
        d.setValue("晋升后工资", 0);
        openEditor(dm.editorOpen.gzjs, app::WindowId::SalaryChanges);
    };
    bindLinkOnPost(dm, ds);
    bindDeleteQuestion(dm, ds, "删除当前员工工资记录变更数据吗?");
}

// An article is chosen first. Without a choice the insertion is abandoned: a row with neither
// article nor employee would only be posted empty by the next move.
void bindRequisitions(TDM& dm)
{
    DataSet& ds = dm.wply;
    ds.rules().afterInsert = [&dm](DataSet& d) {
        dm.ArticlePicked = false;
        app::interaction().openWindow(app::WindowId::PickArticle);
        if (!dm.ArticlePicked) abortSilently();
        linkToEmployee(dm, d);
        copyCurrent(d, dm.rszl, {{"领用人姓名", "姓名"}});
        d.setValue("领用日期", today(dm));
        if (hasRows(dm.wpdj)) {
            copyCurrent(d, dm.wpdj, {{"物品", "物品名称"}, {"物品编号", "编号"}});
            d.setValue("数量", 1);
        }
        openEditor(dm.editorOpen.wply, app::WindowId::ArticleRecords);
    };
    bindLinkOnPost(dm, ds);
    bindDeleteQuestion(dm, ds, "删除当前员工物品领用记录数据吗?");
}

// A course is chosen first; without a choice the insertion is abandoned and no editor opens. The training
// management window fills its records itself and switches both rules off while it exists.
void bindTrainingRecords(TDM& dm)
{
    DataSet& ds = dm.pxjl1;
    ds.rules().afterInsert = [&dm](DataSet& d) {
        if (dm.TrainingRulesOff) return;
        dm.CoursePicked = false;
        app::interaction().openWindow(app::WindowId::PickCourse);
        if (!dm.CoursePicked) abortSilently();
        linkToEmployee(dm, d);
        copyCurrent(d, dm.rszl, {{"受培训人姓名", "姓名"}});
        d.setValue("培训费用", 0);
        if (hasRows(dm.pxkc)) copyCurrent(d, dm.pxkc, {{"课程编号1", "课程编号"}});
        openEditor(dm.editorOpen.pxjl, app::WindowId::TrainingRecords);
    };
    ds.rules().beforePost = [&dm](DataSet& d) {
        if (dm.TrainingRulesOff) return;
        if (dm.CurrentModule == app::Module::Personnel) linkToEmployee(dm, d);
        requireText(dm, d, "受培训人姓名", "姓名不能为空!");
    };
    bindDeleteQuestion(dm, ds, "删除当前培训记录吗?");
    bindStatusSkippingEmptyOpen(dm, ds);
}

}  // namespace

void addRecordRules(app::RecordRuleRegistry& rules)
{
    rules.add(bindPersonnelRules);
    rules.add(bindModuleRules);
}

void bindPersonnelRules(TDM& dm)
{
    bindEmployees(dm);
    bindPersonalHistory(dm);
    bindSocialRelations(dm);
    bindCertificates(dm);
    bindTransfers(dm);
    bindTitles(dm);
    bindRewards(dm);
    bindSalaryChanges(dm);
    bindRequisitions(dm);
    bindTrainingRecords(dm);
}

}  // namespace rsgz::personnel
