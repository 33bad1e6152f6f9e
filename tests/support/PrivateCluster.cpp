#include "support/PrivateCluster.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace rsgz::test {

namespace {

namespace fs = std::filesystem;

// The newest server's programs of the Debian layout, empty when none is installed.
std::string serverPrograms()
{
    std::vector<fs::path> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec))
        if (fs::exists(entry.path() / "bin" / "initdb") && fs::exists(entry.path() / "bin" / "pg_ctl"))
            found.push_back(entry.path() / "bin");
    if (found.empty()) return {};
    std::sort(found.begin(), found.end(), [](const fs::path& a, const fs::path& b) {
        return std::atoi(a.parent_path().filename().c_str()) < std::atoi(b.parent_path().filename().c_str());
    });
    return found.back().string();
}

std::string fileText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

PrivateCluster::PrivateCluster()
{
    bindir_ = serverPrograms();
    if (bindir_.empty()) {
        missing_ = true;
        failure_ = "no PostgreSQL server programs in /usr/lib/postgresql/*/bin";
        return;
    }
    char templ[] = "/tmp/rsgz-own-pg.XXXXXX";
    if (!::mkdtemp(templ)) {
        failure_ = "no temporary folder for the cluster";
        return;
    }
    folder_ = templ;
    if (::geteuid() == 0) {
        if (std::system(("chown postgres: '" + folder_ + "'").c_str()) != 0) {
            failure_ = "the folder could not be given to the postgres user";
            return;
        }
        asOwner_ = "runuser -u postgres -- ";
    }
    if (!run("initdb", "-D '" + folder_ + "/data' -U postgres -E UTF8 --locale=C.UTF-8 --auth=trust", "initdb.log")) return;
    start();
}

PrivateCluster::~PrivateCluster()
{
    if (running_) stop();
    if (!folder_.empty()) {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
}

bool PrivateCluster::run(const std::string& program, const std::string& arguments, const std::string& log)
{
    const std::string logPath = folder_ + "/" + log;
    const std::string command = asOwner_ + "'" + bindir_ + "/" + program + "' " + arguments + " >>'" + logPath + "' 2>&1";
    if (std::system(command.c_str()) == 0) return true;
    failure_ = program + " failed: " + fileText(logPath);
    return false;
}

db::ServerTarget PrivateCluster::target(const std::string& database) const
{
    db::ServerTarget t;
    t.host = folder_;
    t.port = 5432;
    t.user = "postgres";
    t.database = database;
    t.applicationName = "rsgz-test";
    return t;
}

bool PrivateCluster::stop()
{
    if (!run("pg_ctl", "-D '" + folder_ + "/data' -m fast -w stop", "pg_ctl.log")) return false;
    running_ = false;
    return true;
}

bool PrivateCluster::start()
{
    const std::string options = "-c listen_addresses='' -c unix_socket_directories='" + folder_ + "' -c port=5432";
    if (!run("pg_ctl", "-D '" + folder_ + "/data' -l '" + folder_ + "/server.log' -w -o \"" + options + "\" start",
             "pg_ctl.log"))
        return false;
    running_ = true;
    return true;
}

}  // namespace rsgz::test
