#pragma once
#include <optional>
#include <string>
#include <vector>

#include "db/Money.h"

namespace rsgz::db {
class DataSet;
}

namespace rsgz::app {

// The totals row under a grid: every money column summed over the rows the grid shows, each row
// counted with the figure the grid shows for it (to the fen, Money::toFen), and "合计" in
// the first text column. The sums are exact: fixed point, never a binary fraction.
struct GridTotals {
    std::vector<std::optional<db::Money>> sums;  // by grid column; none for a column that holds no amounts
    int labelColumn = -1;                        // the first text column, -1 when there is none

    // The texts of the row, by grid column: the sums as "0.00", the label, empty elsewhere.
    std::vector<std::string> texts() const;
};

// fields: the dataset field behind each grid column, in column order (-1 for a column without one).
// Reads the values the grid reads (the edit buffer on the row being edited).
GridTotals gridTotals(const db::DataSet& ds, const std::vector<int>& fields);

}  // namespace rsgz::app
