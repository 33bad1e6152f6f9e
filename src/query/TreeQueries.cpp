#include "query/TreeQueries.h"

#include <QFileInfo>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/Gbk.h"

namespace rsgz::query {

namespace {

constexpr size_t kLevels = 4;
constexpr int kStatistics = 6;

const QueryModule* treeModule(int module)
{
    const QueryModule* m = queryModule(module);
    return m && !m->treeKey.empty() ? m : nullptr;
}

bool exists(const std::string& path) { return !path.empty() && QFileInfo::exists(QString::fromStdString(path)); }

// Reads a dataset's rows as level texts, stopping each row at its first empty value.
std::vector<std::vector<std::string>> levelRows(const db::DataSet& ds)
{
    std::vector<std::vector<std::string>> rows;
    rows.reserve(static_cast<size_t>(ds.rowCount()));
    const int columns = ds.fieldCount();
    for (int r = 0; r < ds.rowCount(); ++r) {
        std::vector<std::string> row;
        row.reserve(static_cast<size_t>(columns));
        for (int c = 0; c < columns; ++c) row.push_back(nodeText(ds.rowValue(r, c)));
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace

const QueryTree& TreeQueries::tree(int module) const
{
    static const QueryTree none;
    const QueryModule* m = treeModule(module);
    if (!m) return none;
    const auto it = trees_.find(m->treeKey);
    return it == trees_.end() ? none : it->second;
}

void TreeQueries::setNodeText(int module, int node, std::string text)
{
    const QueryModule* m = treeModule(module);
    if (!m || !m->editableTree) return;
    QueryTree& t = trees_[m->treeKey];
    if (node >= 0 && node < t.size()) t.setText(node, std::move(text));
}

// --- files -------------------------------------------------------------------------------------------

void TreeQueries::load(int module)
{
    const QueryModule* m = treeModule(module);
    if (!m) return;
    const std::string path = treeFilePath(dm_.programDir(), *m);
    if (!exists(path)) return;
    QueryTree& t = trees_[m->treeKey];
    const bool ok = t.load(path).ok;
    changed(module);
    if (!ok) app::interaction().showMessage("载入检索列表错误！");
}

void TreeQueries::save(int module)
{
    const QueryModule* m = treeModule(module);
    // The statistics page only reads the personnel tree.
    if (m && module != kStatistics) tree(module).save(treeFilePath(dm_.programDir(), *m));
}

std::vector<std::string> TreeQueries::fieldList(int module) const
{
    const QueryModule* m = treeModule(module);
    if (!m) return {};
    const std::string path = fieldListPath(dm_.programDir(), *m);
    return exists(path) ? db::readSettingsLines(path) : std::vector<std::string>{};
}

void TreeQueries::saveFieldList(int module, const std::vector<std::string>& columns) const
{
    const QueryModule* m = treeModule(module);
    if (m) db::writeSettingsLines(fieldListPath(dm_.programDir(), *m), columns);
}

// --- building ----------------------------------------------------------------------------------------

std::vector<std::string> TreeQueries::candidateColumns(int module)
{
    std::vector<std::string> names;
    for (const auto& [name, type] : queries_.columnTypes(module)) names.push_back(name);
    return names;
}

bool TreeQueries::build(int module, const std::vector<std::string>& columns)
{
    const QueryModule* m = treeModule(module);
    if (!m || module == kStatistics || columns.empty()) return false;
    const std::vector<std::string> known = candidateColumns(module);
    for (const std::string& c : columns) {
        if (std::find(known.begin(), known.end(), c) == known.end()) {
            app::interaction().showMessage("左边的列表有误，不属于右边列表的一部分！");
            return false;
        }
    }
    // One query for all levels: the distinct paths, each level sorted in pinyin order. The payroll
    // flag of module 10 is no join: the tree it shares with module 1 covers every employee.
    const std::vector<std::string> levels(columns.begin(), columns.begin() + std::min(columns.size(), kLevels));
    ListQuery q;
    std::string list;
    for (const std::string& c : levels) list += (list.empty() ? "" : ",") + c;
    q.select = {"select distinct " + list + " from " + m->from};
    for (const Condition& c : m->joins)
        if (c.kind == Condition::Kind::Fixed) q.where(c);
    for (const std::string& c : levels) q.order.push_back({c, false});

    dm_.s1.close();
    dm_.s1.setSql(q.lines());
    dm_.s1.open();
    QueryTree built = QueryTree::fromRows(levelRows(dm_.s1));
    dm_.s1.close();
    trees_[m->treeKey] = std::move(built);
    changed(module);
    save(module);
    return true;
}

void TreeQueries::rebuild(int module)
{
    const std::vector<std::string> columns = fieldList(module);
    if (columns.empty()) {
        app::interaction().showMessage("未定义查询字段！");
        return;
    }
    build(module, columns);
}

// --- filtering ---------------------------------------------------------------------------------------

std::optional<std::vector<Condition>> TreeQueries::pathConditions(int module, int node, const db::DataSet& list)
{
    const std::vector<std::string> columns = fieldList(module);
    std::vector<db::FieldType> types;
    for (const std::string& c : columns) {
        const auto type = columnOf(list, c);
        if (!type) {
            app::interaction().showMessage("检索列表过时，应该重新生成！");
            return std::nullopt;
        }
        types.push_back(*type);
    }
    const QueryTree& t = tree(module);
    std::vector<Condition> conditions;
    if (node >= 0 && node < t.size()) {
        // A node deeper than the saved list has no column to compare with: the tree was built from
        // a list that was never saved.
        if (static_cast<size_t>(t.node(node).depth) >= columns.size()) {
            app::interaction().showMessage("检索列表过时，应该重新生成！");
            return std::nullopt;
        }
        for (int n = node; n >= 0; n = t.node(n).parent) {
            const auto level = static_cast<size_t>(t.node(n).depth);
            conditions.push_back(Condition::equals(columns[level], db::Value(t.node(n).text), types[level]));
        }
    }
    return conditions;
}

std::optional<ListQuery> TreeQueries::clickQuery(int module, int node)
{
    const QueryModule* m = queryModule(module);
    const db::DataSet* ds = queries_.dataSet(module);
    if (!m || !m->clickFilter || !ds || !ds->active()) return std::nullopt;
    std::optional<std::vector<Condition>> conditions = pathConditions(module, node, *ds);
    if (!conditions) return std::nullopt;
    return filteredQuery(*m, std::move(*conditions), true);
}

void TreeQueries::click(int module, int node)
{
    const std::optional<ListQuery> q = clickQuery(module, node);
    if (!q) return;
    if (node >= 0) hint(pathText(module, node));
    queries_.apply(module, *q);
}

std::string TreeQueries::pathText(int module, int node) const
{
    const QueryTree& t = tree(module);
    if (node < 0 || node >= t.size()) return {};
    const std::vector<std::string> texts = t.path(node);
    const std::string gap = t.node(node).depth == 1 ? "     " : "    ";
    std::string out = "当前数据：  ";
    for (size_t i = 0; i < texts.size(); ++i) out += (i ? gap : "") + texts[i];
    return out;
}

void TreeQueries::hint(const std::string& text) const
{
    if (onHint) onHint(text);
}

void TreeQueries::changed(int module) const
{
    if (!onTreeChanged) return;
    const QueryModule* m = treeModule(module);
    for (int other = 1; other <= 13; ++other)
        if (const QueryModule* om = treeModule(other); om && m && om->treeKey == m->treeKey) onTreeChanged(other);
}

}  // namespace rsgz::query
