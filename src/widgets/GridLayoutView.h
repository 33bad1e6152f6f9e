#pragma once
#include "query/GridLayout.h"

class QTableView;

namespace rsgz::widgets {

class DataSetModel;

// Between a grid and its stored layout: what the grid shows now (columns in their on-screen order,
// titles, widths, alignments), and a stored layout put back onto the grid. Names the list does not
// have are left out.
query::GridLayout captureLayout(const QTableView* grid, const DataSetModel* model);
void applyLayout(QTableView* grid, DataSetModel* model, const query::GridLayout& layout);
// Only the widths again (after the list was read anew, which fits the columns to their contents).
void applyWidths(QTableView* grid, const DataSetModel* model, const query::GridLayout& layout);

}  // namespace rsgz::widgets
