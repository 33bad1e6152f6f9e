#include "shell/CardWindows.h"
#include "app/Module.h"

#include "app/TDM.h"
#include "print/CardPrinting.h"
#include "print/windows/Tdyddw.h"
#include "print/windows/Trszlbbw.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::shell {

void registerCardWindows()
{
    widgets::registerWindow(app::WindowId::EmployeeCard, [](QWidget* parent) {
        app::TDM& dm = app::DM();
        // The card is the current employee's: only the employee list has one.
        if (dm.CurrentModule != app::Module::Personnel) return dm.ShowMessage_jd("请先转到员工档案窗口!");
        print::Trszlbbw w(dm, parent);
        w.exec();
    });
    widgets::registerWindow(app::WindowId::PrintContent, [](QWidget* parent) {
        print::Tdyddw w(app::DM(), print::currentCard(), parent);
        w.exec();
    });
}

}  // namespace rsgz::shell
