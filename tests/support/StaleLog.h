#pragma once
#include <string>

namespace rsgz::test {

// Leaves the database file at `live` as the program meets it after a crash when someone copied an
// older copy of the database over the file but left the crashed run's write-ahead log beside it:
// the engine replays the log into a file it does not belong to, and the result is damaged.
// The connection of the data module must not be open on the file. Returns the older copy's bytes'
// path (kept beside the file as live + ".older").
std::string leaveStaleLog(const std::string& live);

}  // namespace rsgz::test
