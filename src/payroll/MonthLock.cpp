#include "payroll/MonthLock.h"

#include "app/WorkLocks.h"

namespace rsgz::payroll {

db::WorkLock lockMonth(app::TDM& dm, const Period& p)
{
    return app::lockPart(dm, "工资表/" + p.set + "/" + p.year + "/" + p.month,
                         "帐套“" + p.set + "”" + p.year + "年" + p.month + "月的工资表");
}

std::vector<db::WorkLock> lockMonths(app::TDM& dm, const std::vector<Period>& months)
{
    std::vector<db::WorkLock> locks;
    locks.reserve(months.size());
    for (const Period& p : months) locks.push_back(lockMonth(dm, p));
    return locks;
}

}  // namespace rsgz::payroll
