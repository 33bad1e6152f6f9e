#pragma once
#include <QObject>
#include <optional>

#include "payroll/MonthTable.h"

#include "payroll/SalaryPageForm.h"

class QComboBox;
class QPushButton;

namespace rsgz::app {
class Navigation;
class TDM;
}  // namespace rsgz::app

namespace rsgz::shell {

class ModulePanel;

// The salary table page (module 11) on its panel: the set box 请选择工资帐套, 工资结帐 and 取消结帐 on
// the top bar, the grid over the salary view with item names as titles, its tree, sort bar and
// quick search, and the salary card 工资卡片编辑 on a double-click. Behaviour: SalaryPageForm. The
// page belongs to its panel and goes with it.
class SalaryPage : public QObject {
    Q_OBJECT
public:
    SalaryPage(app::Navigation& nav, app::TDM& dm, ModulePanel* panel);

    payroll::SalaryPageForm& form() { return form_; }
    // Each time the module is chosen.
    void opened();
    // After 生成新工资表: the month generated (or shown) there, its node chosen in the tree.
    void showMonth(const payroll::Period& p);
    // The salary card over the page's view; it opens only while the view is open.
    void openCard(QWidget* parent);
    // The month the generation window showed last; the page shows it when the window has closed.
    std::optional<payroll::Period> generated;

private:
    void shown();  // after every read of the view
    void layOutGrid();
    void showSets();
    void hookSearch(app::Navigation& nav);
    payroll::SalaryPageForm& attached();

    app::TDM& dm_;
    ModulePanel* panel_;
    payroll::SalaryPageForm form_;
    bool attached_ = false;
    QComboBox* sets_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* reopen_ = nullptr;
};

// Puts the salary page on its panel; the main window keeps it as the page the salary card and the
// bank windows work on.
SalaryPage* installSalaryPage(app::Navigation& nav, app::TDM& dm, ModulePanel* panel);
// The salary card 工资卡片编辑 over the view of the page of the main window it is opened from.
void registerSalaryCard();
// The page of the main window a window is opened from (see app::mainWindowOf), or null; the bank
// windows work on what it shows.
SalaryPage* salaryPageOf(QWidget* from);
const payroll::SalaryView* salaryPageView(QWidget* from);

}  // namespace rsgz::shell
