#include "shell/StatisticsPanel.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "query/TreeQueries.h"
#include "widgets/ChartView.h"
#include "widgets/DataSetModel.h"
#include "widgets/PanelParts.h"
#include "widgets/QueryTreeWidget.h"

namespace rsgz::shell {

StatisticsPanel::StatisticsPanel(app::Navigation& nav, app::TDM& dm, query::TreeQueries& trees, QWidget* parent)
    : QWidget(parent), nav_(nav), statistics_(dm, trees)
{
    const widgets::PanelSkeleton skeleton = widgets::makePanelSkeleton(this, 6, QStringLiteral("人员信息统计"), nav);
    QSplitter* split = skeleton.split;
    tree_ = skeleton.tree.tree;
    connect(tree_, &QTreeWidget::itemClicked, this, [this] { count(); });

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
    items_->setEditable(true);
    items_->setMinimumWidth(160);
    connect(items_, &QComboBox::editTextChanged, this, [this] { count(); });
    row->addWidget(items_);
    row->addStretch();
    save_ = new QPushButton(QStringLiteral("保存图片"), bar);
    save_->setObjectName(QStringLiteral("saveChart"));
    save_->setEnabled(false);
    connect(save_, &QPushButton::clicked, this, &StatisticsPanel::saveChart);
    row->addWidget(save_);
    column->addWidget(bar);

    tabs_ = new QTabWidget(right);
    tabs_->setObjectName(QStringLiteral("statisticsTabs"));
    tabs_->setDocumentMode(true);
    grid_ = widgets::makeGrid(tabs_);
    model_ = new widgets::DataSetModel(&dm.rytongji, grid_);
    model_->setVisibleFields({QStringLiteral("统计类别"), QStringLiteral("人数")});
    widgets::setGridModel(grid_, model_);
    grid_->horizontalHeader()->resizeSection(0, 200);
    tabs_->addTab(grid_, QStringLiteral("表格显示"));
    tabs_->addTab(new widgets::ChartView(&dm.rytongji, widgets::ChartView::Kind::Pie, tabs_), QStringLiteral("饼状图"));
    tabs_->addTab(new widgets::ChartView(&dm.rytongji, widgets::ChartView::Kind::Column, tabs_), QStringLiteral("柱状图"));
    tabs_->addTab(new widgets::ChartView(&dm.rytongji, widgets::ChartView::Kind::Bar, tabs_), QStringLiteral("条状图"));
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int tab) { save_->setEnabled(chart(tab) != nullptr); });
    column->addWidget(tabs_, 1);

    split->addWidget(right);
    split->setStretchFactor(1, 1);
    split->setSizes({170, 900});
    nav_.hooks.enterStatistics = [this] { showItems(); };
}

StatisticsPanel::~StatisticsPanel() { nav_.hooks.enterStatistics = nullptr; }

widgets::ChartView* StatisticsPanel::chart(int tab) const { return qobject_cast<widgets::ChartView*>(tabs_->widget(tab)); }

void StatisticsPanel::showItems()
{
    const QSignalBlocker block(items_);
    items_->clear();
    for (const std::string& item : statistics_.items()) items_->addItem(QString::fromStdString(item));
    items_->setCurrentIndex(items_->count() > 0 ? 0 : -1);
    if (items_->count() == 0) items_->setEditText(QString());
}

void StatisticsPanel::count()
{
    const std::string item = items_->currentText().trimmed().toStdString();
    if (item.empty()) return;
    const QTreeWidgetItem* current = tree_->currentItem();
    const int node = current ? widgets::nodeOf(current) : -1;
    bool counted = false;
    app::runAction([&] { counted = statistics_.run(item, node); });
    if (counted) {
        model_->setTitle(QStringLiteral("统计类别"), QString::fromStdString(item));
        grid_->horizontalHeader()->resizeSection(0, 200);
    }
}

void StatisticsPanel::saveChart()
{
    widgets::ChartView* view = chart(tabs_->currentIndex());
    if (!view) return;
    std::string path = app::interaction().saveFileName("保存统计图", "PNG 图片 (*.png)");
    if (path.empty()) return;
    if (!QString::fromStdString(path).endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) path += ".png";
    if (!view->savePng(QString::fromStdString(path))) app::interaction().showMessage("图片保存失败，请检查文件位置是否可写！");
}

}  // namespace rsgz::shell
