#pragma once

namespace rsgz::app {
class Navigation;
class TDM;
}

namespace rsgz::shell {

class ModulePanel;
class PayrollSetsPanel;

// Makes the payroll setup windows openable by caption: 帐套数据编辑, 工资项目设定,
// 工资项目及初始值设置, 所得税设置 and 生成新工资表.
void registerPayrollWindows();

// Plugs the openings of module 9 (the set panel) and module 10 (its set box "为下面列表人员选择工资帐套")
// into the navigation, and puts 生成工资表 (right 工资表管理) on the salary table page; the payroll
// modules keep whatever other opening was plugged in before.
struct PayrollPanels {
    PayrollSetsPanel* sets = nullptr;  // module 9
    ModulePanel* assignment = nullptr; // module 10
    ModulePanel* salaries = nullptr;   // module 11
    ModulePanel* timeWork = nullptr;   // module 12
    ModulePanel* pieceWork = nullptr;  // module 13
};
// The salary table page made on its panel, or null without that panel.
class SalaryPage;
SalaryPage* installPayrollPages(app::Navigation& nav, app::TDM& dm, const PayrollPanels& panels);

}  // namespace rsgz::shell
