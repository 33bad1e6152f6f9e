#pragma once
#include <string>
#include <vector>

namespace rsgz::app {
class TDM;
}

namespace rsgz::admin {

// Only an operator holding 权限管理 may open the rights window; anyone else is told so and the
// window stays shut. True when the window may open.
bool mayOpenRightsWindow(app::TDM& dm);

// What the rights window does, without the window: the operator list, the current operator's name,
// new password and rights, and the buttons. Every change goes through the dataset qxgl; the window
// shows the members below after each call.
//
// The password field never shows what is stored (a hash): it is empty on every row, and whatever is
// typed into it becomes the operator's new password when the row is next written. Left empty, the
// stored password stays.
//
// On a database server the operators are the office's login roles (db/ServerRoles.h): the list is
// read from the server, a new operator is made on 保存 (or when the list moves on) with its name,
// password and the boxes as ticked, a tick grants or takes back the right's role at once, and
// 删除操作员 removes the role. The server refuses all of it to an operator without 权限管理.
class RightsForm {
public:
    enum class Focus { None, Name };

    explicit RightsForm(app::TDM& dm);

    std::vector<std::string> names;  // the tree, one node per operator in the order of qxgl
    int selectedNode = -1;           // the tree's selected node, -1 for none
    std::string name;                // the 操作员 field
    std::string password;            // the 密码 field: a new password, or empty to keep the stored one
    std::vector<bool> checks;        // one per right, in the order of allRights()
    Focus focus = Focus::None;
    bool closed = false;

    // Runs when the window becomes active: re-reads the operators and shows the first.
    void activate();
    void open_qxgl_data();
    void Create_TreeView_List();
    void Set_CheckBox();

    // Typing in the name field edits the current row at once, like a bound field; the password is
    // only kept until the row is written, so it is hashed once and not on every key.
    void setName(const std::string& text);
    void setPassword(const std::string& text) { password = text; }
    int nameMaxLength() const;  // the width of 姓名, 0 while the list is not open
    // A server's operators keep their names: only a new one's may be typed.
    bool nameEditable() const { return !onServer() || pending_; }

    void clickNode(int node);  // the first row whose 姓名 is the node's text
    void first();
    void prior();
    void next();
    void last();
    void setRight(int index, bool on);  // a check box clicked: written at once

    void addOperator();     // 新增操作员
    void deleteOperator();  // 删除操作员
    void save();            // 保存
    void close();           // 返回

private:
    bool onServer() const;
    void putPassword();  // the typed password into the row being edited, as a hash (on a server: set there)
    // On a server: the operator being added (not yet made), made now when it has a name and a
    // password, else dropped. True when one was made.
    bool makePending();
    void leaveRow();  // before the list moves: the typed password kept, a new operator made
    void reread(const std::string& showName);  // the list again, at the operator of that name
    void setServerRight(int index, bool on);
    void deleteServerOperator();
    void showRow();      // name, password and rights of the current row
    void fillTree();
    void followCursor();  // the tree selects the node of the current row
    bool anyRightsManager() const;

    app::TDM& dm_;
    bool pending_ = false;  // on a server: 新增操作员 pressed, the operator not made yet
};

}  // namespace rsgz::admin
