#include "widgets/Ttishiw2.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/WindowStyle.h"

namespace rsgz::widgets {

Ttishiw2::Ttishiw2(const QString& text, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Ttishiw2"));
    setWindowTitle(QStringLiteral("提示窗口"));
    label_ = makePromptLabel(text, this);
    auto* yes = new QPushButton(QStringLiteral("是"), this);
    yes->setObjectName(QStringLiteral("yesButton"));
    auto* no = new QPushButton(QStringLiteral("否"), this);
    no->setObjectName(QStringLiteral("noButton"));
    no->setDefault(true);  // a stray Enter must not delete anything
    connect(yes, &QPushButton::clicked, this, [this] { yes_ = true; accept(); });
    connect(no, &QPushButton::clicked, this, [this] { yes_ = false; reject(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addLayout(buttons);
    finishDialog(this);
}

}  // namespace rsgz::widgets
