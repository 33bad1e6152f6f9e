#pragma once
#include <functional>
#include <string>

#include "query/ModuleQueries.h"
#include "query/SortSettings.h"
#include "query/TreeQueries.h"

namespace rsgz::app {
class Navigation;
class TDM;
}  // namespace rsgz::app

namespace rsgz::query {

// What a window shows of the module pages' query state. Every method has a do-nothing default.
class QueryPagesView {
public:
    virtual ~QueryPagesView() = default;
    virtual void treeChanged(int /*module*/) {}
    virtual void hintChanged(const std::string& /*text*/) {}
    // Filling the boxes and the width is no user action: nothing is stored or re-sorted by it.
    virtual void sortShown(int /*module*/, const std::string& /*field*/, const std::string& /*order*/) {}
    virtual void treeWidthShown(int /*module*/, int /*width*/) {}
    virtual void searchFieldShown(int /*module*/, const std::string& /*name*/) {}
};

// The query side of the module pages: the trees, the quick search, the sort bar and what the pages
// remember. It plugs itself into the navigation's hooks for the steps the navigation runs (entering
// a page, the tree menu, the search), and offers the user's actions on a page to its window.
class QueryPages {
public:
    QueryPages(app::TDM& dm, app::Navigation& nav);
    ~QueryPages();
    QueryPages(const QueryPages&) = delete;
    QueryPages& operator=(const QueryPages&) = delete;

    void setView(QueryPagesView* view) { view_ = view ? view : &none_; }
    // Pages whose quick search is their own (the salary table) plug it in here; the navigation's
    // search hook stays with these pages.
    std::function<void(int module, const std::string& field, const std::string& text)> ownSearch;
    ModuleQueries& queries() { return queries_; }
    TreeQueries& trees() { return trees_; }
    SortSettings& settings() { return settings_; }

    // --- the user's actions on a page (each runs like a button: errors reach the error box) -------
    void nodeClicked(int module, int node);  // node -1: a click beside the nodes
    void nodeEdited(int module, int node, const std::string& text);
    // A choice in the sort box or the direction box: sorts the current query and stores the choice.
    void sortChosen(int module, const std::string& field, const std::string& order);
    void treeWidthMoved(int module, int width);
    void searchFieldChosen(int module, const std::string& name);

    // --- steps the navigation runs ------------------------------------------------------------------
    void enterPage(int module);       // the sort-table row and the tree width
    void showStoredSort(int module);  // the stored sort and search column into the boxes
    // The quick search: the list narrowed to rows whose column contains the text.
    void search(int module, const std::string& field, const std::string& text);
    // The magnifier with no text (personnel list only): rows whose column is null or empty.
    void searchEmpty(int module, const std::string& field);

private:
    bool isListedSearchField(int module, const std::string& field) const;
    void hint(const std::string& text) { view_->hintChanged(text); }

    app::TDM& dm_;
    app::Navigation& nav_;
    ModuleQueries queries_;
    TreeQueries trees_;
    SortSettings settings_;
    QueryPagesView none_;
    QueryPagesView* view_ = &none_;
};

}  // namespace rsgz::query
