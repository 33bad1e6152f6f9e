#pragma once
#include <string>

#include "db/Connection.h"

namespace rsgz::db {

// A statement in SQLite's own words, prepared once from the connection's cache: the payroll runs
// that write thousands of rows bind row after row through the statement's own calls.
class BoundStatement : public db::Statement {
public:
    BoundStatement(db::Connection& conn, const std::string& sql) : db::Statement(conn.prepareCached(sql)) {}
};

}  // namespace rsgz::db
