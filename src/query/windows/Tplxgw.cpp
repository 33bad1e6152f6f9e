#include "query/windows/Tplxgw.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/TDM.h"
#include "query/QueryPages.h"
#include "widgets/WindowStyle.h"

namespace rsgz::query {

Tplxgw::Tplxgw(app::TDM& dm, query::QueryPages& pages, const std::vector<std::string>& columns, QWidget* parent)
    : QDialog(parent), change_(dm, pages.queries())
{
    setObjectName(QStringLiteral("Tplxgw"));
    setWindowTitle(QStringLiteral("批量修改员工资料"));
    current_ = new QRadioButton(QStringLiteral("使用当前查询结果"), this);
    current_->setObjectName(QStringLiteral("useCurrent"));
    current_->setChecked(true);
    auto* whole = new QRadioButton(QStringLiteral("不使用当前查询结果"), this);
    whole->setObjectName(QStringLiteral("useWhole"));
    auto* modes = new QHBoxLayout;
    modes->addWidget(current_);
    modes->addWidget(whole);
    modes->addStretch();

    field_ = new QComboBox(this);
    field_->setObjectName(QStringLiteral("fieldBox"));
    field_->setMaxVisibleItems(20);
    for (const std::string& c : columns) field_->addItem(QString::fromStdString(c));
    field_->setCurrentIndex(-1);
    old_ = new QLineEdit(this);
    old_->setObjectName(QStringLiteral("oldValue"));
    ignore_ = new QCheckBox(QStringLiteral("忽略"), this);
    ignore_->setObjectName(QStringLiteral("ignoreOld"));
    new_ = new QLineEdit(this);
    new_->setObjectName(QStringLiteral("newValue"));
    auto* oldRow = new QHBoxLayout;
    oldRow->addWidget(old_, 1);
    oldRow->addWidget(ignore_);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("更改字段："), field_);
    form->addRow(QStringLiteral("原 内 容："), oldRow);
    form->addRow(QStringLiteral("新 内 容："), new_);

    auto* warning = new QLabel(QStringLiteral("<span style='color:blue'>注意：</span>"
                                              "<span style='color:red'>数据修改后，不可恢复！</span>"), this);
    auto* run = new QPushButton(QStringLiteral("更改"), this);
    run->setObjectName(QStringLiteral("changeButton"));
    auto* back = new QPushButton(QStringLiteral("返回"), this);
    back->setObjectName(QStringLiteral("returnButton"));
    for (QPushButton* b : {run, back}) b->setAutoDefault(false);
    connect(run, &QPushButton::clicked, this, &Tplxgw::change);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(warning);
    buttons->addStretch();
    buttons->addWidget(run);
    buttons->addWidget(back);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(modes);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(440);
    widgets::finishDialog(this);
}

void Tplxgw::change()
{
    query::BatchChange::Request r;
    r.useCurrentQuery = current_->isChecked();
    r.field = field_->currentText().toStdString();
    r.oldValue = old_->text().toStdString();
    r.ignoreOld = ignore_->isChecked();
    r.newValue = new_->text().toStdString();
    change_.run(r);
}

}  // namespace rsgz::query
