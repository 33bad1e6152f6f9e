#include "db/Connection.h"

#include "db/Native.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "db/ChineseCollation.h"
#include "db/Dialect.h"
#include "db/LatinCase.h"
#include "db/ServerBackend.h"

namespace rsgz::db {

namespace {
// A statement that may create, alter or drop a table: column types must then be read afresh.
bool mayChangeSchema(const std::string& sql)
{
    const std::string low = foldLatin(sql);
    return low.find("create") != std::string::npos || low.find("alter") != std::string::npos
        || low.find("drop") != std::string::npos;
}

// Stands in for the engine's own automatic checkpoint (a log hook replaces it) and tells the
// listener that a write was committed.
int afterCommit(void* listener, sqlite3* db, const char* schema, int pages)
{
    constexpr int kAutoCheckpointPages = 1000;
    if (pages >= kAutoCheckpointPages) sqlite3_wal_checkpoint_v2(db, schema, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    const auto& notify = *static_cast<const std::function<void()>*>(listener);
    if (notify) notify();
    return SQLITE_OK;
}

std::string runQuickCheck(sqlite3* db) { return checkStatementRows(db, "PRAGMA quick_check(5)"); }

// A file with no owner-write bit is treated as read-only even where the process could write it
// anyway (an administrator's account): whoever marked it so did not want it changed.
bool writable(const std::string& path, int extra)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) && ::access(path.c_str(), W_OK | extra) == 0;
}

// The target of a copy and the journal and log files the engine may leave beside it.
void removeWithCompanions(const std::string& path)
{
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) std::remove((path + suffix).c_str());
}
}  // namespace

DbError::Kind errorKind(int rc)
{
    using Kind = DbError::Kind;
    if (rc == SQLITE_CONSTRAINT_UNIQUE) return Kind::Duplicate;
    switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return Kind::Busy;
    case SQLITE_CONSTRAINT: return Kind::Constraint;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return Kind::Damaged;
    case SQLITE_FULL: return Kind::Full;
    case SQLITE_READONLY: return Kind::ReadOnly;
    default: return Kind::Other;
    }
}

DbError engineError(int rc, const std::string& message, const std::string& engineText, std::string statement)
{
    return DbError(errorKind(rc), message, engineText, std::move(statement));
}

std::string unwritableReason(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return {};
    if (!writable(path, 0))
        return "数据库文件 " + path + " 是只读的，程序不能在其中保存任何修改。请去掉这个文件的只读属性后再登录。";
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    const std::string folder = parent.empty() ? std::string(".") : parent.string();
    if (!writable(folder, X_OK))
        return "数据库文件 " + path + " 所在的文件夹 " + folder
             + " 是只读的，程序不能在其中写入数据库的日志文件，也就不能保存修改。请让这个文件夹可以写入后再登录。";
    return {};
}

sqlite3* openFileReadOnly(const std::string& path)
{
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close(db);
        throw engineError(rc, "无法打开数据库文件 " + path + "：" + msg, msg);
    }
    sqlite3_busy_timeout(db, 5000);
    registerChineseCollation(db);
    return db;
}

std::string checkStatementRows(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
    std::string found;
    auto note = [&found](std::string_view line) {
        if (!found.empty()) found += '\n';
        found += line;
    };
    while (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        const std::string_view row = text ? text : "";
        if (row != "ok") note(row);
    }
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) note(sqlite3_errmsg(db));
    sqlite3_finalize(st);
    return found;
}

ReadOnlyFile::~ReadOnlyFile() { sqlite3_close(db); }

void ReadOnlyFile::fail(int rc, const std::string& what) const
{
    const std::string msg = sqlite3_errmsg(db);
    throw engineError(rc, what + msg, msg);
}

std::string quickCheckFile(const std::string& path, const std::atomic<bool>* cancel)
{
    sqlite3* db = openFileReadOnly(path);
    if (cancel) {
        auto stop = [](void* flag) { return static_cast<const std::atomic<bool>*>(flag)->load() ? 1 : 0; };
        sqlite3_progress_handler(db, 1000, stop, const_cast<std::atomic<bool>*>(cancel));
    }
    std::string found = runQuickCheck(db);
    sqlite3_close(db);
    return found;
}

namespace {
[[noreturn]] void refuseOpen(sqlite3* db, DbError::Kind kind, const std::string& message, const std::string& engineText)
{
    sqlite3_close(db);
    throw DbError(kind, message, engineText);
}
}  // namespace

Connection::Connection(std::string path) : path_(std::move(path)) {}

Connection::Connection(ServerTarget server) : target_(std::move(server)) {}

Connection::~Connection() { close(); }

void Connection::setPath(std::string path)
{
    if (path == path_ && !target_) return;
    close();
    target_.reset();
    path_ = std::move(path);
}

void Connection::setServer(ServerTarget server)
{
    close();
    path_.clear();
    target_ = std::move(server);
}

const Dialect& Connection::dialect() const { return target_ ? postgresDialect() : sqliteDialect(); }

void Connection::open()
{
    if (target_) session();
    else handle();
}

bool Connection::inTransaction()
{
    if (target_) return session().inTransaction();
    return sqlite3_get_autocommit(handle()) == 0;
}

sqlite3* Connection::handle()
{
    if (db_) return db_;
    if (target_)
        throw DbError(DbError::Kind::Other, "这项操作只能用于数据库文件，不能用于数据库服务器上的数据库。");
    if (const std::string why = unwritableReason(path_); !why.empty()) throw DbError(DbError::Kind::ReadOnly, why);
    sqlite3* db = nullptr;
    // Read-write without create: a missing file must be reported, not silently made empty. The
    // program works on one thread, so the engine need not lock around every call.
    const int rc = sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        refuseOpen(db, errorKind(rc), "无法打开数据库文件 " + path_ + "：" + msg, msg);
    }
    // The engine falls back to reading only when it may not write; every save would then fail.
    if (sqlite3_db_readonly(db, "main") == 1)
        refuseOpen(db, DbError::Kind::ReadOnly, "数据库文件 " + path_ + " 只能读取，不能写入，程序不能在其中保存修改。", {});
    sqlite3_busy_timeout(db, 5000);
    sqlite3_extended_result_codes(db, 1);
    // Write-ahead log with NORMAL sync: each posted row is its own committed transaction in the
    // log, which survives the program being killed at any moment; only a power cut can lose the
    // last few commits, never corrupt the file. A flush per row would make imports crawl.
    char* err = nullptr;
    if (const int rc = sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr, &err);
        rc != SQLITE_OK) {
        const std::string msg = err ? err : "unknown error";
        sqlite3_free(err);
        refuseOpen(db, errorKind(rc), "无法打开数据库文件 " + path_ + "：" + msg, msg);
    }
    registerChineseCollation(db);
    sqlite3_wal_hook(db, afterCommit, &commitListener_);
    db_ = db;
    return db_;
}

void Connection::close()
{
    if (session_) {
        finalizeCached();
        session_.reset();
        forgetColumns();
        return;
    }
    if (!db_) return;
    finalizeCached();
    // Fold the log back into the file so the file alone is the whole database (file copies,
    // restore and compaction work on it).
    sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    sqlite3_close_v2(db_);
    db_ = nullptr;
    forgetColumns();
}

void Connection::fail(int rc, std::string_view statement)
{
    const std::string msg = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    throw engineError(rc, msg, msg, std::string(statement));
}

int Connection::exec(std::string_view statement) { return execNative(toSqlite(statement)); }

int Connection::execNative(std::string_view statement)
{
    if (target_) return execServer(statement);
    const std::string sql(statement);
    sqlite3* db = handle();
    char* err = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err);
    if (mayChangeSchema(sql)) forgetColumns();
    if (rc != SQLITE_OK) {
        const std::string msg = err ? err : sqlite3_errstr(rc);
        sqlite3_free(err);
        throw engineError(rc, msg, msg, sql);
    }
    return sqlite3_changes(db);
}

Statement Connection::prepareNative(std::string_view sql)
{
    if (target_) return prepareServer(sql);
    sqlite3* db = handle();
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr);
    if (rc != SQLITE_OK) fail(rc, sql);
    if (!stmt) throw DbError(DbError::Kind::Other, "空语句", {}, std::string(sql));
    return Statement(this, stmt, std::string(sql));
}

Statement Connection::prepareCached(const std::string& sql)
{
    open();
    auto it = statementCache_.find(sql);
    if (it != statementCache_.end()) {
        // In use further up the stack (a rule writing through the same statement): a fresh one.
        if (it->second.inUse) return prepareNative(sql);
        it->second.inUse = true;
        if (it->second.server) return Statement(this, it->second.server, sql, true);
        return Statement(this, it->second.stmt, sql, true);
    }
    // The statements a session writes through are few; a runaway count means generated text.
    constexpr size_t kMaxCached = 64;
    if (statementCache_.size() >= kMaxCached) {
        for (auto e = statementCache_.begin(); e != statementCache_.end();) {
            if (e->second.inUse) { ++e; continue; }
            sqlite3_finalize(e->second.stmt);
            delete e->second.server;
            e = statementCache_.erase(e);
        }
    }
    Statement st = prepareNative(sql);
    if (st.server_) {
        ServerStatement* raw = st.server_;
        st.server_ = nullptr;
        statementCache_[sql] = CachedStatement{nullptr, raw, true};
        return Statement(this, raw, sql, true);
    }
    sqlite3_stmt* raw = st.stmt_;
    st.stmt_ = nullptr;
    statementCache_[sql] = CachedStatement{raw, nullptr, true};
    return Statement(this, raw, sql, true);
}

void Connection::release(const std::string& sql, sqlite3_stmt* stmt)
{
    auto it = statementCache_.find(sql);
    if (it == statementCache_.end() || it->second.stmt != stmt) {
        // Its connection was closed while it was in use: it is no longer in the cache.
        sqlite3_finalize(stmt);
        return;
    }
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    it->second.inUse = false;
}

void Connection::finalizeCached()
{
    for (auto& [sql, c] : statementCache_) {
        if (c.inUse) continue;
        sqlite3_finalize(c.stmt);
        delete c.server;
    }
    statementCache_.clear();
}

int64_t Connection::lastInsertRowId()
{
    if (target_) {
        Statement st = prepareServer("select lastval()");
        return st.step() ? st.integer(0) : 0;
    }
    return sqlite3_last_insert_rowid(handle());
}

int Connection::changedRows() { return target_ ? session().changes() : sqlite3_changes(handle()); }

std::vector<std::string> Connection::tableNames()
{
    if (target_) return serverTableNames();
    std::vector<std::string> names;
    Statement st = prepareNative("select name from sqlite_master where type = 'table' and name not like 'sqlite!_%' escape '!'");
    while (st.step()) names.push_back(st.textOrEmpty(0));
    return names;
}

std::vector<std::string> Connection::columnNames(const std::string& table)
{
    if (target_) return serverColumnNames(table);
    std::vector<std::string> names;
    Statement st = prepareNative("select name from pragma_table_info(?) order by cid");
    st.bind(1, table);
    while (st.step()) names.push_back(st.textOrEmpty(0));
    return names;
}

bool Connection::hasTable(const std::string& table)
{
    if (target_) return !serverColumnNames(table).empty();
    Statement st = prepareNative("select 1 from sqlite_master where type = 'table' and name = ?");
    st.bind(1, table);
    return st.step();
}

void Connection::useSingleFile()
{
    if (!target_) execNative("PRAGMA journal_mode=DELETE");
}

void createDatabaseFile(const std::string& path)
{
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const std::string msg = db ? sqlite3_errmsg(db) : "cannot open";
        sqlite3_close(db);
        throw engineError(rc, msg, msg);
    }
    sqlite3_close(db);
}

void Connection::setCommitListener(std::function<void()> listener) { commitListener_ = std::move(listener); }

void Connection::checkpoint()
{
    // Passive: it never waits for another program reading the file.
    if (db_) sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
}

std::string Connection::quickCheck() { return target_ ? std::string() : runQuickCheck(handle()); }

void Connection::backupTo(const std::string& target)
{
    if (target_)
        throw DbError(DbError::Kind::Other, "数据库服务器上的数据库不能复制成数据库文件，请用数据备份。");
    backupDatabase(handle(), target);
}

void removeDatabaseFile(const std::string& path) { removeWithCompanions(path); }

void backupDatabase(sqlite3* src, const std::string& target)
{
    const std::string tmp = target + ".part";
    removeWithCompanions(tmp);
    sqlite3* dst = nullptr;
    int rc = sqlite3_open_v2(tmp.c_str(), &dst, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_backup* b = sqlite3_backup_init(dst, "main", src, "main");
        if (b) {
            rc = sqlite3_backup_step(b, -1);
            sqlite3_backup_finish(b);
            rc = rc == SQLITE_DONE ? SQLITE_OK : rc;
        } else {
            rc = sqlite3_errcode(dst);
        }
    }
    // The copy is a plain single file: no write-ahead log beside it.
    if (rc == SQLITE_OK) rc = sqlite3_exec(dst, "PRAGMA journal_mode=DELETE;", nullptr, nullptr, nullptr);
    std::string msg = rc == SQLITE_OK ? "" : (dst ? sqlite3_errmsg(dst) : sqlite3_errstr(rc));
    sqlite3_close(dst);
    if (rc != SQLITE_OK) {
        removeWithCompanions(tmp);
        throw engineError(rc, "数据库复制失败：" + msg, msg);
    }
    std::error_code ec;
    std::filesystem::rename(tmp, target, ec);
    if (ec) {
        removeWithCompanions(tmp);
        throw DbError(DbError::Kind::Other, "数据库复制失败：" + ec.message());
    }
}

Connection::ColumnInfo Connection::columnInfo(const std::string& table, const std::string& column)
{
    const auto key = std::make_pair(table, column);
    if (auto it = columnCache_.find(key); it != columnCache_.end()) return it->second;
    if (target_) {
        auto loaded = serverColumnCache_.find(table);
        if (loaded == serverColumnCache_.end()) loaded = serverColumnCache_.emplace(table, serverColumnInfos(table)).first;
        const auto found = loaded->second.find(foldLatin(column));
        return columnCache_[key] = found == loaded->second.end() ? ColumnInfo{} : found->second;
    }
    ColumnInfo info;
    const char* decl = nullptr;
    const char* coll = nullptr;
    int notNull = 0, pk = 0, autoinc = 0;
    if (sqlite3_table_column_metadata(handle(), nullptr, table.c_str(), column.c_str(), &decl, &coll, &notNull, &pk,
                                      &autoinc) == SQLITE_OK) {
        info.type = fieldTypeFromDeclared(decl ? decl : "", &info.size);
        info.primaryKey = pk != 0;
        if (pk && (autoinc || info.type == FieldType::Integer)) info.type = FieldType::AutoInc;
    }
    columnCache_[key] = info;
    return info;
}

void Connection::forgetColumns()
{
    columnCache_.clear();
    serverColumnCache_.clear();
    keyCache_.clear();
}

std::string Connection::keyColumn(const std::string& table)
{
    if (auto it = keyCache_.find(table); it != keyCache_.end()) return it->second;
    if (target_) return keyCache_[table] = serverKeyColumn(table);
    std::vector<std::string> keys;
    Statement st = prepareNative("select name from pragma_table_info(?) where pk > 0");
    st.bind(1, table);
    while (st.step()) keys.push_back(st.textOrEmpty(0));
    std::string key;
    if (keys.size() == 1) {
        const FieldType t = columnInfo(table, keys.front()).type;
        if (t == FieldType::AutoInc || t == FieldType::Integer) key = keys.front();
    }
    return keyCache_[table] = key;
}

Transaction::Transaction(Connection& conn) : conn_(conn)
{
    nested_ = conn_.inTransaction();
    // A file is locked for writing at once, so that two programs never both read and then both
    // wait to write; the server locks each row as it is written.
    conn_.execNative(nested_ ? "SAVEPOINT rsgz_nested" : conn_.isServer() ? "BEGIN" : "BEGIN IMMEDIATE");
    // A server ends the transaction by itself when the session breaks off; what follows in it must
    // not go on in a new session, one statement at a time.
    if (conn_.isServer()) {
        conn_.holdSession();
        held_ = true;
    }
}

Transaction::~Transaction()
{
    if (!done_) {
        try {
            conn_.execNative(nested_ ? "ROLLBACK TO rsgz_nested; RELEASE rsgz_nested" : "ROLLBACK");
        } catch (...) {
        }
    }
    if (held_) conn_.letGoSession();
}

void Transaction::commit()
{
    // A server ends a transaction in which a statement failed by undoing it, even when told to
    // commit; that must not pass for a saved piece of work.
    if (conn_.isServer() && conn_.transactionFailed())
        throw DbError(DbError::Kind::Other, "这组修改中有一步没有成功，全部修改都已撤销，没有保存。");
    conn_.execNative(nested_ ? "RELEASE rsgz_nested" : "COMMIT");
    done_ = true;
    if (held_) conn_.letGoSession();
    held_ = false;
}

}  // namespace rsgz::db
