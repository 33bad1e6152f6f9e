#include "query/PersonnelStatistics.h"

#include <QFileInfo>
#include <algorithm>

#include "app/TDM.h"
#include "db/ChineseCollation.h"
#include "db/Gbk.h"
#include "query/ListQuery.h"
#include "query/TreeQueries.h"

namespace rsgz::query {

namespace {

constexpr int kStatistics = 6;
constexpr const char* kEmployees = "员工基本情况";

// The employee master's columns without its rows, for checking names and typing the path.
db::DataSet& employeeColumns(app::TDM& dm)
{
    dm.s1.close();
    dm.s1.setSql({std::string("select * from ") + kEmployees + " where 0=1"});
    dm.s1.open();
    return dm.s1;
}

}  // namespace

std::vector<StatisticsRow> chartRows(const std::vector<StatisticsRow>& rows, size_t shown)
{
    std::vector<StatisticsRow> kept;
    int64_t other = 0;
    for (const StatisticsRow& r : rows) {
        if (r.category == PersonnelStatistics::kOther) other += r.people;
        else if (r.people > 0) kept.push_back(r);
    }
    const size_t room = shown > 0 ? shown - 1 : 0;  // one place stays for 其他
    if (kept.size() > room + (other == 0 ? 1 : 0)) {
        // The smallest categories go, ties broken by their place; the rest keep their order.
        std::vector<size_t> bySize(kept.size());
        for (size_t i = 0; i < bySize.size(); ++i) bySize[i] = i;
        std::stable_sort(bySize.begin(), bySize.end(), [&](size_t a, size_t b) { return kept[a].people > kept[b].people; });
        std::vector<bool> keep(kept.size(), false);
        for (size_t i = 0; i < room; ++i) keep[bySize[i]] = true;
        std::vector<StatisticsRow> folded;
        for (size_t i = 0; i < kept.size(); ++i) {
            if (keep[i]) folded.push_back(kept[i]);
            else other += kept[i].people;
        }
        kept = std::move(folded);
    }
    if (other > 0) kept.push_back({PersonnelStatistics::kOther, other});
    return kept;
}

std::vector<std::string> PersonnelStatistics::items() const
{
    const std::string path = dm_.programDir() + "set/tongji.list";
    if (!QFileInfo::exists(QString::fromStdString(path))) return {};
    std::vector<std::string> out;
    for (const std::string& line : db::readSettingsLines(path))
        if (!line.empty()) out.push_back(line);
    return out;
}

bool PersonnelStatistics::isItem(const std::string& text)
{
    const std::optional<db::FieldType> type = columnOf(employeeColumns(dm_), text);
    dm_.s1.close();
    // A long text (个人简历) is no category, and no category could hold it.
    return type && *type != db::FieldType::Memo;
}

bool PersonnelStatistics::run(const std::string& item, int node)
{
    if (!isItem(item)) return false;
    std::optional<std::vector<Condition>> path = trees_.pathConditions(kStatistics, node, employeeColumns(dm_));
    dm_.s1.close();
    if (!path) return false;
    std::vector<std::string> terms;
    for (const Condition& c : *path) terms.push_back(c.sql());
    if (node >= 0 && trees_.onHint) trees_.onHint(trees_.pathText(kStatistics, node));

    // Everything is counted before the shown result is touched: a failing statement leaves the
    // previous result whole.
    show(counts(item, terms));
    return true;
}

std::vector<StatisticsRow> PersonnelStatistics::counts(const std::string& item,
                                                                    const std::vector<std::string>& pathTerms)
{
    const db::FieldType type = columnOf(employeeColumns(dm_), item).value_or(db::FieldType::Text);
    dm_.s1.close();
    ListQuery grouped;
    grouped.select = {"select " + item + ", count(*) from " + kEmployees};
    grouped.where(Condition::fixed(item + " is not null")).where(Condition::fixed(asText(item, type) + "<>''"));
    ListQuery rest;
    rest.select = {std::string("select count(*) from ") + kEmployees};
    rest.where(Condition::empty(item, type));
    for (const std::string& t : pathTerms) {
        grouped.where(Condition::fixed(t));
        rest.where(Condition::fixed(t));
    }
    db::SqlLines lines = grouped.lines();
    lines.push_back("group by " + item);
    lines.push_back("order by " + db::sqlOrderTerm(item));

    std::vector<StatisticsRow> out;
    db::DataSet& s = dm_.s2;
    s.close();
    s.setSql(lines);
    s.open();
    out.reserve(static_cast<size_t>(s.rowCount()) + 1);
    for (int r = 0; r < s.rowCount(); ++r) out.push_back({s.rowValue(r, 0).toString(), s.rowValue(r, 1).toInt()});
    s.close();
    s.setSql(rest.lines());
    s.open();
    out.push_back({kOther, s.isEmpty() ? 0 : s.rowValue(0, 0).toInt()});
    s.close();
    return out;
}

void PersonnelStatistics::show(const std::vector<StatisticsRow>& rows)
{
    db::DataSet& result = dm_.rytongji;
    result.close();
    result.open();
    // One reset for the views at the end instead of one per appended row.
    result.disableControls();
    try {
        for (const StatisticsRow& c : rows) {
            result.append();
            result.setValue("统计类别", db::Value(c.category));
            result.setValue("人数", db::Value(c.people));
            result.post();
        }
    } catch (...) {
        result.enableControls();
        throw;
    }
    result.enableControls();
    result.first();
}

}  // namespace rsgz::query
