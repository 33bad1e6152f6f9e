// Binding the values of a prepared statement and reading the columns of its rows.
#include "db/Native.h"

#include <charconv>

#include "db/Schema.h"
#include "db/ServerBackend.h"

namespace rsgz::db {

Statement::Statement(Statement&& o) noexcept
    : conn_(o.conn_), stmt_(o.stmt_), server_(o.server_), sql_(std::move(o.sql_)), cached_(o.cached_)
{
    o.stmt_ = nullptr;
    o.server_ = nullptr;
}

Statement::~Statement()
{
    if (server_) {
        if (cached_) conn_->release(sql_, server_);
        else delete server_;
        return;
    }
    if (!stmt_) return;
    if (cached_) conn_->release(sql_, stmt_);
    else sqlite3_finalize(stmt_);
}

bool Statement::step()
{
    if (server_) return server_->step();
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    conn_->fail(rc, sql_);
}

void Statement::run()
{
    while (step()) {
    }
    reset();
}

void Statement::reset()
{
    if (server_) return server_->reset();
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

Statement& Statement::checked(int rc)
{
    if (rc != SQLITE_OK) conn_->fail(rc, sql_);
    return *this;
}

Statement& Statement::bindServer(int param, std::optional<std::string> value)
{
    server_->bind(param, std::move(value));
    return *this;
}

namespace {
template <typename Number>
std::string numberText(Number n)
{
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, n);
    return std::string(buf, ec == std::errc() ? end : buf);
}
}  // namespace

Statement& Statement::bind(int param, std::string_view text)
{
    if (server_) return bindServer(param, std::string(text));
    return checked(sqlite3_bind_text(stmt_, param, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT));
}

Statement& Statement::bindKept(int param, std::string_view text)
{
    if (server_) return bindServer(param, std::string(text));
    return checked(sqlite3_bind_text(stmt_, param, text.data(), static_cast<int>(text.size()), SQLITE_STATIC));
}

Statement& Statement::bind(int param, const std::optional<std::string>& text)
{
    return text ? bind(param, std::string_view(*text)) : bindNull(param);
}

// The server takes an amount exactly, as its decimal text; SQLite stores it as a real.
Statement& Statement::bind(int param, Money amount)
{
    if (server_) return bindServer(param, amount.toSqlLiteral());
    return bind(param, amount.toDouble());
}

Statement& Statement::bind(int param, double number)
{
    if (server_) return bindServer(param, numberText(number));
    return checked(sqlite3_bind_double(stmt_, param, number));
}

Statement& Statement::bind(int param, int64_t number)
{
    if (server_) return bindServer(param, numberText(number));
    return checked(sqlite3_bind_int64(stmt_, param, number));
}

Statement& Statement::bindNull(int param)
{
    if (server_) return bindServer(param, std::nullopt);
    return checked(sqlite3_bind_null(stmt_, param));
}

int Statement::columnCount() const { return server_ ? server_->columnCount() : sqlite3_column_count(stmt_); }

std::string Statement::columnName(int column) const
{
    if (server_) {
        const unsigned table = server_->tableOid(column);
        return programSpelling(server_->columnName(column), table ? conn_->session().tableName(table) : std::string());
    }
    const char* name = sqlite3_column_name(stmt_, column);
    return name ? name : "";
}

Statement::ColumnType Statement::columnType(int column) const
{
    if (server_) return server_->columnType(column);
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_INTEGER: return ColumnType::Integer;
    case SQLITE_FLOAT: return ColumnType::Real;
    case SQLITE_TEXT: return ColumnType::Text;
    case SQLITE_BLOB: return ColumnType::Blob;
    default: return ColumnType::Null;
    }
}

std::optional<std::string> Statement::text(int column) const
{
    if (server_) return server_->text(column);
    if (isNull(column)) return std::nullopt;
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

Money Statement::money(int column) const
{
    if (server_) return server_->money(column);
    return isNull(column) ? Money() : Money::fromDouble(sqlite3_column_double(stmt_, column));
}

double Statement::number(int column) const
{
    return server_ ? server_->number(column) : sqlite3_column_double(stmt_, column);
}

int64_t Statement::integer(int column) const
{
    return server_ ? server_->integer(column) : sqlite3_column_int64(stmt_, column);
}

std::string Statement::originTable(int column) const
{
    if (server_) return programSpelling(conn_->session().tableName(server_->tableOid(column)));
    const char* t = sqlite3_column_table_name(stmt_, column);
    return t ? t : "";
}

std::string Statement::originColumn(int column) const
{
    if (server_) {
        const unsigned table = server_->tableOid(column);
        return programSpelling(conn_->session().columnName(table, server_->tableColumn(column)), conn_->session().tableName(table));
    }
    const char* c = sqlite3_column_origin_name(stmt_, column);
    return c ? c : "";
}

std::string Statement::declaredType(int column) const
{
    // The server describes the type of every column, an expression's too, but no declaration.
    if (server_) return {};
    const char* d = sqlite3_column_decltype(stmt_, column);
    return d ? d : "";
}

}  // namespace rsgz::db
