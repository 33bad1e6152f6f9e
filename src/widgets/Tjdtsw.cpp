#include "widgets/Tjdtsw.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/WindowStyle.h"

namespace rsgz::widgets {

Tjdtsw::Tjdtsw(const QString& text, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Tjdtsw"));
    setWindowTitle(QStringLiteral("软件提示"));
    label_ = makePromptLabel(text, this);
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addLayout(buttons);
    finishDialog(this);
}

QString Tjdtsw::text() const { return label_->text(); }

}  // namespace rsgz::widgets
