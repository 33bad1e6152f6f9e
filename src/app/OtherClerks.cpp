#include "app/OtherClerks.h"

#include <exception>

#include "db/Connection.h"
#include "db/DataSet.h"

namespace rsgz::app {

bool rereadForOtherClerks(db::DataSet& ds)
{
    if (!ds.active() || !ds.connection() || !ds.connection()->isServer()) return false;
    try {
        return ds.reread();
    } catch (const db::Abort&) {
    } catch (const std::exception&) {
    }
    return false;
}

}  // namespace rsgz::app
