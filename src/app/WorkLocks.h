#pragma once
#include <string>

#include "db/WorkLock.h"

namespace rsgz::app {

class TDM;

// The name of the logged-in operator (the row login left in zh), empty before a login.
std::string operatorName(const TDM& dm);

// The work locks of the logged-in operator on the live database (db/WorkLock.h). When another
// clerk holds the work, the notice names them and the operation ends quietly.
db::WorkLock lockPart(TDM& dm, const std::string& key, const std::string& what);
db::WorkLock lockWholeDatabase(TDM& dm, const std::string& what);

}  // namespace rsgz::app
