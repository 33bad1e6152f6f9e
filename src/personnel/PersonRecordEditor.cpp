#include "personnel/PersonRecordEditor.h"
#include "app/Module.h"

#include "app/Rights.h"
#include "app/Interaction.h"
#include "app/TDM.h"
#include "app/DepartmentLists.h"
#include "query/ListQuery.h"

namespace rsgz::personnel {

namespace {

using K = app::EditorFieldKind;

bool onRow(const db::DataSet& ds) { return ds.active() && ds.currentRow() >= 0 && !ds.isEmpty(); }

bool isDepartmentColumn(const std::string& column)
{
    for (int level = 1; level <= app::kDepartmentLevels; ++level)
        if (column == app::departmentColumn(level)) return true;
    return false;
}

// The title module's list joins the titles with the employees and carries no key of the title, so
// the double-clicked title is found by every title column the list shows.
void doubleClickedTitle(app::TDM& dm, KeptRows& rows)
{
    const db::DataSet& list = dm.zcpd1;
    if (!onRow(list)) return;
    query::ListQuery q{{"select 编号 from 职称评定"}, {}, {}};
    for (const std::string& column : query::queryableColumns(list)) {
        if (isDepartmentColumn(column)) continue;
        const db::Value v = list.value(column);
        const db::FieldType type = list.fieldByName(column).type;
        if (v.isNull() || v.toString().empty()) q.where(query::Condition::empty(column, type));
        else q.where(query::Condition::equals(column, v, type));
    }
    db::DataSet keys(&dm.DMADO, "zcpdKeys", q.lines());
    keys.open();
    for (int r = 0; r < keys.recordCount(); ++r) rows.keep(keys.rowValue(r, 0));
}

// The reward module's list carries the reward's own 编号.
void doubleClickedReward(app::TDM& dm, KeptRows& rows)
{
    if (onRow(dm.jcqk1) && dm.jcqk1.fieldIndex("编号") >= 0) rows.keep(dm.jcqk1.value("编号"));
}

// The window's buttons: 增加, 保存 and 删除 under the set-up's right, the person's picker, the
// approver's where there is one, and 返回; the fields in two columns.
PersonRecordSetup withButtons(PersonRecordSetup s)
{
    using S = app::RecordStep;
    std::vector<app::RecordButton>& b = s.editor.buttons;
    b = {{"addButton", "增加", S::Add, s.right}, {"saveButton", "保存", S::Save, s.right},
         {"deleteButton", "删除", S::Delete, s.right}, {"personButton", s.personPicker, S::Action, {}}};
    if (!s.approverPicker.empty()) b.push_back({"approverButton", s.approverPicker, S::Action, {}});
    b.push_back({"returnButton", "返回", S::Return, {}});
    s.editor.columns = 2;
    return s;
}

}  // namespace

const PersonRecordSetup& titleRecordSetup()
{
    static const PersonRecordSetup setup = withButtons({
        {"职称评定管理", "Tzcpdw", "zcpd", &app::TDM::EditorOpen::zcpd,
         {{"被评定人姓名", K::ReadOnly}, {"取得日期", K::Date}, {"评定职称", K::Dictionary}, {"取得方式", K::Dictionary},
          {"聘用单位", K::Dictionary}, {"聘用专业技术职务", K::Dictionary}, {"聘用起始日", K::Date},
          {"聘用结束日", K::Date}, {"职称英语", K::Dictionary}, {"职称英语取得日期", K::Date},
          {"职称计算机", K::Dictionary}, {"职称计算机取得日期", K::Date}, {"职称备注", K::Memo}},
         {"被评定人姓名", "取得日期", "评定职称", "取得方式", "聘用单位", "聘用专业技术职务", "聘用起始日", "聘用结束日",
          "职称英语", "职称英语取得日期", "职称计算机", "职称计算机取得日期", "职称备注"},
         ""},
        "职称评定", "职称管理", "被评定人姓名", "选择被评定人", "", doubleClickedTitle, true});
    return setup;
}

const PersonRecordSetup& rewardRecordSetup()
{
    static const PersonRecordSetup setup = withButtons({
        {"奖惩数据管理", "Tjcglw", "jcqk", &app::TDM::EditorOpen::jcqk,
         {{"奖惩人姓名", K::ReadOnly}, {"奖或惩", K::Dictionary}, {"奖惩内容"}, {"奖惩原因", K::Dictionary},
          {"奖惩级别", K::Dictionary}, {"奖惩日期", K::Date}, {"撤销日期", K::Date}, {"撤销原因"},
          {"批准部门", K::Dictionary}, {"批准人"}, {"奖惩备注", K::Memo}},
         {"奖惩人姓名", "奖或惩", "奖惩内容", "奖惩原因", "奖惩级别", "奖惩日期", "撤销日期", "撤销原因", "批准部门", "批准人",
          "奖惩备注"},
         ""},
        "奖惩情况", "奖惩管理", "奖惩人姓名", "选择被奖惩人", "选择批准人", doubleClickedReward});
    return setup;
}

PersonRecordEditor::PersonRecordEditor(app::TDM& dm, const PersonRecordSetup& setup)
    : dm_(dm), setup_(setup), editor_(dm, setup.editor), rows_(setup.table)
{
}

bool PersonRecordEditor::mayChange() const { return app::hasRight(dm_, setup_.right); }

bool PersonRecordEditor::employeeWindowRows() const
{
    return dm_.CurrentModule == app::Module::Personnel && setup_.editor.dataSet == "zcpd";
}

void PersonRecordEditor::activate()
{
    if (!employeeWindowRows()) {
        db::DataSet& ds = dataSet();
        // Opened by the module's insert rule over a new row: that row stays and is the one shown.
        if (!(ds.active() && ds.state() == db::DataSet::State::Insert)) {
            setup_.openedRow(dm_, rows_);
            if (setup_.wholeTable) {
                openWholeTable(rows_.keys().empty() ? db::Value() : db::Value(rows_.keys().front()));
            } else {
                ds.close();
                ds.setRowNumberField(true);
                ds.setSql(rows_.sql());
                ds.open();
            }
        }
    }
    editor_.activate();
}

void PersonRecordEditor::save()
{
    db::DataSet& ds = dataSet();
    if (employeeWindowRows()) {
        editor_.save();
        if (ds.active()) ds.requery();
        return;
    }
    if (ds.isEditing() || ds.isEmpty()) editor_.save();
    if (!setup_.wholeTable) {
        rows_.reread(ds);
        return;
    }
    if (ds.active() && ds.isEditing()) ds.post();
    openWholeTable(ds.active() && ds.currentRow() >= 0 ? ds.value("编号") : db::Value());
}

void PersonRecordEditor::openWholeTable(const db::Value& key)
{
    db::DataSet& ds = dataSet();
    ds.close();
    ds.setRowNumberField(true);
    ds.setSql(db::SqlLines{"select * from " + setup_.table});
    ds.open();
    if (!key.isNull()) ds.locate("编号", key);
}

void PersonRecordEditor::pickPerson()
{
    if (!personButtonEnabled()) return;
    app::interaction().openWindow(setup_.personPicker);
    if (dm_.PickResult != 1) return;
    db::DataSet& ds = dataSet();
    if (!ds.isEditing()) ds.edit();
    ds.setValue(setup_.nameField, dm_.s4.value("姓名"));
    ds.setValue("员工编号1", dm_.s4.value("员工编号"));
}

void PersonRecordEditor::act(const std::string& button)
{
    if (button == "personButton") pickPerson();
    else if (button == "approverButton") pickApprover();
}

bool PersonRecordEditor::enabled(const app::RecordButton& button) const
{
    return button.objectName != "personButton" || personButtonEnabled();
}

void PersonRecordEditor::pickApprover()
{
    if (setup_.approverPicker.empty()) return;
    app::interaction().openWindow(setup_.approverPicker);
    if (dm_.PickResult != 1) return;
    db::DataSet& ds = dataSet();
    if (!ds.isEditing()) ds.edit();
    ds.setValue("批准人", dm_.s4.value("姓名"));
}

}  // namespace rsgz::personnel
