#pragma once
// A database for one test on either engine: a temporary SQLite file, or a temporary database on the
// test server named by the environment (RSGZ_TEST_PGHOST: host or socket folder, RSGZ_TEST_PGPORT,
// RSGZ_TEST_PGUSER: a role that may make databases, RSGZ_TEST_PGPASSWORD), dropped at the end.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "db/Connection.h"
#include "support/TempDir.h"

namespace rsgz::test {

enum class Engine { File, Server };

// The test server, to a database to connect to first ("postgres"); nullopt without one.
std::optional<db::ServerTarget> testServer();

// What a temporary database holds from the start: nothing, or what a new office's database holds
// (the schema and the default operator, as the template file).
enum class Contents { Empty, NewOffice };

class TemporaryDatabase {
public:
    // Throws DbError when the server refuses.
    explicit TemporaryDatabase(Engine engine, Contents contents = Contents::Empty);
    ~TemporaryDatabase();
    TemporaryDatabase(const TemporaryDatabase&) = delete;
    TemporaryDatabase& operator=(const TemporaryDatabase&) = delete;
    db::Connection& conn() { return *conn_; }
    // A second connection to the same database (two clerks).
    std::unique_ptr<db::Connection> connectAgain() const;
    // Points a connection of the test's own at this database.
    void useIn(db::Connection& other) const;
    // The newest schema, as the program makes it.
    void createSchema();
    // The schema with the default operator, as a new office's database or the template file holds it.
    void createContents();
    const std::string& serverName() const { return name_; }
    // Where a connection of the program finds this database on the server; nullopt for a file.
    std::optional<db::ServerTarget> serverTarget() const;

private:
    Engine engine_;
    TempDir dir_;
    std::optional<db::ServerTarget> admin_;
    std::string name_;
    std::unique_ptr<db::Connection> conn_;
};

// The base of a test whose body runs on both engines; the server half is skipped, saying why,
// when no test server is named.
class BothEngines : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
    void TearDown() override { db_.reset(); }
    db::Connection& conn() { return db_->conn(); }
    TemporaryDatabase& database() { return *db_; }
    std::unique_ptr<TemporaryDatabase> db_;
};

std::string engineName(const ::testing::TestParamInfo<Engine>& info);

// The engine a fixture can build its database on now: the server half falls back to a file when no
// test server is named, so that the fixture is made and its SetUp reports the test skipped.
Engine availableEngine(Engine wanted);

// The base of a test over a whole program (ProgramLayout and the like) whose body runs on both
// engines. The fixture builds its program on availableEngine(GetParam()); SetUp skips the server
// half without a server. A fixture with a SetUp of its own calls this one first and returns when
// IsSkipped().
class OnBothEngines : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
    static Engine engine() { return availableEngine(GetParam()); }
    static bool onServer() { return engine() == Engine::Server; }
};

// The rows a statement gives as one text that reads the same on both engines: the columns of a row
// one after another, the rows separated by ",", a null as nothing, a stored number in its shortest
// plain decimals (160 whether the engine says 160 or 160.0, 0.0001). A check written with it needs
// no aggregate of one engine (group_concat, string_agg).
std::string rowsText(db::Connection& conn, const std::string& sql);

// The engine itself refuses to insert into, update or delete from a table with the message given,
// while a condition on the new (on a delete: the old) row holds ("new.姓名 = '拒绝'"; empty: every row): a trigger in
// the words of the engine the connection is on. dropRefusal takes it away again.
enum class Write { Insert, Update, Delete };
void refuseWrites(db::Connection& conn, const std::string& name, Write write, const std::string& table,
                  const std::string& condition, const std::string& message);
void dropRefusal(db::Connection& conn, const std::string& name, const std::string& table);
// How many indexes of a table name a column in their definition.
int indexesNaming(db::Connection& conn, const std::string& table, const std::string& column);
}  // namespace rsgz::test

// Runs the tests of a BothEngines suite on the file and on the server.
#define RSGZ_ON_BOTH_ENGINES(Suite)                                                                  \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite,                                                         \
                             ::testing::Values(rsgz::test::Engine::File, rsgz::test::Engine::Server), \
                             rsgz::test::engineName)
