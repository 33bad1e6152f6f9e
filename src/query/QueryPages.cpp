#include "query/QueryPages.h"
#include "app/Module.h"

#include <algorithm>

#include "app/Interaction.h"
#include "app/Navigation.h"
#include "app/TDM.h"

namespace rsgz::query {

namespace {
constexpr const char* kAscending = "升序";
constexpr const char* kDescending = "降序";

bool contains(const std::vector<std::string>& v, const std::string& s) { return std::find(v.begin(), v.end(), s) != v.end(); }
}  // namespace

QueryPages::QueryPages(app::TDM& dm, app::Navigation& nav)
    : dm_(dm), nav_(nav), queries_(dm), trees_(dm, queries_), settings_(dm)
{
    trees_.onTreeChanged = [this](int module) { view_->treeChanged(module); };
    trees_.onHint = [this](const std::string& text) { hint(text); };
    app::NavigationHooks& h = nav_.hooks;
    h.openSortSettings = [this](int module) { enterPage(module); };
    h.applySortSettings = [this](int module) { showStoredSort(module); };
    h.loadQueryTree = [this](int module) { trees_.load(module); };
    h.refreshQueryTree = [this](int module) { trees_.rebuild(module); };
    h.saveQueryTree = [this](int module) { trees_.save(module); };
    h.searchOneField = [this](int module, const std::string& f, const std::string& t) { search(module, f, t); };
    h.searchEmptyValue = [this](int module, const std::string& f) { searchEmpty(module, f); };
}

QueryPages::~QueryPages()
{
    app::NavigationHooks& h = nav_.hooks;
    h.openSortSettings = h.applySortSettings = h.loadQueryTree = h.refreshQueryTree = h.saveQueryTree = nullptr;
    h.searchOneField = nullptr;
    h.searchEmptyValue = nullptr;
}

// --- user actions ------------------------------------------------------------------------------------

void QueryPages::nodeClicked(int module, int node)
{
    app::runAction([&] { trees_.click(module, node); });
}

void QueryPages::nodeEdited(int module, int node, const std::string& text) { trees_.setNodeText(module, node, text); }

void QueryPages::sortChosen(int module, const std::string& field, const std::string& order)
{
    if (!contains(nav_.fieldLists(module).sort, field) || (order != kAscending && order != kDescending)) return;
    db::DataSet* ds = queries_.dataSet(module);
    if (!ds || !ds->active() || !columnOf(*ds, field)) return;
    app::runAction([&] {
        // The current query stays in force (a tree filter, a search); only its order changes.
        if (std::optional<ListQuery> q = queries_.current(module)) {
            q->orderBy(field, order == kDescending);
            queries_.apply(module, *q);
        }
        settings_.saveSort(module, field, order);
    });
}

void QueryPages::treeWidthMoved(int module, int width)
{
    app::runAction([&] { settings_.saveWidth(module, width); });
}

void QueryPages::searchFieldChosen(int module, const std::string& name)
{
    if (!isListedSearchField(module, name)) return;
    app::runAction([&] { settings_.saveSearchField(module, name); });
}

// --- navigation steps --------------------------------------------------------------------------------

void QueryPages::enterPage(int module)
{
    const SortSettings::Row row = settings_.open(module);
    view_->treeWidthShown(module, row.width);
}

void QueryPages::showStoredSort(int module)
{
    if (const std::optional<SortSettings::Row> row = settings_.read(module))
        view_->sortShown(module, row->field, row->order);
    // Only a name that is still one of the box's entries is shown.
    if (const std::optional<std::string> name = settings_.searchField(module); name && isListedSearchField(module, *name))
        view_->searchFieldShown(module, *name);
}

void QueryPages::search(int module, const std::string& field, const std::string& text)
{
    const QueryModule* own = queryModule(module);
    if ((!own || !own->quickSearch) && ownSearch) return ownSearch(module, field, text);
    hint("正在查询数据.....");
    const QueryModule* m = queryModule(module);
    db::DataSet* ds = queries_.dataSet(module);
    const std::optional<db::FieldType> type = ds ? columnOf(*ds, field) : std::nullopt;
    if (m && m->quickSearch && ds && ds->active() && !text.empty() && isListedSearchField(module, field) && type)
        queries_.apply(module, filteredQuery(*m, {Condition::like(field, text, *type)}, false));
    hint("查询结束!");
}

void QueryPages::searchEmpty(int module, const std::string& field)
{
    const QueryModule* m = queryModule(module);
    db::DataSet* ds = queries_.dataSet(module);
    if (module != app::Module::Personnel || !m || !ds || !ds->active() || !isListedSearchField(module, field)) return;
    const std::optional<db::FieldType> type = columnOf(*ds, field);
    if (!type) return;
    queries_.apply(module, filteredQuery(*m, {Condition::empty(field, *type)}, false));
}

bool QueryPages::isListedSearchField(int module, const std::string& field) const
{
    return contains(nav_.fieldLists(module).search, field);
}

}  // namespace rsgz::query
