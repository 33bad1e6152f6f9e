#include "shell/EmployeeWindows.h"

#include "app/TDM.h"
#include "personnel/windows/Trszlw.h"
#include "personnel/windows/Tunitw.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::personnel {

void registerEmployeeWindows()
{
    widgets::registerWindow(app::WindowId::EmployeeInfo, [](QWidget* parent) {
        Trszlw w(app::DM(), parent);
        w.exec();
    });
    for (const app::EditorSpec& setup : app::editorSpecs()) {
        widgets::registerWindow(app::requireWindowId(setup.caption), [&setup](QWidget* parent) {
            Tunitw w(app::DM(), setup, parent);
            w.exec();
        });
    }
}

}  // namespace rsgz::personnel
