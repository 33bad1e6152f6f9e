#include "shell/DictionaryWindows.h"

#include "app/TDM.h"
#include "personnel/windows/Tgetdateww.h"
#include "personnel/windows/Tjbzlw.h"
#include "personnel/windows/Tkhflzdw.h"
#include "personnel/windows/Tzidianw.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::personnel {

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
    ui::registerWindow("字典管理", [](QWidget* parent) { openModal<Tzidianw>(parent); });
    ui::registerWindow("基本资料设置", [](QWidget* parent) { openModal<Tjbzlw>(parent); });
    ui::registerWindow("部门分类字典编辑", [](QWidget* parent) {
        const DepartmentEditorRequest& r = departmentEditorRequest();
        openModal<Tkhflzdw>(parent, r.level, r.upper);
    });
    ui::registerWindow("取得当前日期", [](QWidget* parent) { openModal<Tgetdateww>(parent); });
}

}  // namespace rsgz::personnel
