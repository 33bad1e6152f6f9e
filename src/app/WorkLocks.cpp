#include "app/WorkLocks.h"

#include "app/TDM.h"

namespace rsgz::app {

namespace {
template <class Take>
db::WorkLock taken(TDM& dm, Take take)
{
    try {
        return take();
    } catch (const db::LockRefused& e) {
        dm.ShowMessage_jd(e.what());
        db::abortSilently();
    }
}
}  // namespace

std::string operatorName(const TDM& dm)
{
    const db::DataSet& zh = dm.zh;
    return zh.active() && !zh.isEmpty() && zh.fieldIndex("姓名") >= 0 ? zh.asString("姓名") : std::string();
}

db::WorkLock lockPart(TDM& dm, const std::string& key, const std::string& what)
{
    return taken(dm, [&] { return db::WorkLock::part(dm.DMADO, key, what, operatorName(dm)); });
}

db::WorkLock lockWholeDatabase(TDM& dm, const std::string& what)
{
    return taken(dm, [&] { return db::WorkLock::whole(dm.DMADO, what, operatorName(dm)); });
}

}  // namespace rsgz::app
