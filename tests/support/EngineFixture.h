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

class TemporaryDatabase {
public:
    explicit TemporaryDatabase(Engine engine);  // throws DbError when the server refuses
    ~TemporaryDatabase();
    TemporaryDatabase(const TemporaryDatabase&) = delete;
    TemporaryDatabase& operator=(const TemporaryDatabase&) = delete;
    db::Connection& conn() { return *conn_; }
    // A second connection to the same database (two clerks).
    std::unique_ptr<db::Connection> connectAgain() const;
    // The newest schema, as the program makes it.
    void createSchema();
    const std::string& serverName() const { return name_; }

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

}  // namespace rsgz::test

// Runs the tests of a BothEngines suite on the file and on the server.
#define RSGZ_ON_BOTH_ENGINES(Suite)                                                                  \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite,                                                         \
                             ::testing::Values(rsgz::test::Engine::File, rsgz::test::Engine::Server), \
                             rsgz::test::engineName)
