#include "admin/RightsForm.h"

#include <algorithm>
#include <utility>

#include "admin/NameHistory.h"
#include "admin/OfficeRights.h"
#include "app/PasswordHash.h"
#include "app/Rights.h"
#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/ServerRoles.h"

namespace rsgz::admin {

namespace {
constexpr const char* kManageRights = "权限管理";
constexpr const char* kAtLeastOne = "最少有一个操作员!";
constexpr const char* kOperatorNameOnOneLine = "操作员名称不能含有换行符或空字符！";
}  // namespace

bool RightsForm::onServer() const { return dm_.DMADO.isServer(); }

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
    // On a server the operators and their rights are the office's roles and memberships.
    dm_.qxgl.setSql({onServer() ? std::string("select * from ") + db::kOperatorView : std::string("select * from 权限")});
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
    if (onServer()) {
        if (pending_ || dm_.qxgl.currentRow() < 0) return;  // a new operator takes it when made
        const std::string typed = std::exchange(password, std::string());
        db::setOperatorPassword(dm_.DMADO, dm_.qxgl.asString("姓名"), typed);
        return;
    }
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
    if (onServer()) {
        // A login role keeps its name: renaming one would hand its password and rights to a new name.
        if (pending_) name = text;
        else dm_.ShowMessage_jd("服务器上的操作员不能改名：请新增一个操作员，再删除原来的。");
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
        leaveRow();
        db::DataSet& qxgl = dm_.qxgl;
        qxgl.first();
        while (!qxgl.eof() && qxgl.asString("姓名") != target) qxgl.next();
        selectedNode = node;
        showRow();
    });
}

void RightsForm::first() { app::runAction([this] { leaveRow(); dm_.qxgl.first(); followCursor(); showRow(); }); }
void RightsForm::prior() { app::runAction([this] { leaveRow(); dm_.qxgl.prior(); followCursor(); showRow(); }); }
void RightsForm::next() { app::runAction([this] { leaveRow(); dm_.qxgl.next(); followCursor(); showRow(); }); }
void RightsForm::last() { app::runAction([this] { leaveRow(); dm_.qxgl.last(); followCursor(); showRow(); }); }

void RightsForm::setRight(int index, bool on)
{
    const std::vector<std::string>& rights = app::allRights();
    if (index < 0 || index >= static_cast<int>(rights.size())) return;
    if (onServer()) return setServerRight(index, on);
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
    if (onServer()) {
        app::runAction([this] {
            leaveRow();
            // Made on 保存 with what is typed and ticked by then.
            pending_ = true;
            name.clear();
            password.clear();
            const std::vector<std::string> defaults = newOperatorRights();
            for (size_t i = 0; i < app::allRights().size(); ++i)
                checks[i] = std::find(defaults.begin(), defaults.end(), app::allRights()[i]) != defaults.end();
            selectedNode = -1;
            focus = Focus::Name;
        });
        return;
    }
    app::runAction([this] {
        putPassword();
        dm_.qxgl.append();  // the insert rule of qxgl gives the new operator its rights
        focus = Focus::Name;
        showRow();
    });
}

void RightsForm::deleteOperator()
{
    if (onServer()) return (void)app::runAction([this] { deleteServerOperator(); });
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
    if (onServer()) {
        app::runAction([this] {
            const std::string shown = name;
            if (pending_) makePending();
            else putPassword();
            open_qxgl_data();
            // A lone operator must be able to come back here.
            if (dm_.qxgl.recordCount() == 1 && !dm_.qxgl.asBool(kManageRights)) {
                db::setOperatorRight(dm_.DMADO, dm_.qxgl.asString("姓名"), kManageRights, true);
                open_qxgl_data();
            }
            if (!anyRightsManager()) {
                dm_.ShowMessage_jd(kAtLeastOne);
                reread(shown);
                return;
            }
            Create_TreeView_List();
        });
        return;
    }
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
    pending_ = false;
    password.clear();
    closed = true;
}

// --- on a server ----------------------------------------------------------------------------------

void RightsForm::leaveRow()
{
    if (!pending_) return putPassword();
    // A new operator left without a name and a password is dropped, like an empty appended row.
    if (name.empty() && password.empty()) {
        pending_ = false;
        return;
    }
    makePending();
    reread(name);
}

bool RightsForm::makePending()
{
    if (name.empty()) {
        dm_.ShowMessage_jd("操作员名称不能为空!");
        focus = Focus::Name;
        db::abortSilently();
    }
    if (password.empty()) {
        // The server would let nobody in without one.
        dm_.ShowMessage_jd("新操作员的密码不能为空!");
        db::abortSilently();
    }
    std::vector<std::string> rights;
    for (size_t i = 0; i < app::allRights().size(); ++i)
        if (checks[i]) rights.push_back(app::allRights()[i]);
    db::createOperator(dm_.DMADO, name, password, rights);
    pending_ = false;
    password.clear();
    return true;
}

void RightsForm::reread(const std::string& showName)
{
    open_qxgl_data();
    fillTree();
    db::DataSet& qxgl = dm_.qxgl;
    qxgl.first();
    while (!showName.empty() && !qxgl.eof() && qxgl.asString("姓名") != showName) qxgl.next();
    if (qxgl.eof()) qxgl.first();
    selectedNode = names.empty() ? -1 : 0;
    followCursor();
    showRow();
}

void RightsForm::setServerRight(int index, bool on)
{
    const std::string& right = app::allRights()[static_cast<size_t>(index)];
    if (pending_) {
        checks[static_cast<size_t>(index)] = on;
        return;
    }
    if (dm_.qxgl.currentRow() < 0) return;
    const std::string who = dm_.qxgl.asString("姓名");
    app::runAction([&] {
        putPassword();
        db::setOperatorRight(dm_.DMADO, who, right, on);
    });
    // The boxes show what the server holds, a refused change included.
    app::runAction([&] { reread(who); });
}

void RightsForm::deleteServerOperator()
{
    if (pending_) {
        pending_ = false;  // the new operator was never made
        reread({});
        return;
    }
    const int count = dm_.qxgl.recordCount();
    if (count == 0) return;
    if (count == 1) return dm_.ShowMessage_jd(kAtLeastOne);
    dm_.Show_Tishi_windows2("删除当前权限管理记录吗?");
    if (dm_.PromptAnswer != 1) return;
    db::dropOperator(dm_.DMADO, dm_.qxgl.asString("姓名"));
    reread({});
}

}  // namespace rsgz::admin
