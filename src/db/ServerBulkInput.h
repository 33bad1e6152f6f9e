#pragma once
// Rows sent into one table of a server's database through the server's bulk input, many rows in
// one message, for the code of src/db alone.
#include <string>
#include <vector>

#include "db/CanonicalRow.h"

namespace rsgz::db {

class ServerSession;

class ServerBulkInput {
public:
    // Starts the input into the table's columns (names as the program writes them). Throws DbError.
    ServerBulkInput(Connection& conn, const std::string& table, const std::vector<std::string>& columns);
    // Breaks an input that was not finished off, which fails the running transaction.
    ~ServerBulkInput();
    ServerBulkInput(const ServerBulkInput&) = delete;
    ServerBulkInput& operator=(const ServerBulkInput&) = delete;

    // One row of canonical values (nullopt for null), in the order of the columns.
    void add(const CanonicalRow& row);
    // Sends what is left and waits for the server to take the rows. Throws DbError.
    void finish();

private:
    void send();
    ServerSession& session_;
    std::string statement_;
    std::string buffer_;
    bool open_ = true;
};

}  // namespace rsgz::db
