#pragma once
#include <string>
#include <vector>

#include "db/Value.h"

namespace rsgz::db {
class DataSet;
}

namespace rsgz::print {

// The rows of the grid being printed, taken from its dataset in the dataset's current order.
struct ReportTable {
    std::vector<std::string> fields;
    std::vector<std::vector<db::Value>> rows;

    int fieldIndex(const std::string& name) const;  // -1 when the grid has no such column
    static ReportTable fromDataSet(const db::DataSet& ds);
};

}  // namespace rsgz::print
