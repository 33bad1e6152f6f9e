#pragma once
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/DbError.h"
#include "db/FieldType.h"
#include "db/Money.h"

struct sqlite3;
struct sqlite3_stmt;

namespace rsgz::db {

class Statement;
struct Native;

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
    void open() { handle(); }
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
    // The rows changed by the last insert, update or delete that ran on this connection.
    int changedRows();

    // What the database holds: its tables in the order they were made (not the engine's own), and
    // the columns of one table in their declared order (none when there is no such table).
    std::vector<std::string> tableNames();
    std::vector<std::string> columnNames(const std::string& table);
    bool hasTable(const std::string& table);

    // From now on the file alone is the whole database, with no log beside it (a template that is
    // copied as it is, a copy handed on).
    void useSingleFile();

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

private:
    friend class Statement;
    friend struct Native;
    sqlite3* handle();  // the engine's own handle, for src/db alone (db/Native.h)
    [[noreturn]] void fail(int rc, std::string_view statement = {});
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

// Makes an empty database file at path (one that is there is opened and left as it is). Throws
// DbError when it cannot be made.
void createDatabaseFile(const std::string& path);

// Removes a database file together with the journal and log files the engine may leave beside it.
void removeDatabaseFile(const std::string& path);

// Why the program could not write the database file at path (the file or its folder is read-only),
// in words for the user; empty when it can.
std::string unwritableReason(const std::string& path);

// A prepared statement owned for its lifetime, or borrowed from the connection's cache (then it is
// only reset when it goes). Values are bound as parameters, counted from 1, never spliced into the
// text; the columns of a row are counted from 0. A failed bind throws DbError.
class Statement {
public:
    Statement(Statement&& o) noexcept;
    Statement& operator=(Statement&&) = delete;
    ~Statement();
    const std::string& sql() const { return sql_; }
    bool step();  // true: a row; false: done; throws DbError
    // Runs a statement that returns no rows and makes it ready for the next binding.
    void run();
    // Ready to run again, with every parameter unbound (null).
    void reset();

    Statement& bind(int param, std::string_view text);  // the text is copied
    Statement& bind(int param, const std::string& text) { return bind(param, std::string_view(text)); }
    Statement& bind(int param, const char* text) { return bind(param, std::string_view(text)); }
    Statement& bind(int param, const std::optional<std::string>& text);  // nullopt binds null
    Statement& bind(int param, Money amount);
    Statement& bind(int param, double number);
    Statement& bind(int param, int64_t number);
    Statement& bind(int param, int number) { return bind(param, int64_t{number}); }
    Statement& bindNull(int param);
    // Text that the caller keeps, unchanged, until the statement is reset (the record sets bind
    // their cells where they lie).
    Statement& bindKept(int param, std::string_view text);

    enum class ColumnType { Null, Integer, Real, Text, Blob };
    int columnCount() const;
    std::string columnName(int column) const;
    ColumnType columnType(int column) const;  // of the value in the current row
    bool isNull(int column) const { return columnType(column) == ColumnType::Null; }
    std::optional<std::string> text(int column) const;  // null as nullopt
    std::string textOrEmpty(int column) const { return text(column).value_or(std::string()); }
    Money money(int column) const;  // null as 0
    double number(int column) const;
    int64_t integer(int column) const;

private:
    friend class Connection;
    friend struct Native;
    Statement(Connection* conn, sqlite3_stmt* stmt, std::string sql, bool cached = false)
        : conn_(conn), stmt_(stmt), sql_(std::move(sql)), cached_(cached) {}
    Statement& checked(int rc);
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
