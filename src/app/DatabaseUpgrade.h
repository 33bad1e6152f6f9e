#pragma once
#include <string>

namespace rsgz::app {

class TDM;

// Brings the live database up to the program's schema version (db/SchemaUpgrade.h). A file of an
// older version is first copied whole into bak/ (bak/升级前-v<version>-<date>-<time>.db), then every
// step runs in one transaction: either the file is upgraded or it is as it was. Returns what the
// user is told (the versions and the copy), empty when the file was already up to date. Throws
// DbError in words for the user: a file of a newer program, a copy that could not be written, a
// step the file refused (rolled back).
std::string upgradeLiveDatabase(TDM& dm);

// Where the copy before an upgrade from that version goes.
std::string upgradeCopyPath(const TDM& dm, int fromVersion);

}  // namespace rsgz::app
