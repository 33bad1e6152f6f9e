#pragma once
#include <string>
#include <vector>

namespace rsgz::db {

// Whole database files other than the one the program has open: backups chosen by the user, the
// file a restore brings back, the output of a compaction. Each function opens its own connections
// and may run on a thread of its own. All throw DbError with the engine's reason.

// A consistent copy of the database file at source (its write-ahead log included) into target,
// written beside the target and renamed over it. The copy is a plain single file.
void backupFile(const std::string& source, const std::string& target);

// The database at source rewritten compactly into the new file target (which must not exist).
void compactFile(const std::string& source, const std::string& target);

// Of the tables named, those the database file at path does not hold.
std::vector<std::string> missingTables(const std::string& path, const std::vector<std::string>& names);

}  // namespace rsgz::db
