#pragma once
// A database server of a test's own, for what the shared test server must not go through (being
// stopped and started again): a cluster made with initdb in a temporary folder (as the postgres
// user when the test runs as root, since the server refuses root), listening on a socket in that
// folder only, its local users trusted. Stopped and removed when the object goes.
#include <string>

#include "db/ServerTarget.h"

namespace rsgz::test {

class PrivateCluster {
public:
    PrivateCluster();
    ~PrivateCluster();
    PrivateCluster(const PrivateCluster&) = delete;
    PrivateCluster& operator=(const PrivateCluster&) = delete;

    // Why there is no cluster: empty when it runs. missingPrograms() tells a machine without the
    // server programs (a test skips then) from a cluster that failed to come up (a test fails).
    const std::string& failure() const { return failure_; }
    bool missingPrograms() const { return missing_; }

    // The superuser on the cluster's socket, to the database named.
    db::ServerTarget target(const std::string& database = "postgres") const;

    // Stops the server (ending every session, as an administrator's restart does) and starts it
    // again; false with failure() set when either does not work.
    bool stop();
    bool start();

private:
    bool run(const std::string& program, const std::string& arguments, const std::string& log);
    std::string bindir_;
    std::string folder_;
    std::string asOwner_;
    std::string failure_;
    bool missing_ = false;
    bool running_ = false;
};

}  // namespace rsgz::test
