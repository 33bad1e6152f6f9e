#include "shell/ProgramWindows.h"

#include "app/TDM.h"
#include "shell/AdminWindows.h"
#include "shell/BankWindows.h"
#include "shell/CardWindows.h"
#include "shell/DictionaryWindows.h"
#include "shell/EmployeeWindows.h"
#include "shell/ExchangeWindows.h"
#include "shell/MaintenanceWindows.h"
#include "shell/PayrollWindows.h"
#include "shell/TaxWindows.h"
#include "shell/PersonnelModuleWindows.h"
#include "shell/PickerWindows.h"
#include "shell/QueryWindows.h"
#include "shell/ReportWindows.h"
#include "shell/TablePrintWindows.h"
#include "shell/Tgyrjw.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::shell {

void registerProgramWindows()
{
    // Made afresh: every identity is registered exactly once after this.
    widgets::clearRegisteredWindows();
    shell::registerAdminWindows();
    shell::registerDictionaryWindows();
    shell::registerPickerWindows();
    shell::registerEmployeeWindows();
    shell::registerPersonnelModuleWindows();
    registerPayrollWindows();
    registerTaxWindows();
    registerBankWindows();
    registerQueryWindows();
    registerReportWindows();
    registerTablePrintWindows();
    registerExchangeWindows();
    registerMaintenanceWindows();
    registerCardWindows();
    widgets::registerWindow(app::WindowId::About, [](QWidget* parent) {
        Tgyrjw w(app::DM().programDir(), parent);
        w.exec();
    });
}

}  // namespace rsgz::shell
