#include "payroll/windows/Tgzztw.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/WindowStyle.h"

namespace rsgz::payroll {

Tgzztw::Tgzztw(app::TDM& dm, QWidget* parent) : QDialog(parent), form_(dm)
{
    setObjectName(QStringLiteral("Tgzztw"));
    setWindowTitle(QStringLiteral("帐套数据编辑"));
    auto* fields = new QFormLayout;
    QLineEdit* number = addField("帐套编号", fields);
    QLineEdit* name = addField("帐套名称", fields);
    auto* note = new QLabel(QStringLiteral("提示：帐套编号不能重复"), this);
    note->setStyleSheet(QStringLiteral("color: #0000c0;"));

    ok_ = new QPushButton(QStringLiteral("确定"), this);
    ok_->setObjectName(QStringLiteral("okButton"));
    ok_->setEnabled(form_.mayConfirm());
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, [this] {
        if (form_.confirm()) accept();
    });
    connect(cancel, &QPushButton::clicked, this, &Tgzztw::reject);
    // Enter goes from the number to the name, and from the name to 确定.
    connect(number, &QLineEdit::returnPressed, name, [name] { name->setFocus(); });
    connect(name, &QLineEdit::returnPressed, ok_, [this] { ok_->setFocus(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(note);
    layout->addLayout(buttons);
    widgets::finishDialog(this);
}

QLineEdit* Tgzztw::addField(const char* name, QFormLayout* form)
{
    auto* edit = new QLineEdit(QString::fromStdString(form_.field(name)), this);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setMinimumWidth(220);
    const std::string field = name;
    connect(edit, &QLineEdit::textEdited, this, [this, field](const QString& t) { form_.setField(field, t.toStdString()); });
    form->addRow(QString::fromUtf8(name), edit);
    return edit;
}

void Tgzztw::reject()
{
    form_.cancel();
    QDialog::reject();
}

}  // namespace rsgz::payroll
