#include "personnel/TransferManagement.h"
#include "app/Module.h"

#include "app/Rights.h"
#include "app/Interaction.h"
#include "app/ModuleInfo.h"
#include "app/TDM.h"
#include "app/DepartmentLists.h"
#include "personnel/DetailLists.h"

namespace rsgz::personnel {

TransferManagement::TransferManagement(app::TDM& dm)
    : dm_(dm), buttons_([this](const app::BrowseState& s) { browse = s; })
{
    buttons_.follow(&dm_.ddjl1);
}

const std::vector<app::EditorField>& TransferManagement::fields()
{
    using K = app::EditorFieldKind;
    static const std::vector<app::EditorField> f = {
        {"姓名", K::ReadOnly}, {"调动类型", K::Dictionary}, {"调动日期", K::Date}, {"调动前单位"}, {"调动后单位"},
        {"调动前职务"}, {"调动后职务", K::Dictionary, "职务"}, {"调动前一级部门"}, {"调动前二级部门"}, {"调动前三级部门"},
        {"调动前四级部门"}, {"调动后一级部门", K::Department}, {"调动后二级部门", K::Department},
        {"调动后三级部门", K::Department}, {"调动后四级部门", K::Department}, {"经办人"}, {"批准人"},
        {"调动原因", K::Memo}};
    return f;
}

db::DataSet& TransferManagement::dataSet() const { return dm_.ddjl1; }

bool TransferManagement::mayChange() const { return app::hasRight(dm_, "调动管理"); }

void TransferManagement::activate()
{
    db::DataSet& ds = dm_.ddjl1;
    if (ds.active()) return;
    const app::ModuleInfo* info = app::findModule(app::moduleNumber(app::Module::Transfers));
    reopenList(ds, info ? info->sql : db::SqlLines{"select * from 调动记录"});
}

void TransferManagement::add()
{
    db::DataSet& ds = dm_.ddjl1;
    if (!ds.active()) activate();
    ds.append();
    if (ds.state() == db::DataSet::State::Insert) pending_.remember(ds);
}

void TransferManagement::save()
{
    db::DataSet& ds = dm_.ddjl1;
    if (!ds.active()) return;
    if (ds.isEditing()) ds.post();
    ds.requery();
}

void TransferManagement::remove() { app::removeOrAbandon(dm_.ddjl1); }

bool TransferManagement::close()
{
    return pending_.settle(dm_.ddjl1, [this] { dm_.ddjl1.post(); });
}

bool TransferManagement::pick(const char* caption)
{
    dm_.PickResult = 0;
    app::interaction().openWindow(caption);
    if (dm_.PickResult != 1) return false;
    db::DataSet& ds = dm_.ddjl1;
    if (!ds.active()) activate();
    if (!ds.isEditing()) ds.edit();
    return true;
}

void TransferManagement::pickPerson()
{
    if (!pick("选择被调动人")) return;
    db::DataSet& ds = dm_.ddjl1;
    const db::DataSet& picked = dm_.s4;
    ds.setValue("姓名", picked.value("姓名"));
    ds.setValue("员工编号1", picked.value("员工编号"));
    for (int level = 1; level <= app::kDepartmentLevels; ++level)
        ds.setValue(std::string("调动前") + app::departmentColumn(level), picked.value(app::departmentColumn(level)));
    ds.setValue("调动前帐套", picked.value("工资帐套名称"));
    ds.setValue("调动前职务", picked.value("职务"));
}

void TransferManagement::pickHandler()
{
    if (pick("选择经办人")) dm_.ddjl1.setValue("经办人", dm_.s4.value("姓名"));
}

void TransferManagement::act(const std::string& button)
{
    if (button == "personButton") pickPerson();
    else if (button == "handlerButton") pickHandler();
    else if (button == "approverButton") pickApprover();
}

void TransferManagement::pickApprover()
{
    if (pick("选择批准人")) dm_.ddjl1.setValue("批准人", dm_.s4.value("姓名"));
}

}  // namespace rsgz::personnel
