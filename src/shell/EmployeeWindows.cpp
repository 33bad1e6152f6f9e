#include "shell/EmployeeWindows.h"

#include "app/TDM.h"
#include "personnel/windows/Trszlw.h"
#include "personnel/windows/Tunitw.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::shell {

void registerEmployeeWindows()
{
    widgets::registerWindow(app::WindowId::EmployeeInfo, [](QWidget* parent) {
        personnel::Trszlw w(app::DM(), parent);
        w.exec();
    });
    for (const app::EditorSpec& setup : app::editorSpecs()) {
        widgets::registerWindow(app::requireWindowId(setup.caption), [&setup](QWidget* parent) {
            personnel::Tunitw w(app::DM(), setup, parent);
            w.exec();
        });
    }
}

}  // namespace rsgz::shell
