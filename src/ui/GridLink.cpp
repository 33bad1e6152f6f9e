#include "ui/GridLink.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <memory>

#include "app/Interaction.h"
#include "ui/DataSetModel.h"
#include "ui/PanelParts.h"

namespace rsgz::ui {

void linkGridToDataSet(QTableView* grid, DataSetModel* model)
{
    // Set while the grid follows the cursor, so following is not taken for the user's choice.
    auto following = std::make_shared<bool>(false);
    QObject::connect(model, &DataSetModel::currentRowChanged, grid, [grid, model, following](int row) {
        if (row < 0 || row >= model->rowCount()) return;
        *following = true;
        const int column = std::max(0, grid->currentIndex().column());
        grid->setCurrentIndex(model->index(row, column));
        grid->scrollTo(model->index(row, column));
        *following = false;
    });
    QObject::connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, grid,
                     [model, following](const QModelIndex& current) {
                         db::DataSet* ds = model->dataSet();
                         if (*following || !current.isValid() || !ds->active() || current.row() == ds->currentRow()) return;
                         const int row = current.row();
                         app::runAction([ds, row] { ds->moveToRow(row); });
                     });
}

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

}  // namespace rsgz::ui

#include <QHBoxLayout>
#include <QToolButton>

namespace rsgz::ui {

void addNavigatorButtons(QHBoxLayout* row, QWidget* parent, const std::array<const char*, 4>& hints,
                         const std::array<std::function<void()>, 4>& steps)
{
    static constexpr const char* texts[] = {"|<", "<", ">", ">|"};
    for (size_t i = 0; i < 4; ++i) {
        auto* b = new QToolButton(parent);
        b->setText(QString::fromUtf8(texts[i]));
        b->setToolTip(QString::fromUtf8(hints[i]));
        b->setObjectName(QString::fromUtf8(hints[i]));
        QObject::connect(b, &QToolButton::clicked, parent, steps[i]);
        row->addWidget(b);
    }
}

}  // namespace rsgz::ui
