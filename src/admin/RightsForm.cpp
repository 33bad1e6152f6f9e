#include "admin/RightsForm.h"

#include "admin/NameHistory.h"
#include "app/PasswordHash.h"
#include "app/Rights.h"
#include "app/Interaction.h"
#include "app/TDM.h"

namespace rsgz::admin {

namespace {
constexpr const char* kManageRights = "权限管理";
constexpr const char* kAtLeastOne = "最少有一个操作员!";
constexpr const char* kOperatorNameOnOneLine = "操作员名称不能含有换行符或空字符！";
}  // namespace

bool mayOpenRightsWindow(app::TDM& dm)
{
    if (app::hasRight(dm, kManageRights)) return true;
    dm.ShowMessage_jd("权限不足!不能进行权限管理!");
    return false;
}

RightsForm::RightsForm(app::TDM& dm) : checks(app::allRights().size(), false), dm_(dm) {}

void RightsForm::activate()
{
    app::runAction([this] {
        open_qxgl_data();
        Create_TreeView_List();
    });
}

void RightsForm::open_qxgl_data()
{
    dm_.qxgl.close();
    dm_.qxgl.setSql({"select * from 权限"});
    dm_.qxgl.open();
}

void RightsForm::Create_TreeView_List()
{
    fillTree();
    selectedNode = names.empty() ? -1 : 0;
    dm_.qxgl.first();
    showRow();
}

void RightsForm::fillTree()
{
    names.clear();
    const db::DataSet& qxgl = dm_.qxgl;
    const int nameField = qxgl.fieldIndex("姓名");
    for (int row = 0; row < qxgl.recordCount(); ++row) names.push_back(qxgl.rowValue(row, nameField).toString());
}

void RightsForm::followCursor()
{
    const int row = dm_.qxgl.currentRow();
    if (row >= 0 && row < static_cast<int>(names.size())) selectedNode = row;
}

void RightsForm::Set_CheckBox()
{
    if (dm_.qxgl.currentRow() < 0) return;
    const std::vector<std::string>& rights = app::allRights();
    for (size_t i = 0; i < rights.size(); ++i) checks[i] = dm_.qxgl.asBool(rights[i]);
}

void RightsForm::showRow()
{
    name = dm_.qxgl.currentRow() < 0 ? std::string() : dm_.qxgl.asString("姓名");
    password.clear();
    Set_CheckBox();
}

int RightsForm::nameMaxLength() const
{
    return dm_.qxgl.active() ? dm_.qxgl.fieldByName("姓名").size : 0;
}

void RightsForm::putPassword()
{
    if (password.empty()) return;
    dm_.qxgl.edit();
    dm_.qxgl.setValue("密码", app::hashPassword(password));
    password.clear();
}

void RightsForm::setName(const std::string& text)
{
    if (!isOneLineName(text)) {
        // The row keeps the name it had; the field shows it again.
        dm_.ShowMessage_jd(kOperatorNameOnOneLine);
        return;
    }
    app::runAction([&] {
        dm_.qxgl.edit();
        dm_.qxgl.setValue("姓名", text);
        name = text;
    });
}

void RightsForm::clickNode(int node)
{
    if (node < 0 || node >= static_cast<int>(names.size())) return;
    app::runAction([&] {
        // Names may repeat: the walk stops at the first row that carries the node's text.
        const std::string target = names[static_cast<size_t>(node)];
        putPassword();
        db::DataSet& qxgl = dm_.qxgl;
        qxgl.first();
        while (!qxgl.eof() && qxgl.asString("姓名") != target) qxgl.next();
        selectedNode = node;
        showRow();
    });
}

void RightsForm::first() { app::runAction([this] { putPassword(); dm_.qxgl.first(); followCursor(); showRow(); }); }
void RightsForm::prior() { app::runAction([this] { putPassword(); dm_.qxgl.prior(); followCursor(); showRow(); }); }
void RightsForm::next() { app::runAction([this] { putPassword(); dm_.qxgl.next(); followCursor(); showRow(); }); }
void RightsForm::last() { app::runAction([this] { putPassword(); dm_.qxgl.last(); followCursor(); showRow(); }); }

void RightsForm::setRight(int index, bool on)
{
    const std::vector<std::string>& rights = app::allRights();
    if (index < 0 || index >= static_cast<int>(rights.size())) return;
    app::runAction([&] {
        putPassword();
        dm_.qxgl.edit();
        dm_.qxgl.setValue(rights[static_cast<size_t>(index)], on);
        dm_.qxgl.post();
    });
    // A refused write leaves the box showing what the row really holds.
    app::runAction([this] { Set_CheckBox(); });
}

void RightsForm::addOperator()
{
    app::runAction([this] {
        putPassword();
        dm_.qxgl.append();  // the insert rule of qxgl gives the new operator its rights
        focus = Focus::Name;
        showRow();
    });
}

void RightsForm::deleteOperator()
{
    app::runAction([this] {
        const int count = dm_.qxgl.recordCount();
        if (count == 0) return;
        if (count == 1) {
            dm_.ShowMessage_jd(kAtLeastOne);
            return;
        }
        dm_.qxgl.remove();  // the delete rule of qxgl asks first
        fillTree();
        followCursor();
        showRow();
    });
}

bool RightsForm::anyRightsManager() const
{
    const db::DataSet& qxgl = dm_.qxgl;
    const int field = qxgl.fieldIndex(kManageRights);
    for (int row = 0; row < qxgl.recordCount(); ++row)
        if (qxgl.rowValue(row, field).toBool()) return true;
    return false;
}

void RightsForm::save()
{
    app::runAction([this] {
        db::DataSet& qxgl = dm_.qxgl;
        putPassword();
        if (qxgl.isEditing()) qxgl.post();
        // A lone operator must be able to come back here.
        if (qxgl.recordCount() == 1) {
            qxgl.first();
            qxgl.edit();
            qxgl.setValue(kManageRights, true);
            qxgl.post();
        }
        if (!anyRightsManager()) {
            dm_.ShowMessage_jd(kAtLeastOne);
            Set_CheckBox();
            return;
        }
        open_qxgl_data();
        Create_TreeView_List();
    });
}

void RightsForm::close()
{
    // Typing not saved goes; the boxes were written when they were clicked.
    if (dm_.qxgl.isEditing()) app::runAction([this] { dm_.qxgl.cancel(); });
    password.clear();
    closed = true;
}

}  // namespace rsgz::admin
