#include "app/DepartmentLists.h"

#include <stdexcept>

#include "app/TDM.h"

namespace rsgz::app {

namespace {
void checkLevel(int level)
{
    if (level < 1 || level > kDepartmentLevels) throw std::out_of_range("department level out of range");
}
}  // namespace

const char* departmentColumn(int level)
{
    static const char* const columns[kDepartmentLevels] = {"一级部门", "二级部门", "三级部门", "四级部门"};
    checkLevel(level);
    return columns[level - 1];
}

db::SqlLines departmentPathConditions(const DepartmentPath& path, int levels)
{
    db::SqlLines lines;
    for (int i = 1; i <= levels; ++i)
        lines.push_back(std::string(i == 1 ? "where " : "and ") + departmentColumn(i) + " = "
                        + db::sqlQuote(path[static_cast<size_t>(i - 1)]));
    return lines;
}

db::SqlLines departmentListSql(int level, const DepartmentPath& upper)
{
    // Each name once, in the order the names were first entered: "distinct" alone leaves the order
    // to the engine, and a server hands its rows out in an order of its own.
    const std::string column = departmentColumn(level);
    db::SqlLines lines{"Select " + column + " from 部门分类"};
    for (std::string& l : departmentPathConditions(upper, level - 1)) lines.push_back(std::move(l));
    lines.push_back("group by " + column);
    lines.push_back("order by min(编号)");
    return lines;
}

std::vector<std::string> departmentList(app::TDM& dm, int level, const DepartmentPath& upper)
{
    db::DataSet& q = dm.zidian;
    q.close();
    q.setSql(departmentListSql(level, upper));
    q.open();
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(q.recordCount()));
    const int column = q.fieldIndex(departmentColumn(level));
    for (int row = 0; row < q.rowCount(); ++row) {
        std::string name = q.rowValue(row, column).toString();
        if (!name.empty()) names.push_back(std::move(name));
    }
    q.close();
    return names;
}

DepartmentCascade::DepartmentCascade(app::TDM& dm, int depth) : dm_(dm), depth_(depth)
{
    if (depth < 1 || depth > kDepartmentLevels) throw std::out_of_range("department depth out of range");
}

const std::vector<std::string>& DepartmentCascade::list(int level) const
{
    checkLevel(level);
    return lists_[static_cast<size_t>(level - 1)];
}

void DepartmentCascade::fillFirstLevel() { lists_[0] = departmentList(dm_, 1, {}); }

void DepartmentCascade::fillFromStored(const DepartmentPath& stored)
{
    for (int level = 2; level <= depth_; ++level) {
        if (stored[static_cast<size_t>(level - 2)].empty()) continue;
        lists_[static_cast<size_t>(level - 1)] = departmentList(dm_, level, stored);
    }
}

void DepartmentCascade::textChanged(int level, const DepartmentPath& shown)
{
    checkLevel(level);
    if (level >= depth_) return;
    lists_[static_cast<size_t>(level)] = departmentList(dm_, level + 1, shown);
}

}  // namespace rsgz::app
