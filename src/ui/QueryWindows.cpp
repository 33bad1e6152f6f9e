#include "ui/QueryWindows.h"

#include <QApplication>

#include "app/TDM.h"
#include "app/Tmain.h"
#include "query/Tcxzdw.h"
#include "query/Tplxgw.h"
#include "ui/WindowRegistry.h"

namespace rsgz::ui {

namespace {

app::Tmain* mainWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* main = qobject_cast<app::Tmain*>(w)) return main;
    return nullptr;
}

}  // namespace

void registerQueryWindows()
{
    registerWindow("查询字段定义窗口", [](QWidget* parent) {
        app::Tmain* main = mainWindow();
        if (!main) return;
        Tcxzdw w(main->queryPages().trees(), app::DM().CurrentModule, parent);
        w.exec();
    });
    registerWindow("批量修改员工资料", [](QWidget* parent) {
        app::Tmain* main = mainWindow();
        if (!main) return;
        Tplxgw w(main->queryPages(), main->frame().navigation().fieldLists(1).search, parent);
        w.exec();
    });
}

}  // namespace rsgz::ui
