#pragma once
namespace rsgz::db {
class Connection;
}

namespace rsgz::app {

// Every table, the unique index and the default operator, made in an empty database on either
// engine in one transaction: what the template file holds, and a new office's database on a server.
void createDatabaseContents(db::Connection& conn);

}  // namespace rsgz::app
