#pragma once
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "query/QueryModules.h"

namespace rsgz::app {
class TDM;
}
namespace rsgz::db {
class DataSet;
}

namespace rsgz::query {

// The current query of each module list, kept as data. Everything that narrows or sorts a module
// list goes through apply(), so later steps (the sort bar, the batch change) continue from the
// query itself and never from the statement's text.
class ModuleQueries {
public:
    explicit ModuleQueries(app::TDM& dm) : dm_(dm) {}

    // The module's dataset, nullptr when the module has no query.
    db::DataSet* dataSet(int module) const;
    // Opens the module's list on the query and keeps it as the list's current query. On a failed
    // statement the list keeps its rows and its query; the error is thrown on.
    void apply(int module, const ListQuery& q);
    // The list's current query: the one last applied, or the module's own when the list was opened
    // unfiltered by the navigation; nothing when the list holds a statement made elsewhere.
    std::optional<ListQuery> current(int module) const;
    // The list's queryable columns with their types: from the open list, or from a read of no rows
    // while the list is closed (the salary table before its page opened it).
    std::vector<std::pair<std::string, db::FieldType>> columnTypes(int module);

private:
    app::TDM& dm_;
    std::map<std::string, ListQuery> kept_;  // by dataset name (modules 1 and 10 share rszl)
};

}  // namespace rsgz::query
