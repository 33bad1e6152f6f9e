#include "support/OfficeFixture.h"

#include <unistd.h>

#include <random>

#include "admin/OfficeRights.h"
#include "support/EngineFixture.h"

namespace rsgz::test {

namespace {

std::string uniqueOfficeName()
{
    static int counter = 0;
    std::random_device rd;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06x", static_cast<unsigned>(rd()) & 0xFFFFFF);
    return "rsgzo_" + std::to_string(::getpid()) + "_" + std::to_string(++counter) + "_" + buf;
}

bool refusesWrongPassword(const db::ServerTarget& base, const std::string& user)
{
    db::ServerTarget t = base;
    t.user = user;
    t.password = "surely-not-the-password";
    try {
        db::Connection c(t);
        c.open();
        return false;
    } catch (const db::DbError& e) {
        return e.kind() == db::DbError::Kind::Denied;
    }
}

}  // namespace

TestOffice::TestOffice()
{
    admin_ = *testServer();
    database_ = uniqueOfficeName();
    first_ = role("管理员");
    admin::createOffice(admin_, database_, first_, kFirstPassword);
    // The same server over the loopback when its socket lets anyone in without a password.
    db::ServerTarget way = admin_;
    way.database = database_;
    if (!refusesWrongPassword(way, first_) && way.host.starts_with('/')) way.host = "127.0.0.1";
    if (refusesWrongPassword(way, first_)) settings_ = app::ServerSettings{way.host, way.port, database_};
}

TestOffice::~TestOffice()
{
    try {
        admin::dropOffice(admin_, database_);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "office " << database_ << " not removed: " << e.what();
    }
}

std::unique_ptr<db::Connection> TestOffice::connectAs(const std::string& user, const std::string& password) const
{
    auto c = std::make_unique<db::Connection>(settings_->target(user, password));
    c->open();
    return c;
}

db::ServerTarget TestOffice::adminInOffice() const
{
    db::ServerTarget t = admin_;
    t.database = database_;
    return t;
}

void OfficeTest::SetUp()
{
    if (!testServer())
        GTEST_SKIP() << "no test server: set RSGZ_TEST_PGHOST (and RSGZ_TEST_PGPORT, RSGZ_TEST_PGUSER) to run the server half";
    office_ = std::make_unique<TestOffice>();
    if (!office_->settings()) GTEST_SKIP() << "the test server lets roles in without checking their passwords";
}

}  // namespace rsgz::test
