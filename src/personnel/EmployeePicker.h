#pragma once
#include <string>
#include <vector>

#include "query/ModuleQueries.h"
#include "query/TreeQueries.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::personnel {

// The employee picker. One window serves every caller; the caption it is opened with decides
// whether one employee or many are chosen.
//
// How a caller uses it (the window is registered under each caption below):
//   Single choice ("选择被评定人", "选择被奖惩人", "选择被调动人", "选择批准人", "选择经办人", "选择姓名",
//   "选择被考评人", "一人参加培训", "发放物品给一个人"):
//       app::interaction().openWindow(app::WindowId::PickApprover);
//       if (dm.PickResult == 1) { ... read the picked employee from the current row of dm.s4 ... }
//   Multiple choice (any other caption, e.g. "选择受培训人员", "选择人员发放物品", "选择参加考评人员"):
//       app::interaction().openWindow(app::WindowId::PickTrainees);
//       for (dm.select_renyuan.first(); !dm.select_renyuan.eof(); dm.select_renyuan.next())
//           ... dm.select_renyuan.asString("员工编号"), asString("姓名") ...
//   The payroll set of the picked employee is its column 工资帐套名称 (the grid titles it 帐套名称).
//   The chosen list is empty after 取消, so a caller that walks it creates nothing. It lives only in
//   memory (the table 选择人员 is never written) and the next opening of the picker empties it.
enum class PickMode { Single, Multiple };

PickMode pickModeOf(const std::string& caption);
// Every caption a caller opens the picker under (the window registry registers each).
const std::vector<std::string>& employeePickerCaptions();

// What the employee picker does; the window Tselectm only binds controls to it.
class EmployeePicker {
public:
    EmployeePicker(app::TDM& dm, std::string caption);

    const std::string& caption() const { return caption_; }
    PickMode mode() const { return mode_; }

    // Opening: PickResult 0, every employee as candidate, the personnel query tree when its file
    // exists, an empty chosen list.
    void open();
    const query::QueryTree& tree() const { return trees_.tree(kModule); }
    // The columns the search may look in: every stored column but 序号 and 编号.
    std::vector<std::string> searchFields() const;
    static constexpr const char* kDefaultSearchField = "姓名";

    // A click on a tree node narrows the candidates to the node's path. Without a saved field list
    // the candidates stay as they are.
    void clickNode(int node);
    // The search button: candidates whose column contains the text (an empty text: every row with a
    // non-empty column). A field that is not a column of the list is ignored.
    void search(const std::string& field, const std::string& text);
    // Enter in the search box: the same, but only with a listed field and a non-empty text.
    void searchOnEnter(const std::string& field, const std::string& text);

    // A double-click on the current candidate: adds it to the chosen list ("不要重复选择！" when it is
    // there already). True when a row was added.
    bool chooseCurrent();
    // 删除 under the chosen list.
    void removeChosen();

    // 返回 and 取消. Both leave the window to close.
    void finish();
    void cancel();

private:
    static constexpr int kModule = 1;  // the personnel list's tree and field list
    void openCandidates(const query::ListQuery& q);
    void emptyChosen();
    bool isChosen(const std::string& number) const;

    app::TDM& dm_;
    std::string caption_;
    PickMode mode_;
    query::ModuleQueries queries_;
    query::TreeQueries trees_;
};

}  // namespace rsgz::personnel
