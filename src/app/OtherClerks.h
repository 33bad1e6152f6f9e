#pragma once

namespace rsgz::db {
class DataSet;
}

namespace rsgz::app {

// On a server other clerks change the shared lists while this one works: a list that is shown
// again (its window active again, its module chosen again) is read afresh, staying on the row it
// was on by the row's key (db::DataSet::reread). On a file only this program writes, and every
// window already shows its own writes, so nothing is read there.
//
// A list being edited, holding unsaved batch changes or narrowed by the program stays as it is.
// So does a list whose re-read fails (the server went away): nobody asked for this read, so it
// shows no box, and the operator's next action meets the failure and is told. True when the list
// was read afresh.
bool rereadForOtherClerks(db::DataSet& ds);

}  // namespace rsgz::app
