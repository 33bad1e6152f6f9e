#pragma once
// The department editor 部门分类字典编辑 for one level, opened from the department fields of the
// employee record window.
//
// The level-N editor lists the distinct paths of level N under the employee's stored upper levels:
// a level-1 editor the first-level names, a level-3 editor the (一级部门, 二级部门, 三级部门)
// triples under the employee's first two levels. The level-4 editor lists every stored row of the
// employee's third-level department, one entry per row.
//
// An entry of levels 1 to 3 stands for every 部门分类 row under its path, so edits are written as:
//   add    - one new row: the employee's upper levels and the typed name, lower levels empty;
//   rename - every row under the old path takes the new name at that level;
//   delete - every row under the path goes (after the question "删除当前字典数据吗?").
// Level-4 entries are single rows and are written one by one. Changes stay pending until 保存,
// which writes all of them in one transaction: an error leaves the table as it was.
//
// Only the last column (the level's own name) is typed; the upper columns are filled from the
// employee's record and cannot be changed here. Renaming or deleting a department leaves the records
// that carry its name unchanged.
#include <cstdint>
#include <string>
#include <vector>

#include "app/DepartmentLists.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::personnel {

class DepartmentEditor {
public:
    struct Entry {
        app::DepartmentPath path;     // levels 1..level as shown; path[level-1] is the entry's own name
        std::string storedName;  // the name as read; empty for a new entry
        int64_t id = 0;          // the row's 编号 (level-4 entries only)
        bool isNew = false;
    };

    // level 1..4; upper holds the employee's stored 一级部门, 二级部门, 三级部门 (the rest is ignored).
    DepartmentEditor(app::TDM& dm, int level, const app::DepartmentPath& upper);

    int level() const { return level_; }
    // Column titles: 一级部门 … up to the editor's level.
    std::vector<std::string> columns() const;
    // The statement the entries are read with (the level's own, plus 编号 at level 4).
    db::SqlLines statement() const;

    const std::vector<Entry>& entries() const { return entries_; }
    const std::string& name(const Entry& e) const { return e.path[static_cast<size_t>(level_ - 1)]; }
    int current = -1;     // the grid's current row, -1 for none
    bool closed = false;  // 返回 was pressed

    // Reads the entries again; pending changes are dropped. Empty names (the rows that define an
    // upper level only) are not listed.
    void load();
    bool hasPendingChanges() const;

    // 添加: a new entry at the end with the upper levels filled, made current. Refused with a notice
    // while an upper level of the employee is empty, since such a row could never be listed.
    void add();
    // The user typed in the name cell of an entry.
    void setName(int row, const std::string& name);
    // 删除: a new entry goes without a question; a stored one after "删除当前字典数据吗?" and 是.
    // Nothing happens without a current entry.
    void remove();
    // 保存: writes every pending change in one transaction and reads the entries again. A new entry
    // left without a name is dropped; renaming to an empty name is refused with a notice and
    // nothing is written.
    void save();
    // 返回: closes; pending changes are dropped.
    void close() { closed = true; }

private:
    void checkNames() const;
    std::vector<int64_t> rowsUnder(const app::DepartmentPath& path) const;
    void writeChanges();

    app::TDM& dm_;
    int level_;
    app::DepartmentPath upper_;
    std::vector<Entry> entries_;
    std::vector<Entry> deleted_;  // stored entries deleted, not yet written
};

// The level and the employee's stored upper levels the next department editor window opens on.
struct DepartmentEditorRequest {
    int level = 1;
    app::DepartmentPath upper;
};
const DepartmentEditorRequest& departmentEditorRequest();

// Opens 部门分类字典编辑 on level N for an employee's stored levels (interaction().openWindow). The
// caller refreshes its department lists afterwards: level 1 after the level-1 editor, levels 2 to 4
// after the others.
void openDepartmentEditor(int level, const app::DepartmentPath& stored);

}  // namespace rsgz::personnel
