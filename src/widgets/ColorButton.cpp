#include "widgets/ColorButton.h"

#include <QColorDialog>

namespace rsgz::widgets {

ColorButton::ColorButton(const QString& objectName, QWidget* parent) : QPushButton(parent)
{
    setObjectName(objectName);
    setAutoDefault(false);
    setFixedWidth(56);
    setToolTip(QStringLiteral("选择颜色"));
    connect(this, &QPushButton::clicked, this, &ColorButton::openDialog);
    setColor(color_);
}

void ColorButton::setColor(const std::string& color)
{
    const QColor c(QString::fromStdString(color));
    // A colour the file holds in a form the dialog cannot read is kept as it is, shown as black.
    color_ = color;
    setStyleSheet(QStringLiteral("background-color: %1;").arg(c.isValid() ? c.name() : QStringLiteral("#000000")));
}

void ColorButton::pick(const std::string& color)
{
    setColor(color);
    emit colorChosen(color_);
}

void ColorButton::openDialog()
{
    const QColor now(QString::fromStdString(color_));
    const QColor c = QColorDialog::getColor(now.isValid() ? now : Qt::black, this, QStringLiteral("颜色"));
    if (c.isValid()) pick(c.name().toUpper().toStdString());
}

}  // namespace rsgz::widgets
