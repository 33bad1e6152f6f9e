#pragma once
#include <QFrame>
#include <map>

#include "personnel/Reminders.h"

class QLabel;
class QPushButton;
class QSpinBox;

namespace rsgz::personnel {
class ReminderDesk;
}

namespace rsgz::shell {

// The reminders of due dates, shown over the desktop picture: one count per kind (a click opens
// the personnel list narrowed to those employees), the windows they look ahead by, and the
// retirement-date buttons. Shows what the desk holds; the desk does the work.
class RemindersView : public QFrame {
    Q_OBJECT
public:
    RemindersView(personnel::ReminderDesk& desk, QWidget* parent = nullptr);

    // Counts afresh and shows them.
    void refresh();
    QPushButton* countButton(personnel::ReminderKind kind) const;
    static QString objectNameOf(personnel::ReminderKind kind);

private:
    void showCounts();
    void saveSettings();

    personnel::ReminderDesk& desk_;
    QLabel* today_ = nullptr;
    std::map<personnel::ReminderKind, std::pair<QLabel*, QPushButton*>> rows_;
    QSpinBox* contract_ = nullptr;
    QSpinBox* probation_ = nullptr;
    QSpinBox* retirement_ = nullptr;
};

}  // namespace rsgz::shell
