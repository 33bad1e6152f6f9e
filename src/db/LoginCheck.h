#pragma once
#include <string>
#include <vector>

namespace rsgz::db {

// The engine's full structural check reads every page of the file: seconds for a large database
// on a cold disk. A login cannot wait for that, but it must not open a file whose first pages are
// already broken either. These are the checks that read only a few pages however large the file is.

// The file's header (the engine's mark, a sane page size, no pages cut off its end), its schema,
// and the trees of the tables named together with their indexes. Empty when all of that is sound,
// else what was found. Throws DbError when the file cannot be opened.
std::string cheapCheckFile(const std::string& path, const std::vector<std::string>& tables);

// A write-ahead log with committed work in it lies beside the file: the last run did not end
// cleanly (a clean end folds the log into the file and removes it), or the file was copied over
// while a log stayed behind. Opening the file for writing folds that log in for good.
bool hasPendingLog(const std::string& path);

}  // namespace rsgz::db
