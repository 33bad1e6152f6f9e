#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "db/Connection.h"
#include "db/Schema.h"

namespace rsgz::db {

// The rows of one table summed up so that two databases can be compared whatever their engine:
// the count, and a checksum over the values of every row. Each value is taken as canonical text
// by its column's logical type (an amount with four decimals, a yes/no as 1 or 0, a date in ISO
// form without a zero time, a number in its shortest exact form), so a value that came through
// another engine unchanged gives the same text. The rows' own hashes are added up, which makes
// the checksum independent of the order the engine hands the rows out in.
struct TableDigest {
    int64_t rows = 0;
    std::string checksum;  // 32 hexadecimal digits
    bool operator==(const TableDigest&) const = default;
};

// One table after a copy: what the source held and what the target holds.
struct TableCheck {
    std::string table;
    TableDigest source, target;
    bool matches() const { return source == target; }
};

// Sums up the rows of a table as TableDigest says; columns give the names and logical types.
TableDigest digestTable(Connection& conn, const std::string& table, const std::vector<ColumnDef>& columns);

// Copies every table of one database into another, of either engine: a file into a server's
// database or a server's database into a file. The source is read in one consistent snapshot; the
// target is written in one transaction (the schema too, when the target has none yet), by the
// server's bulk input or by prepared inserts, with the keys as they were and the key numbering
// set after the highest. Then each table of the target is read back and compared with the source.
// Only when every count and checksum agree is the transaction committed; otherwise, or on any
// failure, the target is left as it was.
class TableCopy {
public:
    TableCopy(Connection& source, Connection& target);

    struct Step {
        std::string table;
        int index = 0;   // of the table, from 0
        int tables = 0;  // how many there are
        int64_t rows = 0;  // copied of this table so far
    };
    // Told at the start of every table and every few thousand rows. It may throw to break the
    // copy off; the target is then left as it was.
    std::function<void(const Step&)> progress;

    // The tables that are copied, with their columns and types: the source's tables in the order
    // they were made, each column typed as the schema has it (as the source declares it for a
    // table or column the schema does not know).
    std::vector<TableDef> plan();
    // The first table of the target that holds rows, with its count: the copy goes only into an
    // empty database.
    std::optional<std::pair<std::string, int64_t>> filledTargetTable();

    struct Result {
        std::vector<TableCheck> checks;
        bool committed = false;  // false: some table differs, and the target was left as it was
    };
    // Throws DbError (the target is left as it was); refuses a target that holds rows.
    Result run();

private:
    void prepareTarget(const std::vector<TableDef>& tables);
    TableDigest copyTable(const TableDef& table, int index, int tables);
    void renumberKeys(const std::vector<TableDef>& tables);

    Connection& source_;
    Connection& target_;
};

}  // namespace rsgz::db
