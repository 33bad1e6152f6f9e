#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "db/Connection.h"
#include "db/LoginCheck.h"
#include "support/BrokenPage.h"
#include "support/TestDatabase.h"

using namespace rsgz::db;
namespace fs = std::filesystem;

namespace {

// What a check says, or why it could not even open the file.
std::string said(const std::function<std::string()>& check)
{
    try {
        return check();
    } catch (const DbError& e) {
        return e.what();
    }
}

}  // namespace

// The login reads only the header, the schema and the operators: damage there is found without
// reading the rest, and damage elsewhere is left to the full check that follows the login.
TEST(LoginCheck, FindsDamageInWhatTheLoginReadsAndLeavesTheRestToTheFullCheck)
{
    struct Case {
        const char* what;
        std::function<void(const std::string&)> damage;
        bool cheapFinds;
    };
    const Case cases[] = {
        {"sound", [](const std::string&) {}, false},
        {"mark", [](const std::string& f) { rsgz::test::overwriteBytes(f, 0, "XQLite"); }, true},
        {"page size", [](const std::string& f) { rsgz::test::overwriteBytes(f, 16, std::string("\x03\x00", 2)); }, true},
        {"cut off", [](const std::string& f) { fs::resize_file(f, fs::file_size(f) / 2); }, true},
        {"schema tree", [](const std::string& f) { rsgz::test::overwriteBytes(f, 100, std::string(8, '\xff')); }, true},
        {"operators", [](const std::string& f) { rsgz::test::breakTableTree(f, "权限"); }, true},
        {"employees", [](const std::string& f) { rsgz::test::breakTableTree(f, "员工基本情况"); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rsgz::test::TestDatabase db;
        const std::string live = db.livePath();
        c.damage(live);
        EXPECT_FALSE(hasPendingLog(live));
        const std::string cheap = said([&] { return cheapCheckFile(live, {"权限"}); });
        EXPECT_EQ(!cheap.empty(), c.cheapFinds) << cheap;
        const std::string full = said([&] { return quickCheckFile(live); });
        EXPECT_EQ(full.empty(), std::string(c.what) == "sound") << full;
    }
}
