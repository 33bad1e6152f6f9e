#include "payroll/windows/Tyhdfw.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "widgets/ButtonRow.h"
#include "widgets/WindowStyle.h"

namespace rsgz::payroll {

Tyhdfw::Tyhdfw(app::TDM& dm, const SalaryView* view, QWidget* parent) : widgets::ActivatedDialog(parent), form_(dm, view)
{
    setObjectName(QStringLiteral("Tyhdfw"));
    setWindowTitle(QStringLiteral("银行代发工资文件制作"));
    set_ = new QLineEdit(this);
    set_->setObjectName(QStringLiteral("setField"));
    set_->setReadOnly(true);
    file_ = new QLineEdit(this);
    file_->setObjectName(QStringLiteral("fileField"));
    file_->setMinimumWidth(320);
    auto* choose = new QToolButton(this);
    choose->setObjectName(QStringLiteral("chooseFile"));
    choose->setText(QStringLiteral("…"));
    choose->setToolTip(QStringLiteral("选择其他路径"));
    connect(choose, &QToolButton::clicked, this, [this] {
        form_.fileName = file_->text().toStdString();
        app::runAction([this] { form_.chooseFile(); });
        file_->setText(QString::fromStdString(form_.fileName));
    });
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file_, 1);
    fileRow->addWidget(choose);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("工资帐套"), set_);
    fields->addRow(QStringLiteral("代发文件"), fileRow);

    QHBoxLayout* buttons = widgets::makeButtonRow(this, {
        {"生成文件", "生成文件", [this] {
             form_.fileName = file_->text().toStdString();
             setEnabled(false);
             app::runAction([this] { form_.generate(); });
             setEnabled(true);
         }},
        {"设置格式", "设置格式", [this] { form_.openLayout(); }},
        {"返回", "返回", [this] { reject(); }},
    });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    widgets::finishDialog(this);
}

void Tyhdfw::activateOnce()
{
    form_.activate();
    set_->setText(QString::fromStdString(form_.set));
    file_->setText(QString::fromStdString(form_.fileName));
}

}  // namespace rsgz::payroll
