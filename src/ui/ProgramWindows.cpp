#include "ui/ProgramWindows.h"

#include "app/TDM.h"
#include "ui/AdminWindows.h"
#include "ui/BankWindows.h"
#include "ui/CardWindows.h"
#include "ui/DictionaryWindows.h"
#include "ui/EmployeeWindows.h"
#include "ui/ExchangeWindows.h"
#include "ui/MaintenanceWindows.h"
#include "ui/PayrollWindows.h"
#include "ui/PersonnelModuleWindows.h"
#include "ui/PickerWindows.h"
#include "ui/QueryWindows.h"
#include "ui/ReportWindows.h"
#include "ui/TablePrintWindows.h"
#include "ui/Tgyrjw.h"
#include "ui/WindowRegistry.h"

namespace rsgz::ui {

void registerProgramWindows()
{
    admin::registerAdminWindows();
    personnel::registerDictionaryWindows();
    personnel::registerPickerWindows();
    personnel::registerEmployeeWindows();
    personnel::registerPersonnelModuleWindows();
    registerPayrollWindows();
    registerBankWindows();
    registerQueryWindows();
    registerReportWindows();
    registerTablePrintWindows();
    registerExchangeWindows();
    registerMaintenanceWindows();
    registerCardWindows();
    registerWindow("关于软件", [](QWidget* parent) {
        Tgyrjw w(app::DM().programDir(), parent);
        w.exec();
    });
}

}  // namespace rsgz::ui
