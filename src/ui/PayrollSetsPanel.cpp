#include "ui/PayrollSetsPanel.h"

#include <QFrame>
#include <QSplitter>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/DataSetModel.h"
#include "ui/PanelParts.h"

namespace rsgz::ui {

namespace {
QWidget* captioned(const QString& caption, QTableView* grid, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(makeCaptionBar(caption, box));
    grid->setParent(box);
    column->addWidget(grid, 1);
    return box;
}
}  // namespace

PayrollSetsPanel::PayrollSetsPanel(app::Navigation& nav, db::DataSet* sets, db::DataSet* items, QWidget* parent)
    : QWidget(parent)
{
    const PanelSkeleton skeleton = makePanelSkeleton(this, 9, QStringLiteral("工资帐套管理"), nav);
    QSplitter* split = skeleton.split;
    tree_ = skeleton.tree.tree;

    auto* grids = new QSplitter(Qt::Vertical, split);
    grids->setChildrenCollapsible(false);
    sets_ = makeGrid(grids);
    setGridModel(sets_, new DataSetModel(sets, sets_));
    items_ = makeGrid(grids);
    setGridModel(items_, new DataSetModel(items, items_));
    grids->addWidget(captioned(QStringLiteral("工资帐套"), sets_, grids));
    grids->addWidget(captioned(QStringLiteral("帐套明细"), items_, grids));

    split->addWidget(grids);
    split->setStretchFactor(1, 1);
    split->setSizes({170, 900});
}

}  // namespace rsgz::ui
