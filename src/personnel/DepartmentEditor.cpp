#include "personnel/DepartmentEditor.h"

#include <QString>

#include "app/Interaction.h"
#include "app/OperatorRights.h"
#include "app/TDM.h"
#include "db/Connection.h"
#include "db/DbError.h"

namespace rsgz::personnel {

namespace {

DepartmentEditorRequest request;

// Row numbers are written as plain integers; a few hundred per statement keeps it short.
constexpr size_t kIdsPerStatement = 500;

std::string idList(const std::vector<int64_t>& ids, size_t from, size_t to)
{
    std::string text;
    for (size_t i = from; i < to; ++i) {
        if (!text.empty()) text += ',';
        text += std::to_string(ids[i]);
    }
    return text;
}

// Runs "<head> where 编号 in (…)" over the rows, a slice at a time.
void runOnRows(app::TDM& dm, const std::string& head, const std::vector<int64_t>& ids)
{
    for (size_t from = 0; from < ids.size(); from += kIdsPerStatement) {
        const size_t to = std::min(ids.size(), from + kIdsPerStatement);
        dm.runSql({head, "where 编号 in (" + idList(ids, from, to) + ")"});
    }
}

}  // namespace

DepartmentEditor::DepartmentEditor(app::TDM& dm, int level, const app::DepartmentPath& upper)
    : dm_(dm), level_(level), upper_(upper)
{
    app::departmentColumn(level);  // checks the level
    for (size_t i = static_cast<size_t>(level - 1); i < upper_.size(); ++i) upper_[i].clear();
}

std::vector<std::string> DepartmentEditor::columns() const
{
    std::vector<std::string> titles;
    for (int i = 1; i <= level_; ++i) titles.emplace_back(app::departmentColumn(i));
    return titles;
}

db::SqlLines DepartmentEditor::statement() const
{
    std::string columns;
    for (int i = 1; i <= level_; ++i) columns += std::string(i > 1 ? "," : "") + app::departmentColumn(i);
    // Each stored row of the last level is its own entry; above it each path once. Both in the
    // order they were entered, which no engine keeps by itself.
    const bool last = level_ == app::kDepartmentLevels;
    db::SqlLines lines{"Select " + columns + (last ? ",编号" : "") + " from 部门分类"};
    for (std::string& l : app::departmentPathConditions(upper_, level_ - 1)) lines.push_back(std::move(l));
    if (!last) lines.push_back("group by " + columns);
    lines.push_back(last ? "order by 编号" : "order by min(编号)");
    return lines;
}

void DepartmentEditor::load()
{
    db::DataSet& q = dm_.zidian;
    q.close();
    q.setSql(statement());
    q.open();
    entries_.clear();
    deleted_.clear();
    // Columns by name: the data module may add its row number to any list.
    std::vector<int> columns;
    for (int i = 1; i <= level_; ++i) columns.push_back(q.fieldIndex(app::departmentColumn(i)));
    const int id = q.fieldIndex("编号");
    for (int row = 0; row < q.rowCount(); ++row) {
        Entry e;
        for (int i = 0; i < level_; ++i) e.path[static_cast<size_t>(i)] = q.rowValue(row, columns[static_cast<size_t>(i)]).toString();
        e.storedName = name(e);
        if (e.storedName.empty()) continue;  // a row that defines an upper level only
        if (id >= 0) e.id = q.rowValue(row, id).toInt();
        entries_.push_back(std::move(e));
    }
    q.close();
    current = entries_.empty() ? -1 : 0;
}

bool DepartmentEditor::hasPendingChanges() const
{
    if (!deleted_.empty()) return true;
    for (const Entry& e : entries_)
        if (e.isNew || name(e) != e.storedName) return true;
    return false;
}

void DepartmentEditor::add()
{
    for (int i = 0; i < level_ - 1; ++i) {
        if (upper_[static_cast<size_t>(i)].empty()) {
            dm_.ShowMessage_jd("请先填写上级部门！");
            return;
        }
    }
    Entry e;
    e.path = upper_;
    e.isNew = true;
    entries_.push_back(std::move(e));
    current = static_cast<int>(entries_.size()) - 1;
}

void DepartmentEditor::setName(int row, const std::string& text)
{
    if (row < 0 || row >= static_cast<int>(entries_.size())) return;
    entries_[static_cast<size_t>(row)].path[static_cast<size_t>(level_ - 1)] = text;
}

void DepartmentEditor::remove()
{
    if (current < 0 || current >= static_cast<int>(entries_.size())) return;
    const auto at = entries_.begin() + current;
    if (!at->isNew) {
        dm_.Show_Tishi_windows2("删除当前字典数据吗?");
        if (dm_.PromptAnswer != 1) return;
        deleted_.push_back(*at);
    }
    entries_.erase(at);
    const int n = static_cast<int>(entries_.size());
    current = n == 0 ? -1 : std::min(current, n - 1);
}

void DepartmentEditor::checkNames() const
{
    const char* column = app::departmentColumn(level_);
    const int width = dm_.DMADO.columnInfo("部门分类", column).size;
    for (const Entry& e : entries_) {
        const std::string& n = name(e);
        if (!e.isNew && n.empty()) {
            dm_.ShowMessage_jd("部门名称不能为空！");
            db::abortSilently();
        }
        if (width > 0 && QString::fromStdString(n).size() > width) {
            dm_.ShowMessage_jd("部门名称不能超过" + std::to_string(width) + "个字！");
            db::abortSilently();
        }
    }
}

std::vector<int64_t> DepartmentEditor::rowsUnder(const app::DepartmentPath& path) const
{
    db::DataSet& q = dm_.s1;
    q.close();
    db::SqlLines lines{"select 编号 from 部门分类"};
    for (std::string& l : app::departmentPathConditions(path, level_)) lines.push_back(std::move(l));
    q.setSql(lines);
    q.open();
    std::vector<int64_t> ids;
    ids.reserve(static_cast<size_t>(q.rowCount()));
    const int id = q.fieldIndex("编号");
    for (int row = 0; row < q.rowCount(); ++row) ids.push_back(q.rowValue(row, id).toInt());
    q.close();
    return ids;
}

void DepartmentEditor::writeChanges()
{
    const char* column = app::departmentColumn(level_);
    const auto rowsOf = [this](const Entry& e) {
        if (level_ == app::kDepartmentLevels) return std::vector<int64_t>{e.id};
        app::DepartmentPath stored = e.path;
        stored[static_cast<size_t>(level_ - 1)] = e.storedName;
        return rowsUnder(stored);
    };
    // Every target is found before anything is written, so that renames that swap two names or
    // reuse a deleted one each reach only the rows they meant.
    std::vector<std::vector<int64_t>> deletions, renames;
    std::vector<const Entry*> renamed, added;
    for (const Entry& e : deleted_) deletions.push_back(rowsOf(e));
    for (const Entry& e : entries_) {
        if (e.isNew) {
            if (!name(e).empty()) added.push_back(&e);
        } else if (name(e) != e.storedName) {
            renamed.push_back(&e);
            renames.push_back(rowsOf(e));
        }
    }
    for (const auto& ids : deletions) runOnRows(dm_, "delete from 部门分类", ids);
    for (size_t i = 0; i < renamed.size(); ++i)
        runOnRows(dm_, std::string("update 部门分类 set ") + column + " = " + db::sqlQuote(name(*renamed[i])), renames[i]);
    for (const Entry* e : added) {
        std::string names, values;
        for (int i = 1; i <= level_; ++i) {
            names += std::string(i > 1 ? "," : "") + app::departmentColumn(i);
            values += std::string(i > 1 ? "," : "") + db::sqlQuote(e->path[static_cast<size_t>(i - 1)]);
        }
        dm_.runSql({"insert into 部门分类 (" + names + ")", "values (" + values + ")"});
    }
}

void DepartmentEditor::save()
{
    app::requireRight(dm_, "档案管理");
    checkNames();
    {
        db::Transaction tx(dm_.DMADO);
        writeChanges();
        tx.commit();
    }
    load();
}

const DepartmentEditorRequest& departmentEditorRequest() { return request; }

void openDepartmentEditor(int level, const app::DepartmentPath& stored)
{
    app::departmentColumn(level);
    request = {level, stored};
    app::interaction().openWindow(app::WindowId::DepartmentEditor);
}

}  // namespace rsgz::personnel
