#pragma once
// Clerks' programs on one shared database on the test server: the database with the program's
// schema and the default operator, and per clerk a program directory whose data module works on
// a connection of its own to that database.
#include <memory>
#include <string>

#include "support/EngineFixture.h"
#include "support/ProgramLayout.h"

namespace rsgz::test {

class SharedServerDatabase {
public:
    SharedServerDatabase();  // on the test server; throws when there is none
    TemporaryDatabase& database() { return db_; }
    db::Connection& conn() { return db_.conn(); }
    // The database for a clerk's connection, the operator's name given to the server.
    db::ServerTarget target(const std::string& clerk) const;

private:
    TemporaryDatabase db_{Engine::Server};
};

// One clerk's program: its own data module on its own connection, the default operator logged in.
struct ServerClerk {
    ServerClerk(const SharedServerDatabase& shared, const std::string& name);
    ProgramLayout p{{.liveDatabase = true, .recordRules = true}};
    app::TDM& dm = p.dm();
};

}  // namespace rsgz::test
