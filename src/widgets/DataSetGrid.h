#pragma once
#include <QTableView>

#include "widgets/DataSetModel.h"

namespace rsgz::widgets {

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
    // Enter moves the cell focus to the next column (after writing a cell being edited) and stays
    // put in the last column, so a row can be typed without the mouse.
    void setEnterMovesToNextColumn(bool on) { enterMoves_ = on; }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void nextColumn();

    DataSetModel* model_;
    bool enterMoves_ = false;
};

}  // namespace rsgz::widgets
