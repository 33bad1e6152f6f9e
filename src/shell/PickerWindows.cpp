#include "shell/PickerWindows.h"

#include "app/TDM.h"
#include "personnel/windows/Tpxkcw.h"
#include "personnel/windows/Tselectm.h"
#include "personnel/windows/Tselectwpw.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::personnel {

void registerPickerWindows()
{
    for (const std::string& caption : employeePickerCaptions()) {
        widgets::registerWindow(app::requireWindowId(caption), [caption](QWidget* parent) {
            Tselectm w(app::DM(), caption, parent);
            w.exec();
        });
    }
    widgets::registerWindow(app::WindowId::PickArticle, [](QWidget* parent) {
        Tselectwpw w(app::DM(), parent);
        w.exec();
    });
    widgets::registerWindow(app::WindowId::PickCourse, [](QWidget* parent) {
        Tpxkcw w(app::DM(), parent);
        w.exec();
    });
}

}  // namespace rsgz::personnel
