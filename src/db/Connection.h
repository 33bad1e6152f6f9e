#pragma once
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "db/DbError.h"
#include "db/FieldType.h"

struct sqlite3;
struct sqlite3_stmt;

namespace rsgz::db {

class Statement;

// The one connection to the live database. It is not opened at construction; it connects on first
// use and again by itself when used after close() (file operations close it around their work).
class Connection {
public:
    explicit Connection(std::string path = {});
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setPath(std::string path);
    const std::string& path() const { return path_; }

    // Opens the file if needed. The file must exist: a missing database is an error, never a new
    // empty file. A file or folder the program cannot write is refused before the engine touches
    // it (it would open read-only and fail at every save). Throws DbError.
    sqlite3* handle();
    bool isOpen() const { return db_ != nullptr; }
    void close();

    // Runs a statement that returns no rows (after dialect translation). Returns the changed rows.
    int exec(std::string_view statement);
    // The same for a statement already in SQLite's words (generated schema, pragmas).
    int execNative(std::string_view sql);
    // Prepares an already translated SQLite statement.
    Statement prepareNative(std::string_view sql);
    // The same, kept prepared on the connection for the next call with the same text (the record
    // sets write every row through a handful of such statements). The statement is reset when the
    // returned object goes; close() finalizes them all.
    Statement prepareCached(const std::string& sql);
    int64_t lastInsertRowId();

    // A consistent copy of the open database into another file, taken with the engine's online
    // backup, so a copy taken while the program works is never torn. Written beside the target and
    // renamed over it, so an old copy is replaced only by a complete new one.
    // A failed copy leaves nothing beside the target.
    void backupTo(const std::string& target);

    // The engine's quick structural check of the open database: empty when it is sound, else the
    // first problems it found.
    std::string quickCheck();

    // Called after every committed write (the engine's log hook). The log is still folded into
    // the file every thousand pages as the engine would do by itself.
    void setCommitListener(std::function<void()> listener);
    // Folds the write-ahead log into the database file, so that a plain copy of the file is the
    // whole database. Does nothing while the connection is closed.
    void checkpoint();

    struct ColumnInfo {
        FieldType type = FieldType::Unknown;
        int size = 0;
        bool primaryKey = false;
    };
    // Logical type of a stored column, from its declared type (cached until close()).
    ColumnInfo columnInfo(const std::string& table, const std::string& column);

    [[noreturn]] void fail(int rc, std::string_view statement = {});

private:
    friend class Statement;
    struct CachedStatement {
        sqlite3_stmt* stmt = nullptr;
        bool inUse = false;
    };
    void release(const std::string& sql, sqlite3_stmt* stmt);
    void finalizeCached();

    std::string path_;
    sqlite3* db_ = nullptr;
    std::map<std::pair<std::string, std::string>, ColumnInfo> columnCache_;
    std::map<std::string, CachedStatement, std::less<>> statementCache_;
    std::function<void()> commitListener_;
};

// The quick check of a database file that is not open, on a connection of its own that only reads
// (it writes nothing into the file, and it may run on another thread). Empty when the file is sound.
// Setting *cancel from another thread breaks it off (the result then means nothing). Throws
// DbError when the file cannot be opened.
std::string quickCheckFile(const std::string& path, const std::atomic<bool>* cancel = nullptr);

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

// Removes a database file together with the journal and log files the engine may leave beside it.
void removeDatabaseFile(const std::string& path);

// Why the program could not write the database file at path (the file or its folder is read-only),
// in words for the user; empty when it can.
std::string unwritableReason(const std::string& path);

// A prepared statement owned for its lifetime, or borrowed from the connection's cache (then it is
// only reset when it goes).
class Statement {
public:
    Statement(Connection* conn, sqlite3_stmt* stmt, std::string sql, bool cached = false)
        : conn_(conn), stmt_(stmt), sql_(std::move(sql)), cached_(cached) {}
    Statement(Statement&& o) noexcept;
    Statement& operator=(Statement&&) = delete;
    ~Statement();
    sqlite3_stmt* get() const { return stmt_; }
    const std::string& sql() const { return sql_; }
    bool step();  // true: a row; false: done; throws DbError
    void reset();

private:
    friend class Connection;
    Connection* conn_;
    sqlite3_stmt* stmt_;
    std::string sql_;
    bool cached_ = false;
};

// Commits only when told to; rolls back when it goes out of scope otherwise. Inside a transaction
// that is already running it becomes a savepoint of it, so a batch of record-set changes can be
// applied within a larger piece of work and still be undone on its own.
class Transaction {
public:
    explicit Transaction(Connection& conn);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& conn_;
    bool nested_ = false;
    bool done_ = false;
};

}  // namespace rsgz::db
