#include "ui/DataSetGrid.h"

#include <QHeaderView>

#include "app/Interaction.h"

namespace rsgz::ui {

DataSetGrid::DataSetGrid(db::DataSet* ds, bool editable, QWidget* parent)
    : QTableView(parent), model_(new DataSetModel(ds, this))
{
    model_->setEditable(editable);
    setModel(model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                   | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked
                             : QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(24);
    verticalHeader()->setFixedWidth(18);
    horizontalHeader()->setHighlightSections(false);
    connect(model_, &DataSetModel::currentRowChanged, this, &DataSetGrid::followCurrentRow);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { rowActivated(current); });
}

void DataSetGrid::editCurrent(const QString& field)
{
    db::DataSet* ds = model_->dataSet();
    if (!ds->active() || ds->currentRow() < 0) return;
    for (int column = 0; column < model_->columnCount(); ++column) {
        const int f = model_->fieldIndexOfColumn(column);
        if (f < 0 || QString::fromStdString(ds->field(f).name) != field) continue;
        const QModelIndex at = model_->index(ds->currentRow(), column);
        following_ = true;
        setCurrentIndex(at);
        following_ = false;
        setFocus();
        edit(at);
        return;
    }
}

void DataSetGrid::followCurrentRow(int row)
{
    if (row < 0 || row >= model_->rowCount()) return;
    following_ = true;
    const int column = std::max(0, currentIndex().column());
    setCurrentIndex(model_->index(row, column));
    scrollTo(model_->index(row, column));
    following_ = false;
}

void DataSetGrid::rowActivated(const QModelIndex& current)
{
    db::DataSet* ds = model_->dataSet();
    if (following_ || !current.isValid() || !ds->active() || current.row() == ds->currentRow()) return;
    const int row = current.row();
    app::runAction([ds, row] { ds->moveToRow(row); });
}

}  // namespace rsgz::ui
