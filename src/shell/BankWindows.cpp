#include "shell/BankWindows.h"
#include "app/Module.h"

#include "app/Interaction.h"
#include "app/TDM.h"
#include "payroll/windows/Tyhdfw.h"
#include "payroll/windows/Tyinhangsetw.h"
#include "shell/SalaryPage.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::shell {

void registerBankWindows()
{
    widgets::registerWindow(app::WindowId::BankFile, [](QWidget* parent) {
        if (app::DM().CurrentModule != app::Module::SalaryTables) {
            app::interaction().showMessage("请先转到工资表管理窗口!");
            return;
        }
        payroll::Tyhdfw w(app::DM(), salaryPageView(parent), parent);
        w.exec();
    });
    widgets::registerWindow(app::WindowId::BankLayout, [](QWidget* parent) {
        payroll::Tyinhangsetw w(app::DM(), salaryPageView(parent), parent);
        if (w.load()) w.exec();
    });
}

}  // namespace rsgz::shell
