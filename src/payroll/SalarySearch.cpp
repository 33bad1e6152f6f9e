#include "payroll/SalarySearch.h"

#include <algorithm>

#include "db/DataSet.h"
#include "payroll/SalaryView.h"
#include "query/SortSettings.h"
#include "query/TreeQueries.h"

namespace rsgz::payroll {

namespace {

constexpr const char* kAscending = "升序";
constexpr const char* kDescending = "降序";

bool listed(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

bool SalarySearch::clickNode(const std::string& set, int node)
{
    SalaryFilter kept = view_.filter();
    view_.build(set);
    SalaryFilter& f = view_.filter();
    f.nodes.clear();
    f.searchField.clear();
    f.searchText.clear();
    // The path's columns are checked against the view of this set, so it is read once unnarrowed
    // when it is not open yet.
    const bool wasOpen = gzb_.active();
    if (!wasOpen) view_.open();
    const auto conditions = trees_.pathConditions(kModule, node, gzb_);
    if (!conditions) {
        // The rows shown are still those of the previous build.
        if (!wasOpen) gzb_.close();
        view_.build(kept.set);
        view_.filter() = kept;
        return false;
    }
    // A node under a set's name shows that set, whatever the box showed before.
    for (const query::Condition& c : *conditions) {
        if (c.column != "工资帐套" || c.value.toString() == set) continue;
        view_.build(c.value.toString());
        break;
    }
    SalaryFilter& shown = view_.filter();
    for (const query::Condition& c : *conditions) shown.nodes.emplace_back(c.column, c.value.toString());
    view_.open();
    if (node >= 0 && trees_.onHint) trees_.onHint(trees_.pathText(kModule, node));
    return true;
}

bool SalarySearch::sort(const std::string& field, const std::string& order)
{
    if (!listed(sortFields(), field) || (order != kAscending && order != kDescending)) return false;
    view_.filter().sortField = field;
    view_.filter().descending = order == kDescending;
    view_.open();
    settings_.saveSort(kModule, field, order);
    return true;
}

bool SalarySearch::search(const std::string& field, const std::string& text)
{
    SalaryFilter& f = view_.filter();
    if (text.empty()) {
        // An emptied box takes the search back: the node's rows again.
        if (f.searchText.empty()) return false;
        f.searchField.clear();
        f.searchText.clear();
        view_.open();
        return true;
    }
    if (!listed(searchFields(), field)) return false;
    view_.filter().searchField = field;
    view_.filter().searchText = text;
    view_.open();
    return true;
}

std::vector<std::string> SalarySearch::searchFields() const { return sortFields(); }

std::vector<std::string> SalarySearch::sortFields() const
{
    std::vector<std::string> out = view_.gridColumns();
    std::erase_if(out, [](const std::string& c) { return c == "序号" || c == "编号"; });
    return out;
}

}  // namespace rsgz::payroll
