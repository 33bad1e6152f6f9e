#pragma once

namespace rsgz::app {
class Navigation;
class TDM;
}  // namespace rsgz::app

namespace rsgz::payroll {
class SalaryView;
}

namespace rsgz::ui {

class ModulePanel;

// The salary table page (module 11): the set box 请选择工资帐套, 工资结帐 and 取消结帐 on the top bar,
// the grid over the salary view with item names as titles, its quick search, and the salary card
// 工资卡片编辑 on a double-click. Returns what the page does each time the module is chosen.
void installSalaryPage(app::Navigation& nav, app::TDM& dm, ModulePanel* panel);
void openSalaryPage();
// The page's salary view, for the windows that work on what the page shows; null before the page
// is installed.
const payroll::SalaryView* salaryPageView();
// The salary card 工资卡片编辑 over the page's view; it opens only while the view is open.
void registerSalaryCard();

}  // namespace rsgz::ui
