#include "payroll/windows/Tgskcw.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "payroll/TaxRules.h"
#include "widgets/DataSetGrid.h"
#include "widgets/QtStrings.h"
#include "payroll/windows/TaxListPanel.h"
#include "widgets/WindowStyle.h"

namespace rsgz::payroll {

namespace {
QStringList texts(const std::vector<std::string>& v) { return widgets::toQStringList(v); }

QStringList allDetails()
{
    QStringList out;
    for (const std::string& c : tax::additionalDeductionCategories()) out << texts(tax::deductionDetails(c));
    return out;
}
}  // namespace

Tgskcw::Tgskcw(app::TDM& dm, const std::string& employee, QWidget* parent)
    : QDialog(parent), dm_(dm), employees_(&dm.DMADO, "个税扣除员工"), deductions_(dm, additionalDeductionList()),
      others_(dm, otherDeductionList())
{
    setObjectName(QStringLiteral("Tgskcw"));
    setWindowTitle(QStringLiteral("个税扣除信息"));
    employees_.setSql("select 员工编号, 姓名 from 员工基本情况 order by 员工编号");
    employees_.setReadOnly(true);
    app::runAction([this] { employees_.open(); });

    auto* names = new widgets::DataSetGrid(&employees_, false, this);
    names->setObjectName(QStringLiteral("employees"));
    names->horizontalHeader()->setStretchLastSection(true);
    names->setFixedWidth(200);
    connect(names, &QTableView::clicked, this, [this](const QModelIndex& i) { choose(i.row()); });

    auto* additional = new payroll::TaxListPanel(deductions_, this);
    additional->setChoices(QStringLiteral("扣除类别"), texts(tax::additionalDeductionCategories()));
    additional->setChoices(QStringLiteral("扣除方式"), allDetails());
    additionalGrid_ = additional->grid();
    auto* other = new payroll::TaxListPanel(others_, this);
    other->setChoices(QStringLiteral("扣除类别"), texts(tax::otherDeductionCategories()));
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("pages"));
    pages_->addTab(additional, QStringLiteral("专项附加扣除"));
    pages_->addTab(other, QStringLiteral("其他扣除"));

    who_ = new QLabel(this);
    who_->setObjectName(QStringLiteral("employee"));
    auto* right = new QVBoxLayout;
    right->addWidget(who_);
    right->addWidget(pages_, 1);
    auto* body = new QHBoxLayout;
    body->addWidget(names);
    body->addLayout(right, 1);
    auto* back = new QPushButton(QStringLiteral("返回"), this);
    back->setObjectName(QStringLiteral("返回"));
    back->setAutoDefault(false);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(back);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(bottom);
    resize(980, 520);
    widgets::centreOnScreen(this);

    int start = 0;
    if (!employee.empty() && employees_.active() && employees_.locate("员工编号", db::Value(employee), false))
        start = employees_.currentRow();
    choose(start);
}

void Tgskcw::choose(int row)
{
    if (!employees_.active() || row < 0 || row >= employees_.recordCount()) {
        who_->setText(QStringLiteral("没有员工"));
        return;
    }
    // A row being typed that cannot be stored keeps the window on its employee (the click on the
    // list has moved its cursor already).
    if (!deductions_.settle() || !others_.settle()) {
        if (shownRow_ >= 0) employees_.moveToRow(shownRow_);
        return;
    }
    employees_.moveToRow(row);
    shownRow_ = row;
    const std::string number = employees_.asString("员工编号");
    deductions_.setEmployee(number);
    others_.setEmployee(number);
    who_->setText(QString::fromStdString("员工：" + number + " " + employees_.asString("姓名")));
    additionalGrid_->setColumnWidth(1, 240);  // the ways of declaring are long texts
}

// The grids listen to the lists this window owns: they go first, while the lists are still there.
Tgskcw::~Tgskcw() { qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)); }

}  // namespace rsgz::payroll
