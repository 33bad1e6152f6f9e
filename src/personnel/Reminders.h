#pragma once
#include <QDate>
#include <string>
#include <vector>

#include "personnel/ReminderSettings.h"
#include "query/ListQuery.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::personnel {

// What the desktop reminds of. Only employees whose 在职状况 is 在职 count.
enum class ReminderKind {
    ContractDue,      // 合同到期 from today to today + the contract window
    ContractExpired,  // 合同到期 before today
    ProbationDue,     // 转正日期 from today to today + the probation window
    RetirementDue,    // 退休日期 from today to today + the retirement window (months)
    RetirementPast,   // 退休日期 before today, yet still in service
    Birthday,         // 出生年月 in today's month, any year
    RetirementUnset,  // 退休日期 empty though 出生年月 is known: the fill button has work to do
};

const std::vector<ReminderKind>& reminderKinds();

struct ReminderCount {
    ReminderKind kind;
    std::string caption;  // "合同30天内到期" …
    int count = 0;
};

// The counts of the desktop and the employee list narrowed to one of them. Both are made from the
// same conditions, so a count and the list it opens always agree.
class Reminders {
public:
    Reminders(app::TDM& dm, const ReminderSettings& settings, const QDate& today)
        : dm_(dm), settings_(settings), today_(today) {}

    std::string caption(ReminderKind kind) const;
    // The conditions on 员工基本情况 that pick the kind's employees.
    std::vector<query::Condition> conditions(ReminderKind kind) const;
    // The personnel list's query narrowed to the kind, in the order of the date it is about.
    query::ListQuery listQuery(ReminderKind kind) const;
    // One count per kind, one statement each. Database errors are thrown.
    std::vector<ReminderCount> counts() const;
    int count(ReminderKind kind) const;

private:
    app::TDM& dm_;
    ReminderSettings settings_;
    QDate today_;
};

}  // namespace rsgz::personnel
