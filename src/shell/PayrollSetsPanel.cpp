#include "shell/PayrollSetsPanel.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "payroll/PayrollSetsPage.h"
#include "widgets/DataSetModel.h"
#include "widgets/GridLink.h"
#include "widgets/PanelParts.h"

namespace rsgz::shell {

PayrollSetsPanel::PayrollSetsPanel(app::Navigation& nav, app::TDM& dm, QWidget* parent)
    : QWidget(parent), page_(std::make_unique<payroll::PayrollSetsPage>(dm))
{
    const widgets::PanelSkeleton skeleton = widgets::makePanelSkeleton(this, 9, QStringLiteral("工资帐套管理"), nav);
    QSplitter* split = skeleton.split;
    tree_ = skeleton.tree.tree;

    auto* grids = new QSplitter(Qt::Vertical, split);
    grids->setChildrenCollapsible(false);
    sets_ = widgets::makeGrid(grids);
    sets_->setObjectName(QStringLiteral("setGrid"));
    auto* setModel = new widgets::DataSetModel(&dm.gz_zt, sets_);
    setModel->setVisibleFields({"序号", "帐套编号", "帐套名称"});
    widgets::setGridModel(sets_, setModel);
    widgets::linkGridToDataSet(sets_, setModel);
    items_ = widgets::makeGrid(grids);
    items_->setObjectName(QStringLiteral("itemGrid"));
    auto* itemModel = new widgets::DataSetModel(&dm.zt_mx, items_);
    itemModel->setVisibleFields({"工资代码", "工资项目", "是否所得税", "初始值", "计算公式"});
    widgets::setGridModel(items_, itemModel);
    widgets::linkGridToDataSet(items_, itemModel);

    addItem_ = button("增加项目", &payroll::PayrollSetsPage::addItem);
    deleteItem_ = button("删除项目", &payroll::PayrollSetsPage::deleteItem);
    grids->addWidget(captioned(QStringLiteral("工资帐套"), sets_,
                               {button("新建帐套", &payroll::PayrollSetsPage::newSet),
                                button("删除帐套", &payroll::PayrollSetsPage::deleteSet)}));
    grids->addWidget(captioned(QStringLiteral("帐套明细"), items_, {addItem_, deleteItem_}));

    connect(sets_, &QTableView::clicked, this, [this] { page_->setGridClicked(); });
    connect(sets_, &QTableView::doubleClicked, this, [] { app::interaction().openWindow(app::WindowId::PayrollSetData); });
    connect(items_, &QTableView::clicked, this, [this] { page_->itemGridClicked(); });
    connect(items_, &QTableView::doubleClicked, this, [] { app::interaction().openWindow(app::WindowId::SalaryItems); });

    split->addWidget(grids);
    split->setStretchFactor(1, 1);
    split->setSizes({170, 900});
}

PayrollSetsPanel::~PayrollSetsPanel() = default;

QPushButton* PayrollSetsPanel::button(const char* text, void (payroll::PayrollSetsPage::*action)())
{
    auto* b = new QPushButton(QString::fromUtf8(text), this);
    b->setObjectName(QString::fromUtf8(text));
    connect(b, &QPushButton::clicked, this, [this, action] { ((*page_).*action)(); });
    return b;
}

QWidget* PayrollSetsPanel::captioned(const QString& caption, QTableView* grid, const std::vector<QPushButton*>& buttons)
{
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    QFrame* bar = widgets::makeCaptionBar(caption, box);
    auto* row = qobject_cast<QHBoxLayout*>(bar->layout());
    for (QPushButton* b : buttons) {
        b->setParent(bar);
        b->setFixedHeight(22);
        if (row) row->addWidget(b);
    }
    column->addWidget(bar);
    grid->setParent(box);
    column->addWidget(grid, 1);
    return box;
}

void PayrollSetsPanel::opened()
{
    app::runAction([this] { page_->open(); });
    const bool manage = page_->mayManage();
    addItem_->setEnabled(manage);
    deleteItem_->setEnabled(manage);
}

}  // namespace rsgz::shell
