#include "widgets/EnterOnButtons.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

namespace rsgz::widgets {

namespace {

class EnterPressesButtons : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || key->isAutoRepeat()) return false;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || !(qobject_cast<QPushButton*>(button) || qobject_cast<QToolButton*>(button))) return false;
        if (!button->hasFocus() || !button->isEnabled() || !button->isVisible()) return false;
        button->click();
        return true;
    }
};

}  // namespace

QObject* installEnterPressesButtons(QCoreApplication& app)
{
    auto* filter = new EnterPressesButtons(&app);
    app.installEventFilter(filter);
    return filter;
}

}  // namespace rsgz::widgets
