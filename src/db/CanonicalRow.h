#pragma once
// The values of a row as canonical text, the same whichever engine they were read from, and the
// digest of many such rows (TableCopy.h). For the code of src/db alone.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Schema.h"
#include "db/TableCopy.h"

namespace rsgz::db {

using CanonicalRow = std::vector<std::optional<std::string>>;

// The value in column col of the statement's current row as canonical text of the given logical
// type; nullopt for null, and for the empty text an older file may hold in a number or date
// column. A value its type cannot hold (a word in a number column) is a DbError naming the table
// and the column, rather than becoming 0 on the way.
std::optional<std::string> canonicalValue(const Statement& st, int col, const std::string& table, const ColumnDef& column);

// Reads the whole current row into row (one value per column, in order).
void readCanonicalRow(const Statement& st, const TableDef& table, CanonicalRow& row);

// "select <columns> from <table>" in the program's words.
std::string selectAllSql(const TableDef& table);

// Adds rows up into a TableDigest.
class RowDigest {
public:
    void add(const CanonicalRow& row);
    TableDigest result() const;

private:
    int64_t rows_ = 0;
    std::array<uint64_t, 2> sum_{};
};

}  // namespace rsgz::db
