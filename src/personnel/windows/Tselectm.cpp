#include "personnel/windows/Tselectm.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "widgets/ButtonRow.h"
#include "widgets/DataSetGrid.h"
#include "widgets/DataSetNavigator.h"
#include "widgets/QtStrings.h"
#include "widgets/QueryTreeWidget.h"
#include "widgets/WindowStyle.h"

namespace rsgz::personnel {

namespace {

QStringList toQt(const std::vector<std::string>& names) { return widgets::toQStringList(names); }

}  // namespace

Tselectm::Tselectm(app::TDM& dm, const std::string& caption, QWidget* parent)
    : QDialog(parent), picker_(dm, caption)
{
    setObjectName(QStringLiteral("Tselectm"));
    setWindowTitle(QString::fromStdString(caption));
    app::runAction([this] { picker_.open(); });

    auto* layout = new QVBoxLayout(this);
    buildTop(layout, dm);

    auto* split = new QSplitter(Qt::Horizontal, this);
    tree_ = new QTreeWidget(split);
    tree_->setObjectName(QStringLiteral("tree"));
    tree_->setHeaderHidden(true);
    connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        app::runAction([this, item] { picker_.clickNode(widgets::nodeOf(item)); });
    });
    refillTree();

    auto* middle = new QWidget(split);
    auto* middleLayout = new QVBoxLayout(middle);
    middleLayout->setContentsMargins(0, 0, 0, 0);
    candidates_ = new widgets::DataSetGrid(&dm.s4, false, middle);
    candidates_->setObjectName(QStringLiteral("candidates"));
    candidates_->dataModel()->setVisibleFields(
        {"姓名", "员工编号", "工资帐套名称", "一级部门", "二级部门", "三级部门", "四级部门"});
    // The employee's payroll set is stored in 工资帐套名称; the grid titles it as the office knows it.
    candidates_->dataModel()->setTitle(QStringLiteral("工资帐套名称"), QStringLiteral("帐套名称"));
    connect(candidates_, &QAbstractItemView::doubleClicked, this,
            [this] { app::runAction([this] { picker_.chooseCurrent(); }); });
    middleLayout->addWidget(candidates_, 1);
    buildChosen(middleLayout, dm);
    split->addWidget(tree_);
    split->addWidget(middle);
    split->setStretchFactor(1, 1);
    split->setSizes({170, 620});
    layout->addWidget(split, 1);

    widgets::finishListDialog(this, 820, 560);
}

void Tselectm::buildTop(QBoxLayout* layout, app::TDM& dm)
{
    QHBoxLayout* row = widgets::makeDataSetNavigator(this, dm.s4);
    field_ = new QComboBox(this);
    field_->setObjectName(QStringLiteral("searchField"));
    field_->addItems(toQt(picker_.searchFields()));
    field_->setCurrentText(QString::fromUtf8(EmployeePicker::kDefaultSearchField));
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("searchText"));
    auto* find = new QToolButton(this);
    find->setObjectName(QStringLiteral("searchButton"));
    find->setText(QStringLiteral("查询"));
    find->setToolTip(QStringLiteral("查询数据"));
    const auto field = [this] { return field_->currentText().toStdString(); };
    const auto text = [this] { return text_->text().toStdString(); };
    connect(find, &QToolButton::clicked, this,
            [this, field, text] { app::runAction([&] { picker_.search(field(), text()); }); });
    connect(text_, &QLineEdit::returnPressed, this,
            [this, field, text] { app::runAction([&] { picker_.searchOnEnter(field(), text()); }); });
    row->addWidget(field_);
    row->addWidget(text_, 1);
    row->addWidget(find);
    QHBoxLayout* buttons = widgets::makeButtonRow(this, {
        {"cancelButton", "取消", [this] { reject(); }},
        {"returnButton", "返回", [this] {
             picker_.finish();
             accept();
         }},
    });
    row->addLayout(buttons);
    layout->addLayout(row);
}

void Tselectm::buildChosen(QBoxLayout* layout, app::TDM& dm)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("选择人员列表"), this));
    row->addStretch(1);
    row->addLayout(widgets::makeButtonRow(this, {
        {"removeButton", "删除", [this] { app::runAction([this] { picker_.removeChosen(); }); }},
    }));
    layout->addLayout(row);
    auto* chosen = new widgets::DataSetGrid(&dm.select_renyuan, false, this);
    chosen->setObjectName(QStringLiteral("chosen"));
    chosen->dataModel()->setVisibleFields({"员工编号", "姓名"});
    chosen->setMaximumHeight(160);
    layout->addWidget(chosen);
}

void Tselectm::refillTree() { widgets::fillQueryTree(tree_, picker_.tree(), false); }

void Tselectm::reject()
{
    picker_.cancel();
    QDialog::reject();
}

}  // namespace rsgz::personnel
