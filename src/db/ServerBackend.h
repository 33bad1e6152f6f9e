#pragma once
// The connection to a database server behind Connection and Statement, for the code of src/db
// alone (the server's client library is included by ServerBackend.cpp only).
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/ServerTarget.h"

struct pg_conn;
struct pg_result;

namespace rsgz::db {

// The kind of failure a server's five-character error code stands for.
DbError::Kind serverErrorKind(std::string_view sqlState);

class ServerSession {
public:
    // Connects; throws DbError (Lost when the server cannot be reached, Denied for a wrong password).
    explicit ServerSession(const ServerTarget& target);
    ~ServerSession();
    ServerSession(const ServerSession&) = delete;
    ServerSession& operator=(const ServerSession&) = delete;

    // Runs statements in the server's words that take no parameters; returns the rows changed by
    // the last of them.
    int exec(const std::string& sql);
    // Prepares a statement in the server's words under a name of its own; throws DbError.
    std::string prepare(const std::string& sql, int parameters);
    // The prepared statement is no longer needed (it is let go with the next batch).
    void release(std::string name);
    bool inTransaction() const;
    bool broken() const;
    int changes() const { return changes_; }
    void noteChanges(pg_result* result);
    // The domains of the text widths a creation statement uses, made where missing.
    void ensureTextDomains(const std::vector<int>& widths);
    [[noreturn]] void fail(pg_result* result, const std::string& statement);
    pg_conn* conn() const { return conn_; }
    bool transactionFailed() const;
    // The names of a table and of its columns by the server's ids, as a result describes a column.
    std::string tableName(unsigned tableOid);
    std::string columnName(unsigned tableOid, int columnNumber);

private:
    void dropReleased();
    pg_conn* conn_ = nullptr;
    int changes_ = 0;
    uint64_t counter_ = 0;
    std::vector<std::string> released_;
    std::vector<int> knownDomains_;
    std::map<unsigned, std::pair<std::string, std::vector<std::string>>> tables_;
    bool domainsRead_ = false;
};

// One prepared statement on the server with its values and, once run, its whole result.
class ServerStatement {
public:
    // The session stays open while a statement of it lives, even after its connection closed.
    ServerStatement(std::shared_ptr<ServerSession> session, std::string sql, int parameters);
    ~ServerStatement();
    ServerStatement(const ServerStatement&) = delete;
    ServerStatement& operator=(const ServerStatement&) = delete;

    bool step();
    void reset();
    void bind(int param, std::optional<std::string> value);
    int columnCount();
    std::string columnName(int column);
    Statement::ColumnType columnType(int column) const;
    std::optional<std::string> text(int column) const;
    Money money(int column) const;
    double number(int column) const;
    int64_t integer(int column) const;
    // The server's type of a column (its object id), from the result or the statement's description.
    unsigned typeOid(int column);
    // The table a column is read from and the column's number there (0 for an expression).
    unsigned tableOid(int column);
    int tableColumn(int column);

private:
    pg_result* described();
    const char* value(int column) const;
    std::shared_ptr<ServerSession> session_;
    std::string sql_;
    std::string name_;
    std::vector<std::optional<std::string>> params_;
    pg_result* result_ = nullptr;
    pg_result* description_ = nullptr;
    int row_ = -1;
    int rows_ = 0;
};

}  // namespace rsgz::db
