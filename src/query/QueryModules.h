#pragma once
#include <string>
#include <vector>

#include "query/ListQuery.h"

namespace rsgz::query {

// What the query trees, the quick search and the sort bar need to know of a module list: its
// dataset, the keys of its files below set/, and its query as data.
struct QueryModule {
    int number = 0;
    std::string dataSet;         // the shared dataset of the module's grid
    std::string treeKey;         // set/<treeKey>.list; empty: the module keeps no tree file
    std::string listKey;         // set/<listKey>_Search.List
    bool editableTree = false;   // node texts may be edited in place and saved
    bool clickFilter = false;    // a click on a node narrows the grid (other trees have their own use)
    bool quickSearch = false;    // the one-field search narrows the list
    db::SqlLines select;         // select list and from
    std::string from;            // the from part alone, for statements with a select list of their own
    std::vector<Condition> joins;  // the module's own conditions (joins, module 10's payroll flag)
    std::vector<OrderTerm> order;  // the module's own order (module 4: newest first)
};

// Modules 1 to 8 and 10 to 13 have a query (6 only its tree); nullptr for module 9 and other numbers.
const QueryModule* queryModule(int number);

// The module's list unfiltered, as it is opened from the navigation.
ListQuery baseQuery(const QueryModule& m);
// The module's list with the given conditions before its own (a tree path, a search), without
// its order unless keepOrder.
ListQuery filteredQuery(const QueryModule& m, std::vector<Condition> conditions, bool keepOrder);

// Files below the program directory (with its trailing separator).
std::string treeFilePath(const std::string& programDir, const QueryModule& m);
std::string fieldListPath(const std::string& programDir, const QueryModule& m);

}  // namespace rsgz::query
