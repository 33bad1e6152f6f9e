// The operator's rights, checked where the rows of a shared dataset are written: whichever window
// or operation inserts, posts or deletes, a dataset guarded by a right refuses without it.
#include <string>

#include "app/OperatorRights.h"
#include "app/rules/RecordRules.h"
#include "app/rules/RuleHelpers.h"

namespace rsgz::app::rules {
using namespace rsgz::db;

namespace {

// The check runs before every rule already bound (prependRule), so that a refused delete asks
// nothing and a refused insert opens no picker or editor.
void bindGuard(TDM& dm, DataSet& ds, std::string right)
{
    DataSetRules& r = ds.rules();
    r.mayChange = [&dm, right](const DataSet&) { return hasRight(dm, right); };
    prependRule(r.beforeInsert, [&dm, right](DataSet&) { requireRight(dm, right); });
    prependRule(r.beforeDelete, [&dm, right](DataSet&) { requireRight(dm, right); });
    // A refused edit is dropped: the row shows what is stored again and the next move goes on.
    prependRule(r.beforePost, [&dm, right](DataSet& d) {
        if (hasRight(dm, right)) return;
        d.cancel();
        requireRight(dm, right);
    });
}

}  // namespace

void bindRightsGuards(TDM& dm)
{
    for (DataSet* ds : dm.allDataSets()) {
        const std::string_view right = rightOfDataSet(ds->name());
        if (!right.empty()) bindGuard(dm, *ds, std::string(right));
    }
}

}  // namespace rsgz::app::rules

namespace rsgz::app {
void guardWithRight(TDM& dm, db::DataSet& ds, const std::string& right) { rules::bindGuard(dm, ds, right); }
}  // namespace rsgz::app
