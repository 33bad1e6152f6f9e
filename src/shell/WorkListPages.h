#pragma once

namespace rsgz::app {
class TDM;
}
namespace rsgz::payroll {
struct WorkListKind;
}

namespace rsgz::shell {

class ModulePanel;

// The page of a work list (module 12 计时工资, module 13 计件工资) on its panel: the grid in the
// order a clerk reads a record, quantities and hours with two decimals, 增加 on the top bar, and
// the edit window opened on a new row from an empty grid by a double-click or Enter.
void installWorkListPage(app::TDM& dm, ModulePanel* panel, const payroll::WorkListKind& kind);
// Each time the module is chosen: the grid's columns and the right for 增加.
void openWorkListPage(app::TDM& dm, ModulePanel* panel, const payroll::WorkListKind& kind);

}  // namespace rsgz::shell
