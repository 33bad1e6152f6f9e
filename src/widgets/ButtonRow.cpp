#include "widgets/ButtonRow.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace rsgz::widgets {

QPushButton* makeButton(const char* caption, QWidget* parent, const std::function<void()>& action, const char* objectName)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(objectName ? objectName : caption));
    b->setAutoDefault(false);
    QObject::connect(b, &QPushButton::clicked, parent, action);
    return b;
}

QHBoxLayout* makeButtonRow(QWidget* parent, const std::vector<ButtonSpec>& buttons)
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    for (const ButtonSpec& setup : buttons) row->addWidget(makeButton(setup.caption, parent, setup.action, setup.objectName));
    row->addStretch();
    return row;
}

}  // namespace rsgz::widgets
