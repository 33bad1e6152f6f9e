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
#include "db/ServerTarget.h"

struct sqlite3;
struct sqlite3_stmt;

namespace rsgz::db {

class Statement;
struct Native;
struct Dialect;
class ServerSession;
class ServerStatement;

// The one connection to the live database: a SQLite file named by its path, or a database on a
// server. It is not opened at construction; it connects on first use and again by itself when used
// after close() (file operations close it around their work). The calls below are the same for
// both; where one means nothing on a server, it says so.
class Connection {
public:
    explicit Connection(std::string path = {});
    explicit Connection(ServerTarget server);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setPath(std::string path);  // from now on the file at path
    void setServer(ServerTarget server);
    const std::string& path() const { return path_; }  // empty for a server
    bool isServer() const { return target_.has_value(); }
    const ServerTarget* server() const { return target_ ? &*target_ : nullptr; }
    // The facts of the engine the statements run on.
    const Dialect& dialect() const;
    // Inside a transaction that was begun and not yet ended.
    bool inTransaction();
    // On a server: a statement of the running transaction failed, so the server takes nothing but
    // its end (a rollback). Never on a file, where a failed statement leaves the transaction usable.
    bool transactionFailed();

    // Opens the file if needed. The file must exist: a missing database is an error, never a new
    // empty file. A file or folder the program cannot write is refused before the engine touches
    // it (it would open read-only and fail at every save). Throws DbError.
    void open();
    bool isOpen() const { return db_ != nullptr || session_ != nullptr; }
    void close();

    // On a server, a connection that broke off (the server restarted, the network went away) is
    // made afresh by the first use after the failure, so the operator's next action works again.
    // Work that lives in the server's session, a transaction or a work lock, holds the session:
    // while any is held, a session that broke off is not replaced and every statement fails as
    // lost, so that the rest of such work never goes on in a new session without it. Nothing on
    // a file.
    void holdSession() { ++sessionHolds_; }
    void letGoSession() noexcept
    {
        if (sessionHolds_ > 0) --sessionHolds_;
    }
    // The server's session broke off and is not yet made afresh; false on a file.
    bool sessionLost() const;

    // Runs a statement that returns no rows (after dialect translation). Returns the changed rows.
    int exec(std::string_view statement);
    // The same for a statement already in SQLite's words (generated schema, pragmas). On a server
    // the text is put into the server's words first (toServerWords), so one text serves both.
    int execNative(std::string_view sql);
    // Prepares an already translated SQLite statement (on a server: in the server's words).
    Statement prepareNative(std::string_view sql);
    // The same, kept prepared on the connection for the next call with the same text (the record
    // sets write every row through a handful of such statements). The statement is reset when the
    // returned object goes; close() finalizes them all.
    Statement prepareCached(const std::string& sql);
    // The key the last insert was given (on a server: the last number any key sequence gave out
    // on this connection).
    int64_t lastInsertRowId();
    // The rows changed by the last insert, update or delete that ran on this connection.
    int changedRows();

    // What the database holds: its tables in the order they were made (not the engine's own), and
    // the columns of one table in their declared order (none when there is no such table).
    std::vector<std::string> tableNames();
    std::vector<std::string> columnNames(const std::string& table);
    bool hasTable(const std::string& table);

    // From now on the file alone is the whole database, with no log beside it (a template that is
    // copied as it is, a copy handed on). Nothing to do on a server.
    void useSingleFile();

    // A consistent copy of the open database into another file, taken with the engine's online
    // backup, so a copy taken while the program works is never torn. Written beside the target and
    // renamed over it, so an old copy is replaced only by a complete new one.
    // A failed copy leaves nothing beside the target. A server's database is not copied into a
    // file this way: refused with a DbError (its copy is the server's own dump).
    void backupTo(const std::string& target);

    // The engine's quick structural check of the open database: empty when it is sound, else the
    // first problems it found. A server checks its own pages as it reads them (a damaged one is a
    // Damaged error then): empty there.
    std::string quickCheck();

    // Called after every committed write (the engine's log hook). The log is still folded into
    // the file every thousand pages as the engine would do by itself. Never called on a server.
    void setCommitListener(std::function<void()> listener);
    // Folds the write-ahead log into the database file, so that a plain copy of the file is the
    // whole database. Does nothing while the connection is closed, nor on a server.
    void checkpoint();

    struct ColumnInfo {
        FieldType type = FieldType::Unknown;
        int size = 0;
        bool primaryKey = false;
    };
    // Logical type of a stored column, from its declared type (cached until close()).
    ColumnInfo columnInfo(const std::string& table, const std::string& column);
    // The column that keys a table's rows: its primary key when that is one whole-number column
    // (the identity column of the program's tables), as the catalogue names it; empty when the
    // table has none, or a key of another kind (cached until close()).
    std::string keyColumn(const std::string& table);

private:
    friend class Statement;
    friend struct Native;
    sqlite3* handle();  // the engine's own handle, for src/db alone (db/Native.h)
    [[noreturn]] void fail(int rc, std::string_view statement = {});
    struct CachedStatement {
        sqlite3_stmt* stmt = nullptr;
        ServerStatement* server = nullptr;
        bool inUse = false;
    };
    void release(const std::string& sql, sqlite3_stmt* stmt);
    void release(const std::string& sql, ServerStatement* stmt);
    void finalizeCached();
    // The server's side (ConnectionServer.cpp).
    ServerSession& session();
    Statement prepareServer(std::string_view sql);
    int execServer(std::string_view sql);
    std::vector<std::string> serverTableNames();
    std::vector<std::string> serverColumnNames(const std::string& table);
    // Every stored column of a table at once, by the server's name of the column.
    std::map<std::string, ColumnInfo> serverColumnInfos(const std::string& table);
    std::string serverKeyColumn(const std::string& table);
    void forgetColumns();

    std::string path_;
    std::optional<ServerTarget> target_;
    std::shared_ptr<ServerSession> session_;  // its statements hold it too
    int sessionHolds_ = 0;
    sqlite3* db_ = nullptr;
    std::map<std::pair<std::string, std::string>, ColumnInfo> columnCache_;
    std::map<std::string, std::map<std::string, ColumnInfo>> serverColumnCache_;  // by table
    std::map<std::string, std::string> keyCache_;
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

// A new empty database on a server, made by a role that may make databases (admin names the server,
// the role and a database to connect to first, such as "postgres"). Its text is UTF-8, compared
// and sorted by bytes as SQLite does, with the case-insensitive text type installed; owner, when
// given, owns it. dropServerDatabase removes one, ending the sessions still on it. Throw DbError.
void createServerDatabase(const ServerTarget& admin, const std::string& name, const std::string& owner = {});
void dropServerDatabase(const ServerTarget& admin, const std::string& name);

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

    // Where a column of the result is read from: its table and the column's name there; empty
    // for an expression.
    std::string originTable(int column) const;
    std::string originColumn(int column) const;
    // The column's declared type in the engine's words, empty for an expression.
    std::string declaredType(int column) const;

private:
    friend class Connection;
    friend struct Native;
    Statement(Connection* conn, sqlite3_stmt* stmt, std::string sql, bool cached = false)
        : conn_(conn), stmt_(stmt), sql_(std::move(sql)), cached_(cached) {}
    Statement(Connection* conn, ServerStatement* stmt, std::string sql, bool cached = false)
        : conn_(conn), stmt_(nullptr), server_(stmt), sql_(std::move(sql)), cached_(cached) {}
    Statement& checked(int rc);
    Statement& bindServer(int param, std::optional<std::string> value);
    Connection* conn_;
    sqlite3_stmt* stmt_;
    ServerStatement* server_ = nullptr;  // a statement on a server instead of stmt_
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
    bool held_ = false;  // holds the server's session (Connection::holdSession)
};

}  // namespace rsgz::db
