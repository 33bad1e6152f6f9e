#include "db/BatchInsert.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace rsgz::db {

BatchInsert::BatchInsert(Connection& conn, std::string head, int columns, int rowsPerStatement)
    : conn_(conn),
      head_(std::move(head)),
      columns_(static_cast<size_t>(columns)),
      rowsPerStatement_(static_cast<size_t>(rowsPerStatement > 0 ? rowsPerStatement
                                                                 : std::max(1, kValuesPerStatement / std::max(columns, 1))))
{
    if (columns <= 0) throw std::logic_error("BatchInsert: no columns");
    waiting_.reserve(columns_ * rowsPerStatement_);
    waiting_.resize(columns_);
}

BatchInsert::~BatchInsert() noexcept(false)
{
    // Unwinding from a failure: what waits is dropped with the caller's transaction.
    if (std::uncaught_exceptions() == 0) finish();
}

BatchInsert::Cell& BatchInsert::cell(int column)
{
    if (column < 1 || static_cast<size_t>(column) > columns_)
        throw std::out_of_range("BatchInsert: no column " + std::to_string(column));
    return waiting_[rows_ * columns_ + static_cast<size_t>(column - 1)];
}

BatchInsert& BatchInsert::bind(int column, std::string_view text)
{
    cell(column) = std::string(text);
    return *this;
}

BatchInsert& BatchInsert::bind(int column, const std::optional<std::string>& text)
{
    if (text) cell(column) = *text;
    else cell(column) = std::monostate();
    return *this;
}

BatchInsert& BatchInsert::bind(int column, Money amount)
{
    cell(column) = amount;
    return *this;
}

BatchInsert& BatchInsert::bind(int column, double number)
{
    cell(column) = number;
    return *this;
}

BatchInsert& BatchInsert::bind(int column, int64_t number)
{
    cell(column) = number;
    return *this;
}

BatchInsert& BatchInsert::bindNull(int column)
{
    cell(column) = std::monostate();
    return *this;
}

void BatchInsert::endRow()
{
    ++rows_;
    if (rows_ == rowsPerStatement_) {
        write(rows_);
        return;
    }
    // The next row starts with no values.
    waiting_.resize((rows_ + 1) * columns_);
}

int BatchInsert::finish()
{
    if (rows_ > 0) write(rows_);
    return written_;
}

std::string BatchInsert::statementOf(size_t rows) const
{
    std::string row = "(";
    for (size_t c = 0; c < columns_; ++c) row += c ? ",?" : "?";
    row += ")";
    std::string sql = head_ + " values ";
    sql.reserve(sql.size() + rows * (row.size() + 1));
    for (size_t r = 0; r < rows; ++r) {
        if (r) sql += ',';
        sql += row;
    }
    return sql;
}

void BatchInsert::write(size_t rows)
{
    // A full batch always has the same text: it is kept prepared on the connection.
    Statement st = rows == rowsPerStatement_ ? conn_.prepareCached(statementOf(rows)) : conn_.prepareNative(statementOf(rows));
    for (size_t i = 0; i < rows * columns_; ++i) {
        const int param = static_cast<int>(i + 1);
        std::visit(
            [&](const auto& v) {
                using V = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<V, std::monostate>) st.bindNull(param);
                else st.bind(param, v);
            },
            waiting_[i]);
    }
    st.run();
    written_ += static_cast<int>(rows);
    rows_ = 0;
    waiting_.assign(columns_, Cell());
}

}  // namespace rsgz::db
