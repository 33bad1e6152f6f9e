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

std::vector<std::pair<std::string, db::FieldType>> ModuleQueries::columnTypes(int module)
{
    std::vector<std::pair<std::string, db::FieldType>> out;
    const QueryModule* m = queryModule(module);
    if (!m) return out;
    const auto collect = [&](const db::DataSet& ds) {
        for (const std::string& name : queryableColumns(ds)) out.emplace_back(name, *columnOf(ds, name));
    };
    if (const db::DataSet* ds = dataSet(module); ds && ds->active()) {
        collect(*ds);
        return out;
    }
    ListQuery none = baseQuery(*m);
    none.where(Condition::fixed("0=1"));
    dm_.s1.close();
    dm_.s1.setSql(none.lines());
    dm_.s1.open();
    collect(dm_.s1);
    dm_.s1.close();
    return out;
}

}  // namespace rsgz::query
