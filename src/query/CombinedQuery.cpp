#include "query/CombinedQuery.h"
#include "app/Module.h"

#include <QDate>
#include <QFileInfo>
#include <QTime>
#include <algorithm>
#include <charconv>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/Gbk.h"
#include "db/Value.h"
#include "app/DepartmentLists.h"
#include "app/DictionaryLists.h"
#include "query/ModuleQueries.h"

namespace rsgz::query {

namespace {

const DepartmentColumns kDepartments = {"一级部门", "二级部门", "三级部门", "四级部门"};

std::vector<CombinedQueryKind> makeKinds()
{
    const DepartmentColumns before = {"调动前一级部门", "调动前二级部门", "调动前三级部门", "调动前四级部门"};
    const DepartmentColumns after = {"调动后一级部门", "调动后二级部门", "调动后三级部门", "调动后四级部门"};
    return {
        {1, "khzl", "员工资料综合查询", 16, false, {kDepartments}},
        {2, "pxjl", "培训记录查询", 7, true, {}},
        {3, "zcpd", "职称评定查询", 7, false, {kDepartments}},
        {4, "jcgl", "奖惩管理查询", 7, false, {kDepartments}},
        {5, "ddjl", "调动记录查询", 7, false, {before, after}},
        {7, "kpqk", "考评管理查询", 7, false, {kDepartments}},
        {8, "wply", "物品领用查询", 7, false, {kDepartments}},
    };
}

bool fileExists(const std::string& path) { return QFileInfo::exists(QString::fromStdString(path)); }

std::vector<std::string> readLines(const std::string& path)
{
    return fileExists(path) ? db::readSettingsLines(path) : std::vector<std::string>{};
}

bool contains(const std::vector<std::string>& v, const std::string& s) { return std::find(v.begin(), v.end(), s) != v.end(); }

std::string trimmed(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// A typed number as the value it stands for; nothing when it is no plain number.
std::optional<db::Value> typedNumber(const std::string& text, db::FieldType type)
{
    const std::string t = trimmed(text);
    if (type == db::FieldType::Currency) {
        db::Money m;
        if (db::Money::read(t, &m) != db::Money::Reading::Ok) return std::nullopt;
        return db::Value(m);
    }
    double d = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), d);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
    return db::Value(d);
}

}  // namespace

const std::vector<CombinedQueryKind>& combinedQueryKinds()
{
    static const std::vector<CombinedQueryKind> kinds = makeKinds();
    return kinds;
}

const CombinedQueryKind* combinedQueryKind(const std::string& caption)
{
    for (const CombinedQueryKind& k : combinedQueryKinds())
        if (k.caption == caption) return &k;
    return nullptr;
}

const CombinedQueryKind* combinedQueryKindOf(int module)
{
    // The payroll-set assignment lists employees: the personnel window serves it.
    const int page = module == app::Module::SetAssignment ? app::moduleNumber(app::Module::Personnel) : module;
    for (const CombinedQueryKind& k : combinedQueryKinds())
        if (k.module == page) return &k;
    return nullptr;
}

CombinedQuery::CombinedQuery(app::TDM& dm, ModuleQueries& queries, int module)
    : dm_(dm), queries_(queries), module_(module)
{
    const CombinedQueryKind* k = combinedQueryKindOf(module);
    if (!k) throw std::logic_error("no combined query for module " + std::to_string(module));
    kind_ = *k;
}

void CombinedQuery::load()
{
    boxes_.clear();
    const std::string base = dm_.programDir() + "set/" + kind_.key;
    const std::vector<std::string> offered = readLines(base + "fields.txt");
    const std::vector<std::string> dropDowns = readLines(base + "fieldss.txt");
    // Only real columns of the page's list may reach a statement; a stale or mistyped name in a
    // file is left out rather than breaking every query of the window.
    const auto columns = queries_.columnTypes(module_);
    for (const std::string& raw : offered) {
        if (boxes_.size() >= kMaxBoxes) break;
        const std::string name = trimmed(raw);
        const auto it = std::find_if(columns.begin(), columns.end(), [&](const auto& c) { return c.first == name; });
        if (it == columns.end() || boxOf(name) >= 0) continue;
        QueryBox box;
        box.column = name;
        box.type = it->second;
        box.dropDown = contains(dropDowns, name);
        placeInCascade(box);
        if (box.dropDown) {
            box.choices = app::dictionaryList(dm_, name);
            // Either way a first level offers the departments that exist.
            if (box.level == 1 || name == kDepartments[0])
                for (const std::string& d : app::departmentList(dm_, 1, {})) box.choices.push_back(d);
        }
        boxes_.push_back(std::move(box));
    }
}

void CombinedQuery::placeInCascade(QueryBox& box) const
{
    for (size_t g = 0; g < kind_.cascades.size(); ++g)
        for (size_t l = 0; l < 4; ++l)
            if (kind_.cascades[g][l] == box.column) {
                box.group = static_cast<int>(g);
                box.level = static_cast<int>(l) + 1;
            }
}

int CombinedQuery::boxOf(const std::string& column) const
{
    for (size_t i = 0; i < boxes_.size(); ++i)
        if (boxes_[i].column == column) return static_cast<int>(i);
    return -1;
}

int CombinedQuery::levelChanged(size_t box, const std::vector<std::string>& values)
{
    if (box >= boxes_.size() || boxes_[box].group < 0 || boxes_[box].level >= 4) return -1;
    const DepartmentColumns& group = kind_.cascades[static_cast<size_t>(boxes_[box].group)];
    const int level = boxes_[box].level;
    const int next = boxOf(group[static_cast<size_t>(level)]);
    if (next < 0) return -1;
    // The levels of this group as shown; the department table is always read by its own columns.
    app::DepartmentPath upper;
    for (int l = 0; l < level; ++l) {
        const int b = boxOf(group[static_cast<size_t>(l)]);
        if (b >= 0 && static_cast<size_t>(b) < values.size()) upper[static_cast<size_t>(l)] = values[static_cast<size_t>(b)];
    }
    boxes_[static_cast<size_t>(next)].choices = app::departmentList(dm_, level + 1, upper);
    return next;
}

std::optional<Condition> CombinedQuery::condition(const QueryBox& box, const std::string& value) const
{
    if (!kind_.typedConditions) return Condition::like(box.column, value, box.type);
    switch (box.type) {
    case db::FieldType::Double:
    case db::FieldType::Currency: {
        const std::optional<db::Value> number = typedNumber(value, box.type);
        if (!number) {
            app::interaction().showMessage("数字输入错误！");
            return std::nullopt;
        }
        return Condition::equals(box.column, *number, box.type);
    }
    case db::FieldType::DateTime: {
        // Stored dates are yyyy-mm-dd: 2005-3-1 must be compared as 2005-03-01 to find anything.
        QDate date;
        QTime time;
        if (!db::parseDateText(value, &date, &time)) {
            app::interaction().showMessage("日期输入错误！");
            return std::nullopt;
        }
        return Condition::equals(box.column, db::Value::fromDate(date), box.type);
    }
    default: return Condition::like(box.column, value, box.type);
    }
}

std::optional<ListQuery> CombinedQuery::build(const std::vector<std::string>& values) const
{
    std::vector<Condition> conditions;
    for (size_t i = 0; i < boxes_.size() && i < values.size(); ++i) {
        if (values[i].empty()) continue;
        // No statement can hold a NUL in a value: the engine would end the text there.
        if (values[i].find('\0') != std::string::npos) {
            app::interaction().showMessage(kNoNulInValues);
            return std::nullopt;
        }
        std::optional<Condition> c = condition(boxes_[i], values[i]);
        if (!c) return std::nullopt;
        conditions.push_back(std::move(*c));
    }
    const QueryModule* m = queryModule(module_);
    if (!m) return std::nullopt;
    // The page's own conditions stay: its joins, and on the payroll-set assignment page the payroll
    // flag, so that a later set assignment cannot reach employees outside the payroll.
    return filteredQuery(*m, std::move(conditions), true);
}

bool CombinedQuery::run(const std::vector<std::string>& values)
{
    const std::optional<ListQuery> q = build(values);
    if (!q) return false;
    queries_.apply(module_, *q);
    return true;
}

}  // namespace rsgz::query
