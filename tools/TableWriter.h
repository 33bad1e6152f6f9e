#pragma once
#include <string>
#include <unordered_map>
#include <vector>

#include "db/Connection.h"
#include "db/Value.h"

namespace rsgz::sample {

// Writes rows into one table of the schema through one prepared statement: every column but the
// key, set by name. A value longer than its column, or a column the table does not have, is a
// mistake in the generator and stops it at once.
class TableWriter {
public:
    TableWriter(db::Connection& conn, const std::string& table);
    void set(const std::string& column, db::Value value);
    void write();  // the row as set; unset columns are null. Clears the values for the next row.
    int64_t lastKey() const { return lastKey_; }

private:
    db::Connection& conn_;
    std::string table_;
    std::vector<std::string> columns_;
    std::vector<int> widths_;
    std::unordered_map<std::string, size_t> index_;
    std::vector<db::Value> values_;
    db::Statement statement_;
    int64_t lastKey_ = 0;
};

}  // namespace rsgz::sample
