#include "shell/TaxWindows.h"

#include "app/TDM.h"
#include "payroll/windows/Tgskcw.h"
#include "payroll/windows/Tgstzw.h"
#include "payroll/windows/Tjffaw.h"
#include "payroll/windows/Tjfjsw.h"
#include "payroll/windows/Tkjsbw.h"
#include "shell/ProgramWindows.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::shell {

namespace {
// The employee the employee record window shows, when one is shown.
std::string currentEmployee(app::TDM& dm)
{
    if (!dm.rszl.active() || dm.rszl.currentRow() < 0) return {};
    return dm.rszl.asString("员工编号");
}
}  // namespace

void registerTaxWindows()
{
    widgets::registerWindow(app::WindowId::TaxDeductions, [](QWidget* parent) {
        payroll::Tgskcw w(app::DM(), currentEmployee(app::DM()), parent);
        w.exec();
    });
    widgets::registerWindow(app::WindowId::TaxLedger, [](QWidget* parent) {
        payroll::Tgstzw w(app::DM(), currentEmployee(app::DM()), parent);
        w.exec();
    });
    registerModal<payroll::Tjffaw>(app::WindowId::ContributionSchemes);
    registerModal<payroll::Tjfjsw>(app::WindowId::ContributionBases);
    registerModal<payroll::Tkjsbw>(app::WindowId::WithholdingDeclaration);
}

}  // namespace rsgz::shell
