#include "widgets/WindowStyle.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QScreen>

namespace rsgz::widgets {

void centreOnScreen(QWidget* w)
{
    const QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
}

void finishListDialog(QDialog* d, int width, int height)
{
    d->setModal(true);
    d->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    d->resize(width, height);
    centreOnScreen(d);
}

void finishDialog(QDialog* d)
{
    d->setModal(true);
    d->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (d->layout()) d->layout()->setSizeConstraint(QLayout::SetFixedSize);
    d->adjustSize();
    centreOnScreen(d);
}

QLabel* makePromptLabel(const QString& text, QWidget* parent)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    auto* label = new QLabel(t, parent);
    label->setObjectName(QStringLiteral("promptText"));
    label->setTextFormat(Qt::PlainText);
    label->setStyleSheet(QStringLiteral("color: #c00000; font-size: 11pt;"));
    label->setMinimumWidth(280);
    label->setWordWrap(false);
    label->setMargin(12);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace rsgz::widgets
