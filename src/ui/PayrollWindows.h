#pragma once

namespace rsgz::app {
class Navigation;
class TDM;
}

namespace rsgz::ui {

class ModulePanel;
class PayrollSetsPanel;

// Makes the payroll setup windows openable by caption: 帐套数据编辑, 工资项目设定,
// 工资项目及初始值设置, 所得税设置 and 生成新工资表.
void registerPayrollWindows();

// Plugs the openings of module 9 (the set panel) and module 10 (its set box "为下面列表人员选择工资帐套")
// into the navigation; other payroll modules keep whatever opening was plugged in before.
void installPayrollPages(app::Navigation& nav, app::TDM& dm, PayrollSetsPanel* sets, ModulePanel* assignment);

}  // namespace rsgz::ui
