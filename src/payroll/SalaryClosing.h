#pragma once

namespace rsgz::app {
class TDM;
}

namespace rsgz::payroll {

// 工资结帐 and 取消结帐 change every row a salary view shows: they need the right of the salary
// table (工资表管理) and the right of closing (结帐处理).
bool mayClose(const app::TDM& dm);
// The notice and a silent abort when either right is missing; nothing is asked before it.
void requireClosingRights(app::TDM& dm);

}  // namespace rsgz::payroll
