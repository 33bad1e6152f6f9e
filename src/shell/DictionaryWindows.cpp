#include "shell/DictionaryWindows.h"

#include "app/TDM.h"
#include "personnel/windows/Tgetdateww.h"
#include "personnel/windows/Tjbzlw.h"
#include "personnel/windows/Tkhflzdw.h"
#include "personnel/windows/Tzidianw.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::shell {

namespace {
template <class Window, class... Args>
void openModal(QWidget* parent, Args&&... args)
{
    Window w(app::DM(), std::forward<Args>(args)..., parent);
    w.exec();
}
}  // namespace

void registerDictionaryWindows()
{
    widgets::registerWindow(app::WindowId::Dictionary, [](QWidget* parent) { openModal<personnel::Tzidianw>(parent); });
    widgets::registerWindow(app::WindowId::BasicSettings, [](QWidget* parent) { openModal<personnel::Tjbzlw>(parent); });
    widgets::registerWindow(app::WindowId::DepartmentEditor, [](QWidget* parent) {
        const personnel::DepartmentEditorRequest& r = personnel::departmentEditorRequest();
        openModal<personnel::Tkhflzdw>(parent, r.level, r.upper);
    });
    widgets::registerWindow(app::WindowId::TodayDate, [](QWidget* parent) { openModal<personnel::Tgetdateww>(parent); });
}

}  // namespace rsgz::shell
