#pragma once
// The four-level department tree kept in 部门分类 and the drop-down lists built from it.
//
// A row of 部门分类 is one department path: a first-level department is a row with only 一级部门
// filled, a second-level one a row with 一级部门 and 二级部门 filled, and so on. Lists are always
// made with select distinct, so repeated upper levels collapse, and empty names never appear.
// Records store their four levels as plain text; nothing links them to these rows.
#include <array>
#include <string>
#include <vector>

#include "db/SqlText.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::app {

// Levels are numbered 1 to 4, as in the column names.
inline constexpr int kDepartmentLevels = 4;

// The four level texts of a record or of the fields on screen; index 0 is 一级部门.
using DepartmentPath = std::array<std::string, kDepartmentLevels>;

// 一级部门, 二级部门, 三级部门 or 四级部门 for level 1 to 4.
const char* departmentColumn(int level);

// The conditions "where 一级部门 = 'x'", "and 二级部门 = 'y'" … on the first `levels` levels of the
// path, one line each, every value quoted. Empty for levels = 0.
db::SqlLines departmentPathConditions(const DepartmentPath& path, int levels);

// The statement of the level-N list: the distinct level-N names under the path's levels 1..N-1.
db::SqlLines departmentListSql(int level, const DepartmentPath& upper);

// The level-N list: the distinct, non-empty names under the path's upper levels, in the order the
// rows arrive. Read through the data module's shared query object zidian (which it closes again).
std::vector<std::string> departmentList(app::TDM& dm, int level, const DepartmentPath& upper);

// The linked department lists of a record window (one drop-down field per level). The employee
// record window uses four levels; the transfer editor uses three.
//
//   DepartmentCascade c(dm);
//   c.fillFirstLevel();            // on activation
//   c.fillFromStored(recordPath);  // levels 2..depth from what the record holds
//   c.textChanged(1, shownTexts);  // the user typed or chose a level-1 name: level 2 refills
//
// Refilling a list never touches the texts of the fields themselves: the stored lower levels stay
// as they are until the user changes them.
class DepartmentCascade {
public:
    explicit DepartmentCascade(app::TDM& dm, int depth = kDepartmentLevels);

    int depth() const { return depth_; }
    // The suggestions of level 1..depth.
    const std::vector<std::string>& list(int level) const;

    // Level 1: every distinct first-level name.
    void fillFirstLevel();
    // Levels 2..depth from the record's stored levels; a level whose upper level is empty in the
    // record keeps the list it had.
    void fillFromStored(const DepartmentPath& stored);
    // The text of level N (1..depth-1) changed: level N+1 is refilled from the rows whose levels
    // 1..N equal the texts shown now. Changes at the deepest level do nothing.
    void textChanged(int level, const DepartmentPath& shown);

private:
    app::TDM& dm_;
    int depth_;
    std::array<std::vector<std::string>, kDepartmentLevels> lists_;
};

}  // namespace rsgz::app
