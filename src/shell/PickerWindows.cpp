#include "shell/PickerWindows.h"

#include "app/TDM.h"
#include "personnel/windows/Tpxkcw.h"
#include "personnel/windows/Tselectm.h"
#include "personnel/windows/Tselectwpw.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::shell {

void registerPickerWindows()
{
    for (const std::string& caption : personnel::employeePickerCaptions()) {
        widgets::registerWindow(app::requireWindowId(caption), [caption](QWidget* parent) {
            personnel::Tselectm w(app::DM(), caption, parent);
            w.exec();
        });
    }
    widgets::registerWindow(app::WindowId::PickArticle, [](QWidget* parent) {
        personnel::Tselectwpw w(app::DM(), parent);
        w.exec();
    });
    widgets::registerWindow(app::WindowId::PickCourse, [](QWidget* parent) {
        personnel::Tpxkcw w(app::DM(), parent);
        w.exec();
    });
}

}  // namespace rsgz::shell
