#pragma once
#include <string>

namespace rsgz::test {

// Makes the first page of a table's tree in the database file unreadable (its page type byte is no
// type the engine knows), as a failing disk would. No connection may be open on the file.
void breakTableTree(const std::string& file, const std::string& table);

// Writes bytes over the file at the offset.
void overwriteBytes(const std::string& file, long long at, const std::string& bytes);

}  // namespace rsgz::test
