#pragma once
#include <string>

#include "print/TableSource.h"

namespace rsgz::test {

// Rows without columns: for what depends only on the number of records (pages, ranges).
struct BlankRows : print::TableSource {
    int rows = 0;
    int rowCount() const override { return rows; }
    int fieldOf(const std::string&) const override { return -1; }
    bool isNumber(int) const override { return false; }
    db::Value value(int, int) const override { return {}; }
    std::string text(int, int) const override { return {}; }
};

}  // namespace rsgz::test
