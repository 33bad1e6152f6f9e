// Binding the values of a prepared statement and reading the columns of its rows.
#include "db/Native.h"

namespace rsgz::db {

Statement::Statement(Statement&& o) noexcept
    : conn_(o.conn_), stmt_(o.stmt_), sql_(std::move(o.sql_)), cached_(o.cached_)
{
    o.stmt_ = nullptr;
}

Statement::~Statement()
{
    if (!stmt_) return;
    if (cached_) conn_->release(sql_, stmt_);
    else sqlite3_finalize(stmt_);
}

bool Statement::step()
{
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
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

Statement& Statement::checked(int rc)
{
    if (rc != SQLITE_OK) conn_->fail(rc, sql_);
    return *this;
}

Statement& Statement::bind(int param, std::string_view text)
{
    return checked(sqlite3_bind_text(stmt_, param, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT));
}

Statement& Statement::bindKept(int param, std::string_view text)
{
    return checked(sqlite3_bind_text(stmt_, param, text.data(), static_cast<int>(text.size()), SQLITE_STATIC));
}

Statement& Statement::bind(int param, const std::optional<std::string>& text)
{
    return text ? bind(param, std::string_view(*text)) : bindNull(param);
}

Statement& Statement::bind(int param, Money amount) { return bind(param, amount.toDouble()); }

Statement& Statement::bind(int param, double number) { return checked(sqlite3_bind_double(stmt_, param, number)); }

Statement& Statement::bind(int param, int64_t number) { return checked(sqlite3_bind_int64(stmt_, param, number)); }

Statement& Statement::bindNull(int param) { return checked(sqlite3_bind_null(stmt_, param)); }

int Statement::columnCount() const { return sqlite3_column_count(stmt_); }

std::string Statement::columnName(int column) const
{
    const char* name = sqlite3_column_name(stmt_, column);
    return name ? name : "";
}

Statement::ColumnType Statement::columnType(int column) const
{
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
    if (isNull(column)) return std::nullopt;
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

Money Statement::money(int column) const
{
    return isNull(column) ? Money() : Money::fromDouble(sqlite3_column_double(stmt_, column));
}

double Statement::number(int column) const { return sqlite3_column_double(stmt_, column); }

int64_t Statement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }

}  // namespace rsgz::db
