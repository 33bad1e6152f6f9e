#include "payroll/SalaryPageForm.h"

#include <algorithm>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/BoundStatement.h"
#include "payroll/IncomeTax.h"
#include "payroll/MonthLock.h"
#include "payroll/MonthTable.h"
#include "payroll/SalaryClosing.h"
#include "query/TreeQueries.h"

namespace rsgz::payroll {

SalaryPageForm::SalaryPageForm(app::TDM& dm) : dm_(dm), view_(dm.DMADO, dm.gzb) {}

void SalaryPageForm::attachQueries(query::TreeQueries& trees, query::SortSettings& settings)
{
    trees_ = &trees;
    search_ = std::make_unique<SalarySearch>(view_, dm_.gzb, trees, settings);
}

bool SalaryPageForm::mayClose() const { return payroll::mayClose(dm_); }

void SalaryPageForm::fillSets()
{
    sets.clear();
    db::BoundStatement names(dm_.DMADO, "select 帐套名称 from 帐套 order by 编号");
    while (names.step())
        if (std::string n = names.textOrEmpty(0); !n.empty()) sets.push_back(std::move(n));
    if (std::find(sets.begin(), sets.end(), set) == sets.end()) set = sets.empty() ? std::string() : sets.front();
}

// Builds the view for a set; what the build found wrong is said once.
void SalaryPageForm::build(const std::string& name)
{
    set = name;
    view_.build(name);
}

// Reads the view and tells the window; a missing tax bracket and the build's warnings are said
// once per read, never per row.
void SalaryPageForm::read()
{
    view_.open();
    if (onRead) onRead();
    std::string said;
    for (const std::string& w : view_.config().warnings) said += (said.empty() ? "" : "\n") + w;
    if (view_.missedBracket()) said += (said.empty() ? "" : "\n") + std::string(IncomeTax::missingBracketWarning());
    if (const tax::ViewWithholding* w = view_.withholding(); w && !w->openMonthsNote().empty())
        said += (said.empty() ? "" : "\n") + w->openMonthsNote();
    if (!said.empty()) app::interaction().showMessage(said);
}

void SalaryPageForm::opened()
{
    app::runAction([this] {
        fillSets();
        const SalaryFilter kept = view_.filter();
        build(set);
        // A search or a node of an earlier visit no longer applies: the page starts on the whole set.
        view_.filter().nodes.clear();
        view_.filter().searchField.clear();
        view_.filter().searchText.clear();
        view_.filter().sortField = kept.sortField;
        view_.filter().descending = kept.descending;
        read();
        // A tree never built (a new installation) is built from its field list, so the months
        // there are show as nodes without 刷新查询列表.
        if (trees_ && trees_->tree(SalarySearch::kModule).empty()) {
            const std::vector<std::string> columns = trees_->fieldList(SalarySearch::kModule);
            if (!columns.empty()) trees_->build(SalarySearch::kModule, columns);
        }
    });
}

void SalaryPageForm::chooseSet(const std::string& name)
{
    app::runAction([&] {
        build(name);
        view_.filter() = {};
        view_.filter().set = name;
        read();
    });
}

void SalaryPageForm::clickNode(int node)
{
    if (!search_) return;
    app::runAction([&] {
        if (!search_->clickNode(set, node)) return;
        set = view_.config().set;
        read();
    });
}

void SalaryPageForm::sort(const std::string& field, const std::string& order)
{
    if (!search_) return;
    app::runAction([&] {
        if (search_->sort(field, order)) read();
    });
}

void SalaryPageForm::search(const std::string& field, const std::string& text)
{
    if (!search_) return;
    app::runAction([&] {
        if (search_->search(field, text)) read();
    });
}

void SalaryPageForm::closeOrReopen(bool closing)
{
    app::runAction([&] {
        if (!dm_.gzb.active()) return;
        requireClosingRights(dm_);  // before the question: without the rights nothing is asked
        const std::string question = view_.question(closing);
        if (question.empty()) {
            app::interaction().showMessage(closing ? "当前列表中没有未结帐的工资记录。" : "当前列表中没有已结帐的工资记录。");
            return;
        }
        if (!app::interaction().ask(question)) return;
        const std::vector<db::WorkLock> locks = lockMonths(dm_, view_.scope(closing).periods);
        int n = 0;
        try {
            n = closing ? view_.closeRows() : view_.reopenRows();
        } catch (...) {
            // The rows are as they were; the page shows them again rather than an empty grid.
            app::runAction([this] { view_.open(); });
            if (onRead) onRead();
            throw;
        }
        if (onRead) onRead();
        app::interaction().showMessage((closing ? "已结帐 " : "已取消结帐 ") + std::to_string(n) + " 条工资记录。");
    });
}

// The first node whose path names exactly this month: its year, its month and, when the tree
// has a set level, its set.
int SalaryPageForm::monthNode(const Period& p) const
{
    if (!trees_) return -1;
    const std::vector<std::string> columns = trees_->fieldList(SalarySearch::kModule);
    const query::QueryTree& tree = trees_->tree(SalarySearch::kModule);
    for (int n = 0; n < tree.size(); ++n) {
        const std::vector<std::string> path = tree.path(n);
        if (path.size() > columns.size()) continue;
        bool year = false, month = false, other = false;
        for (size_t level = 0; level < path.size(); ++level) {
            const std::string& c = columns[level];
            if (c == "年") year = path[level] == p.year;
            else if (c == "月") month = path[level] == p.month;
            else if (c != "工资帐套" || path[level] != p.set) other = true;
        }
        if (year && month && !other) return n;
    }
    return -1;
}

int SalaryPageForm::showMonth(const Period& p)
{
    int node = -1;
    app::runAction([&] {
        fillSets();
        node = monthNode(p);
        if (node >= 0 && search_ && search_->clickNode(p.set, node)) {
            set = view_.config().set;
            read();
            return;
        }
        node = -1;
        const SalaryFilter kept = view_.filter();
        build(p.set);
        view_.filter().nodes = {{"月", p.month}, {"年", p.year}};
        view_.filter().searchField.clear();
        view_.filter().searchText.clear();
        view_.filter().sortField = kept.sortField;
        view_.filter().descending = kept.descending;
        read();
    });
    return node;
}

void SalaryPageForm::reread()
{
    app::runAction([this] {
        fillSets();
        const SalaryFilter kept = view_.filter();
        build(set);
        const std::string shownSet = view_.filter().set;
        view_.filter() = kept;
        view_.filter().set = shownSet;
        read();
    });
}

std::vector<std::string> SalaryPageForm::searchFields() const
{
    return search_ ? search_->searchFields() : std::vector<std::string>{};
}

std::vector<std::string> SalaryPageForm::sortFields() const
{
    return search_ ? search_->sortFields() : std::vector<std::string>{};
}

}  // namespace rsgz::payroll
