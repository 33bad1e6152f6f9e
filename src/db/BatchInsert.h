#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "db/Connection.h"
#include "db/Money.h"

namespace rsgz::db {

// Many new rows of one table written through inserts of many rows each ("values (…), (…), …"):
// on a server every statement is a trip there and back, so a month of thousands of rows goes in a
// few dozen statements instead of thousands. The values of a row are given column by column, then
// endRow(); a full batch is written at once, the rest by finish() (or when the object goes, if no
// exception is on its way). The caller holds the transaction.
class BatchInsert {
public:
    // head: "insert into 工资表 (a,b,c)" in SQLite's words, naming `columns` columns. Without a
    // number of rows per statement, a statement takes about kValuesPerStatement values: few trips,
    // and well within what either engine binds to one statement.
    static constexpr int kValuesPerStatement = 20000;
    BatchInsert(Connection& conn, std::string head, int columns, int rowsPerStatement = 0);
    ~BatchInsert() noexcept(false);
    BatchInsert(const BatchInsert&) = delete;
    BatchInsert& operator=(const BatchInsert&) = delete;

    // The value of a column of the current row, counted from 1 as the head names them.
    BatchInsert& bind(int column, std::string_view text);
    BatchInsert& bind(int column, const std::string& text) { return bind(column, std::string_view(text)); }
    BatchInsert& bind(int column, const char* text) { return bind(column, std::string_view(text)); }
    BatchInsert& bind(int column, const std::optional<std::string>& text);
    BatchInsert& bind(int column, Money amount);
    BatchInsert& bind(int column, double number);
    BatchInsert& bind(int column, int64_t number);
    BatchInsert& bindNull(int column);
    void endRow();
    // Writes the rows still waiting; the number of rows written in all.
    int finish();

private:
    using Cell = std::variant<std::monostate, std::string, Money, double, int64_t>;
    Cell& cell(int column);
    void write(size_t rows);
    std::string statementOf(size_t rows) const;

    Connection& conn_;
    std::string head_;
    size_t columns_;
    size_t rowsPerStatement_;
    std::vector<Cell> waiting_;  // whole rows, then the row being given
    size_t rows_ = 0;
    int written_ = 0;
};

}  // namespace rsgz::db
