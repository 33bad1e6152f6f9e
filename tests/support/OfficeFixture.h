#pragma once
// An office database on the test server (RSGZ_TEST_PGHOST and its fellows, see EngineFixture.h)
// for one test: the database, its group roles and its first operator, all removed after it.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "app/ServerSettings.h"
#include "db/Connection.h"

namespace rsgz::test {

class TestOffice {
public:
    TestOffice();  // throws DbError when the server refuses
    ~TestOffice();
    TestOffice(const TestOffice&) = delete;
    TestOffice& operator=(const TestOffice&) = delete;

    const std::string& database() const { return database_; }
    // Roles belong to the whole server: a name of this office's own for an operator.
    std::string role(const std::string& base) const { return base + "@" + database_; }
    const std::string& firstOperator() const { return first_; }
    static constexpr const char* kFirstPassword = "起始-Pw1";

    // The settings file's content for the way to the server that checks passwords (a socket may
    // be trusted without one), empty when there is none.
    const std::optional<app::ServerSettings>& settings() const { return settings_; }
    // A raw connection as that role, bypassing the program.
    std::unique_ptr<db::Connection> connectAs(const std::string& user, const std::string& password) const;
    // The server's administrator, on the office's database.
    db::ServerTarget adminInOffice() const;

private:
    db::ServerTarget admin_;
    std::string database_;
    std::string first_;
    std::optional<app::ServerSettings> settings_;
};

// The base of a test on an office: skipped, saying why, without a test server or without a way
// to it on which passwords are checked.
class OfficeTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override { office_.reset(); }
    TestOffice& office() { return *office_; }
    std::unique_ptr<TestOffice> office_;
};

}  // namespace rsgz::test
