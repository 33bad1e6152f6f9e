#include "widgets/GridLink.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <algorithm>

#include "app/Interaction.h"
#include "db/DataSet.h"
#include "widgets/DataSetModel.h"
#include "widgets/PanelParts.h"

namespace rsgz::widgets {

namespace {

// The one place where a grid's current row and its dataset's cursor become one thing. The grid is
// put on the cursor's row as soon as it is linked and after every new read: a view without a current
// row takes the first one when it gets the focus, and that would move the dataset to row 1 under
// the user (a window opened on the clicked employee would show the first one).
class GridCursor : public QObject {
public:
    GridCursor(QTableView* grid, DataSetModel* model) : QObject(grid), grid_(grid), model_(model)
    {
        connect(model, &DataSetModel::currentRowChanged, this, &GridCursor::follow);
        connect(model, &QAbstractItemModel::modelReset, this, &GridCursor::followDataSet);
        connect(model, &QAbstractItemModel::rowsInserted, this, &GridCursor::followDataSet);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &GridCursor::followDataSet);
        connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this, &GridCursor::chosen);
        followDataSet();
    }

private:
    void followDataSet()
    {
        const db::DataSet* ds = model_->dataSet();
        follow(ds->active() ? ds->currentRow() : -1);
    }

    void follow(int row)
    {
        if (row < 0 || row >= model_->rowCount() || model_->columnCount() == 0) return;
        following_ = true;
        const int column = std::clamp(grid_->currentIndex().column(), 0, model_->columnCount() - 1);
        const QModelIndex at = model_->index(row, column);
        if (grid_->currentIndex() != at) grid_->setCurrentIndex(at);
        grid_->scrollTo(at);
        following_ = false;
    }

    // Rows coming and going move the view's current row by itself; taken for a choice, that move
    // would post (or refuse) a row being abandoned. Only the user's choices move the dataset.
    void chosen(const QModelIndex& current)
    {
        db::DataSet* ds = model_->dataSet();
        if (following_ || model_->reshaping() || !current.isValid() || !ds->active() || current.row() == ds->currentRow()) return;
        const int row = current.row();
        app::runAction([ds, row] { ds->moveToRow(row); });
        // A refused move (a rule, a failed post) leaves the cursor where it was: so does the grid.
        if (ds->active() && ds->currentRow() != row) followDataSet();
    }

    QTableView* grid_;
    DataSetModel* model_;
    bool following_ = false;  // set while the grid follows the cursor, so it is not taken for a choice
};

}  // namespace

void linkGridToDataSet(QTableView* grid, DataSetModel* model) { new GridCursor(grid, model); }

QTableView* makeEditGrid(DataSetModel* model, QWidget* parent)
{
    model->setEditable(true);
    QTableView* grid = makeGrid(parent);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    setGridModel(grid, model);
    linkGridToDataSet(grid, model);
    return grid;
}

}  // namespace rsgz::widgets

#include <QHBoxLayout>
#include <QToolButton>

namespace rsgz::widgets {

void addNavigatorButtons(QHBoxLayout* row, QWidget* parent, const std::array<const char*, 4>& hints,
                         const std::array<std::function<void()>, 4>& steps)
{
    static constexpr const char* texts[] = {"|<", "<", ">", ">|"};
    for (size_t i = 0; i < 4; ++i) {
        auto* b = new QToolButton(parent);
        b->setText(QString::fromUtf8(texts[i]));
        b->setToolTip(QString::fromUtf8(hints[i]));
        b->setObjectName(QString::fromUtf8(hints[i]));
        // Taking the focus on a click ends the typing in a field (a date is checked) before the move.
        b->setFocusPolicy(Qt::StrongFocus);
        QObject::connect(b, &QToolButton::clicked, parent, steps[i]);
        row->addWidget(b);
    }
}

}  // namespace rsgz::widgets
