#pragma once
#include <QDate>
#include <string>
#include <vector>

#include "personnel/ReminderSettings.h"
#include "personnel/Reminders.h"

namespace rsgz::app {
class Navigation;
class TDM;
}  // namespace rsgz::app
namespace rsgz::query {
class QueryPages;
}

namespace rsgz::personnel {

// The reminders on the desktop: what the view shows and what its buttons do. Each action runs like
// a button (errors reach the error box).
class ReminderDesk {
public:
    ReminderDesk(app::TDM& dm, app::Navigation& nav, query::QueryPages& pages) : dm_(dm), nav_(nav), pages_(pages) {}

    // Reads the settings and counts afresh with today's date (the data module's clock). Empty while
    // no database is open. A damaged settings file is told once and its defaults are used.
    void refresh();
    const std::vector<ReminderCount>& counts() const { return counts_; }
    const ReminderSettings& settings() const { return settings_; }
    QDate today() const { return today_; }
    std::string caption(ReminderKind kind) const { return Reminders(dm_, settings_, today_).caption(kind); }

    // The personnel list, narrowed to the kind's employees, in the personnel page.
    void openList(ReminderKind kind);
    // Stores new windows (each held to its bounds) and counts with them.
    void saveSettings(const ReminderSettings& s);
    // Fills 退休日期 of the personnel list's employees (the whole table while the list is not open),
    // then counts again.
    void fillRetirementDates();

private:
    app::TDM& dm_;
    app::Navigation& nav_;
    query::QueryPages& pages_;
    ReminderSettings settings_;
    QDate today_;
    std::vector<ReminderCount> counts_;
    bool damageTold_ = false;
};

}  // namespace rsgz::personnel
