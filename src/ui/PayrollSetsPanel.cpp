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
    setObjectName(QStringLiteral("modulePanel9"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makePanelHeader(QStringLiteral("工资帐套管理"), this));

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setChildrenCollapsible(false);
    const TreeSide treeSide = makeTreeSide(split, [nav = &nav](const QString& entry) { nav->treeMenu(9, entry.toStdString()); });
    tree_ = treeSide.tree;

    auto* grids = new QSplitter(Qt::Vertical, split);
    grids->setChildrenCollapsible(false);
    sets_ = makeGrid(grids);
    setGridModel(sets_, new DataSetModel(sets, sets_));
    items_ = makeGrid(grids);
    setGridModel(items_, new DataSetModel(items, items_));
    grids->addWidget(captioned(QStringLiteral("工资帐套"), sets_, grids));
    grids->addWidget(captioned(QStringLiteral("帐套明细"), items_, grids));

    split->addWidget(treeSide.widget);
    split->addWidget(grids);
    split->setStretchFactor(1, 1);
    split->setSizes({170, 900});
    layout->addWidget(split, 1);
}

}  // namespace rsgz::ui
