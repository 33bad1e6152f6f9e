#include "payroll/BoundStatement.h"

#include <sqlite3.h>

namespace rsgz::payroll {

BoundStatement::BoundStatement(db::Connection& conn, const std::string& sql)
    : conn_(conn), st_(conn.prepareCached(sql))
{
    sqlite3_clear_bindings(st_.get());
}

BoundStatement& BoundStatement::bind(int param, std::string_view text)
{
    const int rc = sqlite3_bind_text(st_.get(), param, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) conn_.fail(rc, st_.sql());
    return *this;
}

BoundStatement& BoundStatement::bind(int param, const std::optional<std::string>& text)
{
    return text ? bind(param, std::string_view(*text)) : bindNull(param);
}

BoundStatement& BoundStatement::bind(int param, db::Money amount) { return bind(param, amount.toDouble()); }

BoundStatement& BoundStatement::bind(int param, double number)
{
    const int rc = sqlite3_bind_double(st_.get(), param, number);
    if (rc != SQLITE_OK) conn_.fail(rc, st_.sql());
    return *this;
}

BoundStatement& BoundStatement::bind(int param, int64_t number)
{
    const int rc = sqlite3_bind_int64(st_.get(), param, number);
    if (rc != SQLITE_OK) conn_.fail(rc, st_.sql());
    return *this;
}

BoundStatement& BoundStatement::bindNull(int param)
{
    const int rc = sqlite3_bind_null(st_.get(), param);
    if (rc != SQLITE_OK) conn_.fail(rc, st_.sql());
    return *this;
}

void BoundStatement::run()
{
    while (st_.step()) {
    }
    reset();
}

void BoundStatement::reset() { st_.reset(); }

std::optional<std::string> BoundStatement::text(int column) const
{
    if (isNull(column)) return std::nullopt;
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st_.get(), column));
    return std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(st_.get(), column)));
}

db::Money BoundStatement::money(int column) const
{
    return isNull(column) ? db::Money() : db::Money::fromDouble(sqlite3_column_double(st_.get(), column));
}

double BoundStatement::number(int column) const { return sqlite3_column_double(st_.get(), column); }

int64_t BoundStatement::integer(int column) const { return sqlite3_column_int64(st_.get(), column); }

bool BoundStatement::isNull(int column) const { return sqlite3_column_type(st_.get(), column) == SQLITE_NULL; }

}  // namespace rsgz::payroll
