#pragma once
#include <string>
#include <vector>

#include "db/FieldType.h"
#include "db/Value.h"

namespace rsgz::db {
class DataSet;
}

namespace rsgz::print {

// The rows a printed table shows. Rows are read by position, so printing never moves the cursor
// of the list it prints from.
class TableSource {
public:
    virtual ~TableSource() = default;
    virtual int rowCount() const = 0;
    // The data column a table column's item name stands for; -1 when none.
    virtual int fieldOf(const std::string& item) const = 0;
    // Amounts and other numbers (a formula item of the salary table is a plain number): these can
    // take a number format and be summed.
    virtual bool isNumber(int field) const = 0;
    virtual db::Value value(int row, int field) const = 0;
    // The value as the grid shows it.
    virtual std::string text(int row, int field) const = 0;
};

// The value as the program's grids show it: money with two decimals, dates yyyy-mm-dd, yes/no as 是/否.
std::string displayText(const db::Value& v, db::FieldType type);

// A grid column: the data column and the title the grid shows above it.
struct PrintItem {
    std::string field, title;
};

// A module's list as its grid shows it: an item name is the grid's title of a column (the salary
// table titles its item codes with the item names) or a column name of the list.
class DataSetSource : public TableSource {
public:
    // grid: the grid's columns in display order; empty takes every column of the list.
    DataSetSource(const db::DataSet& ds, std::vector<PrintItem> grid);

    const std::vector<PrintItem>& grid() const { return grid_; }
    std::vector<std::string> gridTitles() const;

    int rowCount() const override;
    int fieldOf(const std::string& item) const override;
    bool isNumber(int field) const override;
    db::Value value(int row, int field) const override;
    std::string text(int row, int field) const override;

private:
    const db::DataSet& ds_;
    std::vector<PrintItem> grid_;
};

}  // namespace rsgz::print
