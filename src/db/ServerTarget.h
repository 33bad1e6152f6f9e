#pragma once
#include <string>

namespace rsgz::db {

// A database on a server, as a connection names it instead of a file path. The password is held
// only for the life of the session; it is never written anywhere.
struct ServerTarget {
    std::string host;  // a host name or address, or the folder of the server's socket
    int port = 5432;
    std::string database;
    std::string user;
    std::string password;         // empty: the server's own way of knowing the user (a socket, a file)
    std::string applicationName;  // shown in the server's list of sessions: the operator
};

}  // namespace rsgz::db
