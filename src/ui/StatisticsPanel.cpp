#include "ui/StatisticsPanel.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/ChartView.h"
#include "ui/DataSetModel.h"
#include "ui/PanelParts.h"

namespace rsgz::ui {

StatisticsPanel::StatisticsPanel(app::Navigation& nav, db::DataSet* result, QWidget* parent) : QWidget(parent)
{
    const PanelSkeleton skeleton = makePanelSkeleton(this, 6, QStringLiteral("人员信息统计"), nav);
    QSplitter* split = skeleton.split;
    tree_ = skeleton.tree.tree;

    auto* right = new QWidget(split);
    auto* column = new QVBoxLayout(right);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* bar = new QFrame(right);
    bar->setObjectName(QStringLiteral("sortBar"));
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(10, 4, 10, 4);
    row->addWidget(new QLabel(QStringLiteral("选择统计项目"), bar));
    items_ = new QComboBox(bar);
    items_->setObjectName(QStringLiteral("statisticsItem"));
    items_->setMinimumWidth(160);
    row->addWidget(items_);
    row->addStretch();
    column->addWidget(bar);

    tabs_ = new QTabWidget(right);
    tabs_->setObjectName(QStringLiteral("statisticsTabs"));
    tabs_->setDocumentMode(true);
    grid_ = makeGrid(tabs_);
    setGridModel(grid_, new DataSetModel(result, grid_));
    tabs_->addTab(grid_, QStringLiteral("表格显示"));
    tabs_->addTab(new ChartView(result, ChartView::Kind::Pie, tabs_), QStringLiteral("饼状图"));
    tabs_->addTab(new ChartView(result, ChartView::Kind::Column, tabs_), QStringLiteral("柱状图"));
    tabs_->addTab(new ChartView(result, ChartView::Kind::Bar, tabs_), QStringLiteral("条状图"));
    column->addWidget(tabs_, 1);

    split->addWidget(right);
    split->setStretchFactor(1, 1);
    split->setSizes({170, 900});
}

}  // namespace rsgz::ui
