#include "query/ModuleQueries.h"

#include "app/ModuleInfo.h"
#include "app/TDM.h"

namespace rsgz::query {

db::DataSet* ModuleQueries::dataSet(int module) const
{
    const QueryModule* m = queryModule(module);
    return m ? dm_.dataSet(m->dataSet) : nullptr;
}

void ModuleQueries::apply(int module, const ListQuery& q)
{
    db::DataSet* ds = dataSet(module);
    if (!ds) return;
    applyQuery(*ds, q);
    kept_[ds->name()] = q;
}

std::optional<ListQuery> ModuleQueries::current(int module) const
{
    const QueryModule* m = queryModule(module);
    const db::DataSet* ds = dataSet(module);
    if (!m || !ds) return std::nullopt;
    if (const auto it = kept_.find(ds->name()); it != kept_.end() && it->second.lines() == ds->sqlLines())
        return it->second;
    // The navigation opens the lists with their fixed statements; any module sharing the dataset
    // may have opened it (the personnel list and the payroll-set assignment).
    for (int other = 1; other <= 13; ++other) {
        const QueryModule* om = queryModule(other);
        const app::ModuleInfo* info = app::findModule(other);
        if (om && info && om->dataSet == m->dataSet && !info->sql.empty() && info->sql == ds->sqlLines())
            return baseQuery(*om);
    }
    return std::nullopt;
}

}  // namespace rsgz::query
