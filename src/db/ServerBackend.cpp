// The database server's client library behind Connection and Statement.
#include "db/ServerBackend.h"

#include <libpq-fe.h>

#include <algorithm>
#include <charconv>
#include <cstring>

#include "db/Dialect.h"
#include "db/WorkLock.h"

namespace rsgz::db {

namespace {

// The server's type ids the column calls tell apart (they are fixed in every server).
constexpr Oid kBool = 16, kBytea = 17, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700,
              kFloat8 = 701, kTimestamp = 1114, kNumeric = 1700;

std::string field(const PGresult* r, int code)
{
    const char* f = r ? PQresultErrorField(r, code) : nullptr;
    return f ? f : "";
}

// Up to the first line: the server's messages end with a line break and may carry more lines.
std::string firstLine(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

bool isOk(const PGresult* r)
{
    const ExecStatusType s = PQresultStatus(r);
    return s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK;
}

struct ResultGuard {
    PGresult* r;
    ~ResultGuard() { PQclear(r); }
};

}  // namespace

DbError::Kind serverErrorKind(std::string_view code)
{
    using Kind = DbError::Kind;
    if (code == "40001" || code == "40P01" || code == "55P03") return Kind::Busy;
    if (code == "23505") return Kind::Duplicate;
    if (code.starts_with("23")) return Kind::Constraint;
    if (code == "53100") return Kind::Full;
    if (code == "25006") return Kind::ReadOnly;
    if (code.starts_with("08") || code == "57P01" || code == "57P02" || code == "57P03") return Kind::Lost;
    if (code == "XX001" || code == "XX002") return Kind::Damaged;
    if (code == "42501" || code.starts_with("28")) return Kind::Denied;
    return Kind::Other;
}

ServerSession::ServerSession(const ServerTarget& target)
{
    const std::string port = std::to_string(target.port);
    // The server keeps only printable Latin signs of an application name: the operator's Chinese
    // name goes escaped, and the lists of holders of a lock read it back (db/WorkLock.h).
    const std::string application = writeApplicationName(target.applicationName);
    // ISO dates, whatever the server's own setting; a lock held by another clerk is waited for as
    // long as SQLite waits for a locked file, then reported as busy.
    const char* keys[] = {"host", "port", "dbname", "user", "password", "application_name",
                          "client_encoding", "connect_timeout", "options", nullptr};
    const char* values[] = {target.host.c_str(), port.c_str(), target.database.c_str(), target.user.c_str(),
                            target.password.empty() ? nullptr : target.password.c_str(),
                            application.c_str(), "UTF8", "10",
                            "-c DateStyle=ISO,YMD -c lock_timeout=5000 -c client_min_messages=warning", nullptr};
    // A key with no value is left out; libpq stops at the first null key, so pack the pairs.
    const char* k[10];
    const char* v[10];
    int n = 0;
    for (int i = 0; keys[i]; ++i) {
        if (!values[i] || !*values[i]) continue;
        k[n] = keys[i];
        v[n] = values[i];
        ++n;
    }
    k[n] = v[n] = nullptr;
    conn_ = PQconnectdbParams(k, v, 0);
    if (PQstatus(conn_) != CONNECTION_OK) {
        const std::string msg = firstLine(PQerrorMessage(conn_));
        const bool password = PQconnectionNeedsPassword(conn_) || msg.find("password") != std::string::npos
            || msg.find("authentication") != std::string::npos;
        PQfinish(conn_);
        conn_ = nullptr;
        const std::string where = target.host + ":" + port + "/" + target.database;
        if (password)
            throw DbError(DbError::Kind::Denied, "数据库服务器 " + where + " 拒绝了用户 " + target.user + " 的登录：" + msg, msg);
        throw DbError(DbError::Kind::Lost, "无法连接数据库服务器 " + where + "：" + msg, msg);
    }
}

ServerSession::~ServerSession() { PQfinish(conn_); }

bool ServerSession::broken() const { return PQstatus(conn_) != CONNECTION_OK; }

bool ServerSession::transactionFailed() const { return PQtransactionStatus(conn_) == PQTRANS_INERROR; }

std::string ServerSession::tableName(unsigned oid)
{
    if (oid == 0) return {};
    auto it = tables_.find(oid);
    if (it == tables_.end()) {
        const std::string id = std::to_string(oid);
        const char* values[] = {id.c_str()};
        ResultGuard r{PQexecParams(conn_,
                                   "select c.relname, a.attname, a.attnum from pg_class c join pg_attribute a on a.attrelid = c.oid "
                                   "where c.oid = $1::oid and a.attnum > 0 order by a.attnum",
                                   1, nullptr, values, nullptr, nullptr, 0)};
        std::pair<std::string, std::vector<std::string>> table;
        if (isOk(r.r)) {
            for (int i = 0; i < PQntuples(r.r); ++i) {
                table.first = PQgetvalue(r.r, i, 0);
                const size_t n = static_cast<size_t>(std::atoi(PQgetvalue(r.r, i, 2)));
                if (table.second.size() < n) table.second.resize(n);
                table.second[n - 1] = PQgetvalue(r.r, i, 1);
            }
        }
        it = tables_.emplace(oid, std::move(table)).first;
    }
    return it->second.first;
}

std::string ServerSession::columnName(unsigned oid, int number)
{
    if (tableName(oid).empty() || number <= 0) return {};
    const auto& columns = tables_[oid].second;
    return static_cast<size_t>(number) <= columns.size() ? columns[static_cast<size_t>(number - 1)] : std::string();
}

bool ServerSession::inTransaction() const { return PQtransactionStatus(conn_) != PQTRANS_IDLE; }

void ServerSession::fail(PGresult* result, const std::string& statement)
{
    std::string code = field(result, PG_DIAG_SQLSTATE);
    std::string msg = field(result, PG_DIAG_MESSAGE_PRIMARY);
    if (msg.empty()) msg = firstLine(PQerrorMessage(conn_));
    std::string detail = msg;
    if (const std::string more = field(result, PG_DIAG_MESSAGE_DETAIL); !more.empty()) detail += "\n" + more;
    PQclear(result);
    DbError::Kind kind = serverErrorKind(code);
    if (broken()) kind = DbError::Kind::Lost;
    if (kind == DbError::Kind::Lost)
        msg = "与数据库服务器的连接中断了，刚才的操作没有完成。窗口里输入的内容仍然保留，"
              "服务器恢复后再做一次即可，程序会自动重新连接。\n服务器的回答：" + msg.substr(0, msg.find('\n'));
    throw DbError(kind, msg, detail, statement);
}

void ServerSession::noteChanges(PGresult* result)
{
    const char* status = PQcmdStatus(result);
    for (const char* verb : {"INSERT", "UPDATE", "DELETE", "MERGE"}) {
        if (std::strncmp(status, verb, std::strlen(verb)) != 0) continue;
        const char* tuples = PQcmdTuples(result);
        int n = 0;
        std::from_chars(tuples, tuples + std::strlen(tuples), n);
        changes_ = n;
        return;
    }
}

int ServerSession::exec(const std::string& sql)
{
    dropReleased();
    tables_.clear();  // a table may have been made, changed or dropped
    PGresult* r = PQexec(conn_, sql.c_str());
    if (!isOk(r)) fail(r, sql);
    noteChanges(r);
    PQclear(r);
    return changes_;
}

std::string ServerSession::prepare(const std::string& sql, int parameters)
{
    dropReleased();
    std::string name = "rsgz_" + std::to_string(++counter_);
    // Every parameter goes as text of a type the server works out from where it stands.
    PGresult* r = PQprepare(conn_, name.c_str(), sql.c_str(), parameters, nullptr);
    if (!isOk(r)) fail(r, sql);
    PQclear(r);
    return name;
}

void ServerSession::release(std::string name) { released_.push_back(std::move(name)); }

// Statements that are gone are let go in batches: one round trip for many. Not inside a failed
// transaction, where the server takes nothing but its end.
void ServerSession::dropReleased()
{
    constexpr size_t kBatch = 32;
    if (released_.size() < kBatch || PQtransactionStatus(conn_) == PQTRANS_INERROR) return;
    std::string sql;
    for (const std::string& n : released_) sql += "DEALLOCATE " + n + ";";
    released_.clear();
    PQclear(PQexec(conn_, sql.c_str()));
}

void ServerSession::ensureTextDomains(const std::vector<int>& widths)
{
    if (widths.empty()) return;
    if (!domainsRead_) {
        exec("create extension if not exists citext");
        ResultGuard r{PQexec(conn_, "select typname from pg_type where typtype = 'd' and typname like 'rsgz!_text!_%' escape '!' "
                                    "and typnamespace = (select oid from pg_namespace where nspname = current_schema())")};
        if (!isOk(r.r)) {
            PGresult* bad = r.r;
            r.r = nullptr;
            fail(bad, "select typname from pg_type");
        }
        for (int i = 0; i < PQntuples(r.r); ++i) knownDomains_.push_back(serverTextDomainWidth(PQgetvalue(r.r, i, 0)));
        domainsRead_ = true;
    }
    for (int w : widths) {
        if (std::find(knownDomains_.begin(), knownDomains_.end(), w) != knownDomains_.end()) continue;
        const std::string name = serverTextDomain(w);
        exec("create domain " + name + " as citext check (char_length(value) <= " + std::to_string(w) + ")");
        knownDomains_.push_back(w);
    }
}

ServerStatement::ServerStatement(std::shared_ptr<ServerSession> session, std::string sql, int parameters)
    : session_(std::move(session)), sql_(std::move(sql)), params_(static_cast<size_t>(parameters))
{
    name_ = session_->prepare(sql_, parameters);
}

ServerStatement::~ServerStatement()
{
    PQclear(result_);
    PQclear(description_);
    session_->release(std::move(name_));
}

bool ServerStatement::step()
{
    if (!result_) {
        std::vector<const char*> values(params_.size());
        for (size_t i = 0; i < params_.size(); ++i) values[i] = params_[i] ? params_[i]->c_str() : nullptr;
        PGresult* r = PQexecPrepared(session_->conn(), name_.c_str(), static_cast<int>(values.size()), values.data(),
                                     nullptr, nullptr, 0);
        if (!isOk(r)) session_->fail(r, sql_);
        session_->noteChanges(r);
        result_ = r;
        rows_ = PQntuples(r);
        row_ = 0;
    } else {
        ++row_;
    }
    if (row_ < rows_) return true;
    // Done: the next step runs the statement again with the same values, as in SQLite.
    PQclear(result_);
    result_ = nullptr;
    row_ = -1;
    return false;
}

void ServerStatement::reset()
{
    PQclear(result_);
    result_ = nullptr;
    row_ = -1;
    std::fill(params_.begin(), params_.end(), std::nullopt);
}

void ServerStatement::bind(int param, std::optional<std::string> value)
{
    if (param < 1 || static_cast<size_t>(param) > params_.size())
        throw DbError(DbError::Kind::Other, "参数序号 " + std::to_string(param) + " 超出了语句的参数个数", {}, sql_);
    params_[static_cast<size_t>(param - 1)] = std::move(value);
}

PGresult* ServerStatement::described()
{
    if (result_) return result_;
    if (!description_) {
        description_ = PQdescribePrepared(session_->conn(), name_.c_str());
        if (!isOk(description_)) {
            PGresult* r = description_;
            description_ = nullptr;
            session_->fail(r, sql_);
        }
    }
    return description_;
}

int ServerStatement::columnCount() { return PQnfields(described()); }

std::string ServerStatement::columnName(int column)
{
    const char* n = PQfname(described(), column);
    return n ? n : "";
}

unsigned ServerStatement::typeOid(int column) { return PQftype(described(), column); }

unsigned ServerStatement::tableOid(int column) { return PQftable(described(), column); }

int ServerStatement::tableColumn(int column) { return PQftablecol(described(), column); }

const char* ServerStatement::value(int column) const
{
    if (!result_ || row_ < 0 || row_ >= rows_ || column < 0 || column >= PQnfields(result_)) return nullptr;
    if (PQgetisnull(result_, row_, column)) return nullptr;
    return PQgetvalue(result_, row_, column);
}

Statement::ColumnType ServerStatement::columnType(int column) const
{
    using T = Statement::ColumnType;
    if (!value(column)) return T::Null;
    switch (PQftype(result_, column)) {
    case kBool:
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid: return T::Integer;
    case kFloat4:
    case kFloat8:
    case kNumeric: return T::Real;
    case kBytea: return T::Blob;
    default: return T::Text;
    }
}

std::optional<std::string> ServerStatement::text(int column) const
{
    const char* v = value(column);
    if (!v) return std::nullopt;
    const int len = PQgetlength(result_, row_, column);
    std::string s(v, static_cast<size_t>(len));
    switch (PQftype(result_, column)) {
    case kBool: return std::string(s == "t" ? "1" : "0");
    case kTimestamp:
        // A date without a time is written by the program as the date alone.
        if (s.size() == 19 && s.ends_with(" 00:00:00")) s.resize(10);
        return s;
    case kNumeric: {
        // As SQLite writes a stored amount: no trailing zeros, one decimal at least.
        const size_t point = s.find('.');
        if (point == std::string::npos) return s;
        while (s.size() > point + 2 && s.back() == '0') s.pop_back();
        return s;
    }
    default: return s;
    }
}

Money ServerStatement::money(int column) const
{
    const char* v = value(column);
    if (!v) return Money();
    Money m;
    const std::string_view s(v);
    if (Money::parse(s, &m)) return m;
    if (Money::read(s, &m) == Money::Reading::Ok) return m;
    return Money::fromDouble(number(column));
}

double ServerStatement::number(int column) const
{
    const char* v = value(column);
    if (!v) return 0;
    if (PQftype(result_, column) == kBool) return *v == 't' ? 1 : 0;
    double d = 0;
    std::from_chars(v, v + std::strlen(v), d);
    return d;
}

int64_t ServerStatement::integer(int column) const
{
    const char* v = value(column);
    if (!v) return 0;
    if (PQftype(result_, column) == kBool) return *v == 't' ? 1 : 0;
    int64_t i = 0;
    const char* end = v + std::strlen(v);
    const auto [stop, ec] = std::from_chars(v, end, i);
    if (ec == std::errc() && stop == end) return i;
    // A fraction or an exponent: its whole part, as SQLite reads a real as an integer.
    return static_cast<int64_t>(number(column));
}

}  // namespace rsgz::db
