#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "db/DataSet.h"

namespace rsgz::personnel {

// The rows a record window shows when it is opened on one row of a module list: that row and every
// row added in the window since, by the counter key 编号. Re-reading keeps exactly these rows, and a
// window opened on no row shows an empty list to which it can still add.
class KeptRows {
public:
    explicit KeptRows(std::string table) : table_(std::move(table)) {}

    void keep(const db::Value& key);  // a null key is ignored
    // Every row the dataset holds now (rows posted in the window included).
    void keepAll(const db::DataSet& ds);
    const std::vector<int64_t>& keys() const { return keys_; }

    // "select * from <table>", "where 编号 in (3,17)"; with no row kept the condition matches none.
    db::SqlLines sql() const;
    // Re-reads the dataset on the kept rows and stays on the row that was current.
    void reread(db::DataSet& ds);

private:
    std::string table_;
    std::vector<int64_t> keys_;
};

}  // namespace rsgz::personnel
