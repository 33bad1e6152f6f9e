#include "payroll/SalaryClosing.h"

#include "app/OperatorRights.h"

namespace rsgz::payroll {

namespace {
const char* const kRights[] = {"工资表管理", "结帐处理"};
}  // namespace

bool mayClose(const app::TDM& dm)
{
    for (const char* right : kRights)
        if (!app::hasRight(dm, right)) return false;
    return true;
}

void requireClosingRights(app::TDM& dm)
{
    for (const char* right : kRights) app::requireRight(dm, right);
}

}  // namespace rsgz::payroll
