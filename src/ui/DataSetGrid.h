#pragma once
#include <QTableView>

#include "ui/DataSetModel.h"

namespace rsgz::ui {

// A grid over one dataset that keeps its current row and the dataset's cursor together both ways:
// a click moves the dataset, a move of the dataset (append, delete, re-read) moves the grid. Record
// windows use it for their editable lists; edits are written through the dataset.
class DataSetGrid : public QTableView {
    Q_OBJECT
public:
    DataSetGrid(db::DataSet* ds, bool editable, QWidget* parent = nullptr);
    DataSetModel* dataModel() const { return model_; }
    // Puts the cursor on the dataset's current row in the given field and opens its editor.
    void editCurrent(const QString& field);

private:
    void followCurrentRow(int row);
    void rowActivated(const QModelIndex& current);

    DataSetModel* model_;
    bool following_ = false;
};

}  // namespace rsgz::ui
