#pragma once

class QTableView;
class QWidget;

namespace rsgz::widgets {

class DataSetModel;

// Keeps a grid and its dataset on the same row both ways: the grid follows every move of the
// dataset's cursor, and choosing a row in the grid moves the cursor there. Call it after the
// grid has its model; the grid is put on the cursor's row at once and after every new read.
void linkGridToDataSet(QTableView* grid, DataSetModel* model);

// An editable grid over a dataset (the small settings windows type straight into their grids).
QTableView* makeEditGrid(DataSetModel* model, QWidget* parent);

}  // namespace rsgz::widgets

#include <array>
#include <functional>

class QHBoxLayout;

namespace rsgz::widgets {

// The four record buttons |< < > >| of a record window, with their hints, added to a row; each
// runs its step (first, previous, next, last).
void addNavigatorButtons(QHBoxLayout* row, QWidget* parent, const std::array<const char*, 4>& hints,
                         const std::array<std::function<void()>, 4>& steps);

}  // namespace rsgz::widgets
