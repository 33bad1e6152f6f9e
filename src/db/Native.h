#pragma once
// The engine's own handles behind Connection and Statement, and the pieces of work that need them.
// For the code of src/db alone: everything above it talks to the database through Connection.
#include <sqlite3.h>

#include <string>

#include "db/Connection.h"

namespace rsgz::db {

struct Native {
    static sqlite3* handle(Connection& conn) { return conn.handle(); }
    static sqlite3_stmt* statement(const Statement& st) { return st.stmt_; }
    // The session of a connection to a server (made on first use).
    static ServerSession& server(Connection& conn) { return conn.session(); }
    // The session of a connection to a server (connected when needed), for work the statements
    // cannot do, such as the server's bulk input.
    static ServerSession& session(Connection& conn) { return conn.session(); }
};

// The kind of failure an engine result code stands for.
DbError::Kind errorKind(int rc);
// A DbError of the kind of rc, with the engine's text as its detail.
DbError engineError(int rc, const std::string& message, const std::string& engineText, std::string statement = {});

// A connection that only reads the database file at path, with the program's collation; the
// caller closes it. Throws DbError when the file cannot be opened.
sqlite3* openFileReadOnly(const std::string& path);

// A connection from openFileReadOnly, closed however the work on it ends.
struct ReadOnlyFile {
    sqlite3* db;
    explicit ReadOnlyFile(const std::string& path) : db(openFileReadOnly(path)) {}
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    // Throws DbError with what and the engine's message.
    [[noreturn]] void fail(int rc, const std::string& what) const;
};

// The rows of a check statement ("PRAGMA quick_check" and its narrower forms) other than "ok", or
// the engine's error when the check itself breaks off on a damaged page: empty only for a sound file.
std::string checkStatementRows(sqlite3* db, const std::string& sql);

// A consistent copy of the database open on src into target, with the engine's online backup,
// written beside the target and renamed over it (Connection::backupTo). Throws DbError.
void backupDatabase(sqlite3* src, const std::string& target);

}  // namespace rsgz::db
