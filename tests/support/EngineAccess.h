#pragma once
// The engine's own handles, for tests that look at or damage a database file behind the program's
// back. The program itself reaches the engine only inside src/db.
#include "db/Native.h"

namespace rsgz::test {

inline sqlite3* engineHandle(db::Connection& conn) { return db::Native::handle(conn); }
inline sqlite3_stmt* engineStatement(const db::Statement& st) { return db::Native::statement(st); }
using db::ReadOnlyFile;

}  // namespace rsgz::test
