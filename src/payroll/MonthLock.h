#pragma once
#include <vector>

#include "db/WorkLock.h"
#include "payroll/MonthTable.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::payroll {

// Generating, synchronising, deleting, closing and reopening a month's salary table are done by
// one clerk at a time: the month's work lock for the logged-in operator. Another clerk's hold is
// the notice naming them and a quiet end of the operation.
db::WorkLock lockMonth(app::TDM& dm, const Period& p);
// Every month of a change that spans several (closing a set's whole view), in the order given.
std::vector<db::WorkLock> lockMonths(app::TDM& dm, const std::vector<Period>& months);

}  // namespace rsgz::payroll
