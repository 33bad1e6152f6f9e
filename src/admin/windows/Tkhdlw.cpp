#include "admin/windows/Tkhdlw.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/MainFrame.h"
#include "app/Product.h"
#include "app/TDM.h"
#include "widgets/WindowStyle.h"

namespace rsgz::admin {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

Tkhdlw::Tkhdlw(app::MainFrame& frame, QWidget* parent) : QDialog(parent), form_(frame)
{
    setObjectName(QStringLiteral("Tkhdlw"));
    setWindowTitle(q(app::kProductTitle) + QStringLiteral("登录窗口"));

    auto* title = new QLabel(q(app::kProductTitle), this);
    title->setObjectName(QStringLiteral("titleLabel"));
    title->setAlignment(Qt::AlignCenter);
    title->setStyleSheet(QStringLiteral("font-size: 18pt; font-weight: bold; color: #1f4e79; padding: 14px;"
                                        "background: #e8f0f8; border-bottom: 1px solid #b8cce4;"));

    nameBox_ = new QComboBox(this);
    nameBox_->setObjectName(QStringLiteral("nameBox"));
    nameBox_->setEditable(true);
    nameBox_->setInsertPolicy(QComboBox::NoInsert);
    nameBox_->setMinimumWidth(220);
    passwordBox_ = new QLineEdit(this);
    passwordBox_->setObjectName(QStringLiteral("passwordBox"));
    passwordBox_->setEchoMode(QLineEdit::Password);
    passwordBox_->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));  // shown as "*"

    auto* fields = new QFormLayout;
    fields->setContentsMargins(40, 18, 40, 8);
    fields->setVerticalSpacing(12);
    fields->addRow(QStringLiteral("用户名称"), nameBox_);
    fields->addRow(QStringLiteral("登录密码"), passwordBox_);

    loginButton_ = new QPushButton(QStringLiteral("登录"), this);
    loginButton_->setObjectName(QStringLiteral("loginButton"));
    quitButton_ = new QPushButton(QStringLiteral("退出"), this);
    quitButton_->setObjectName(QStringLiteral("quitButton"));
    for (QPushButton* b : {loginButton_, quitButton_}) {
        b->setAutoDefault(false);  // Enter belongs to the boxes, not to a default button
        b->setMinimumWidth(90);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(loginButton_);
    buttons->addSpacing(16);
    buttons->addWidget(quitButton_);
    buttons->addStretch();

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    status->addWidget(new QLabel(QStringLiteral("提示"), status));
    auto* hint = new QLabel(q(form_.hint()), status);
    hint->setObjectName(QStringLiteral("hintLabel"));
    status->addWidget(hint, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addSpacing(10);
    layout->addWidget(status);

    // Only what the user does to the name counts; the window's own updates of the box do not.
    connect(nameBox_, &QComboBox::textActivated, this, &Tkhdlw::nameEdited);
    connect(nameBox_->lineEdit(), &QLineEdit::textEdited, this, &Tkhdlw::nameEdited);
    connect(nameBox_->lineEdit(), &QLineEdit::returnPressed, this, [this] { run(&LoginForm::Save_yonghuList); });
    connect(passwordBox_, &QLineEdit::returnPressed, this, [this] { run(&LoginForm::passwordEnter); });
    connect(loginButton_, &QPushButton::clicked, this, [this] { run(&LoginForm::login); });
    connect(quitButton_, &QPushButton::clicked, this, [this] { run(&LoginForm::quit); });

    passwordBox_->setText(q(form_.password));
    showForm();
    widgets::finishDialog(this);
}

void Tkhdlw::readBoxes()
{
    form_.name = nameBox_->currentText().toStdString();
    form_.password = passwordBox_->text().toStdString();
}

void Tkhdlw::showForm()
{
    QStringList items;
    for (const std::string& s : form_.items) items << q(s);
    nameBox_->blockSignals(true);
    nameBox_->clear();
    nameBox_->addItems(items);
    nameBox_->setEditText(q(form_.name));
    nameBox_->blockSignals(false);
    switch (form_.focus) {
    case LoginForm::Focus::Name: nameBox_->setFocus(); break;
    case LoginForm::Focus::Password: passwordBox_->setFocus(); break;
    case LoginForm::Focus::LoginButton: loginButton_->setFocus(); break;
    }
}

void Tkhdlw::run(void (LoginForm::*step)())
{
    readBoxes();
    (form_.*step)();
    showForm();
    if (form_.closed) done(form_.result ? QDialog::Accepted : QDialog::Rejected);
}

void Tkhdlw::nameEdited(const QString& text)
{
    form_.nameChanged(text.toStdString());
    passwordBox_->setText(q(form_.password));
}

void Tkhdlw::reject()
{
    // Escape and the close box end the program like 退出.
    if (!form_.closed) form_.quit();
    QDialog::reject();
}

void Tkhdlw::closeEvent(QCloseEvent* e)
{
    if (!form_.closed) form_.quit();
    e->accept();
    QDialog::closeEvent(e);
}

}  // namespace rsgz::admin
