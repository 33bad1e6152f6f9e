#include "admin/windows/Ttestmima.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/TDM.h"
#include "widgets/WindowStyle.h"

namespace rsgz::admin {

Ttestmima::Ttestmima(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Ttestmima"));
    setWindowTitle(QStringLiteral("初始化将删除所有数据"));
    auto* label = new QLabel(QStringLiteral("请重新输入确认密码"), this);
    box_ = new QLineEdit(this);
    box_->setObjectName(QStringLiteral("passwordBox"));
    box_->setEchoMode(QLineEdit::Password);
    box_->setMinimumWidth(220);
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(ok, &QPushButton::clicked, this, [this] {
        password_ = box_->text().toStdString();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        password_.clear();
        reject();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(box_);
    layout->addLayout(buttons);
    widgets::finishDialog(this);
}

void openPasswordConfirmation(app::TDM& dm, QWidget* parent)
{
    dm.ConfirmPassword.clear();
    Ttestmima w(parent);
    w.exec();
    dm.ConfirmPassword = w.password();
}

}  // namespace rsgz::admin
