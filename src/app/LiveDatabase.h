#pragma once
#include <string>

namespace rsgz::app {

class TDM;

// The live database file at login, before the connection first opens it.

// Copies the template into data/ when the live file is missing or empty (a zero-length file holds
// no tables; opened as it is it would lock every operator out). Throws DbError when the copy fails.
void ensureLiveDatabase(TDM& dm);

// Refuses, with a DbError in words for the user, a live file the program could not save into
// (read-only file or folder) and one that fails the engine's structural check; the latter names
// the way out, a copy from bak. The check reads the whole file, so it runs beside the window.
void checkLiveDatabase(TDM& dm);

// The newest close-time copy in bak (bak/yyyymmdd.db), empty when there is none.
std::string latestBackup(const TDM& dm);

}  // namespace rsgz::app
