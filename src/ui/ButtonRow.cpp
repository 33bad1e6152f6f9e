#include "ui/ButtonRow.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace rsgz::ui {

QHBoxLayout* makeButtonRow(QWidget* parent, const std::vector<ButtonSpec>& buttons)
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    for (const ButtonSpec& setup : buttons) {
        auto* b = new QPushButton(QString::fromUtf8(setup.caption), parent);
        b->setObjectName(QString::fromUtf8(setup.objectName));
        b->setAutoDefault(false);
        QObject::connect(b, &QPushButton::clicked, parent, setup.action);
        row->addWidget(b);
    }
    row->addStretch();
    return row;
}

}  // namespace rsgz::ui
