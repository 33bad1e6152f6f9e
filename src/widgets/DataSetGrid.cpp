#include "widgets/DataSetGrid.h"

#include <QHeaderView>
#include <QKeyEvent>

#include "widgets/GridLink.h"
#include "widgets/PanelParts.h"

namespace rsgz::widgets {

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
    linkGridToDataSet(this, model_);
    // Every new read (and every new choice of columns) fits the columns again, titles included.
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { fitColumns(this); });
    fitColumns(this);
}

void DataSetGrid::editCurrent(const QString& field)
{
    db::DataSet* ds = model_->dataSet();
    if (!ds->active() || ds->currentRow() < 0) return;
    for (int column = 0; column < model_->columnCount(); ++column) {
        const int f = model_->fieldIndexOfColumn(column);
        if (f < 0 || QString::fromStdString(ds->field(f).name) != field) continue;
        const QModelIndex at = model_->index(ds->currentRow(), column);
        setCurrentIndex(at);
        setFocus();
        edit(at);
        return;
    }
}

void DataSetGrid::keyPressEvent(QKeyEvent* e)
{
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enterMoves_ && enter && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // Taken here: passed on, the window would press its default button.
        nextColumn();
        e->accept();
        return;
    }
    QTableView::keyPressEvent(e);
}

void DataSetGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTableView::closeEditor(editor, hint);
    // The cell editor ends with this hint only when Enter wrote the cell.
    if (enterMoves_ && hint == QAbstractItemDelegate::SubmitModelCache) nextColumn();
}

void DataSetGrid::nextColumn()
{
    const QModelIndex at = currentIndex();
    if (!at.isValid()) return;
    const QHeaderView* header = horizontalHeader();
    for (int visual = header->visualIndex(at.column()) + 1; visual < header->count(); ++visual) {
        const int column = header->logicalIndex(visual);
        if (header->isSectionHidden(column)) continue;
        setCurrentIndex(model_->index(at.row(), column));
        return;
    }
}

}  // namespace rsgz::widgets
