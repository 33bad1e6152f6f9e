#include "shell/QueryWindows.h"
#include "app/Module.h"

#include <QApplication>

#include "app/TDM.h"
#include "shell/Tmain.h"
#include "query/CombinedQuery.h"
#include "query/windows/Tcxzdw.h"
#include "query/windows/Tplxgw.h"
#include "query/windows/Tzhcxw.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::shell {

namespace {

shell::Tmain* mainWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* main = qobject_cast<shell::Tmain*>(w)) return main;
    return nullptr;
}

}  // namespace

void registerQueryWindows()
{
    widgets::registerWindow(app::WindowId::QueryFields, [](QWidget* parent) {
        shell::Tmain* main = mainWindow();
        if (!main) return;
        query::Tcxzdw w(main->queryPages().trees(), app::DM().CurrentModule, parent);
        w.exec();
    });
    widgets::registerWindow(app::WindowId::BatchChange, [](QWidget* parent) {
        shell::Tmain* main = mainWindow();
        if (!main) return;
        query::Tplxgw w(main->frame().dm(), main->queryPages(), main->frame().navigation().fieldLists(app::moduleNumber(app::Module::Personnel)).search, parent);
        w.exec();
    });
    // The combined query windows narrow the page they were opened on; the personnel window also
    // serves the payroll-set assignment page, whose payroll flag then stays in force.
    for (const query::CombinedQueryKind& kind : query::combinedQueryKinds()) {
        const int module = kind.module;
        widgets::registerWindow(app::requireWindowId(kind.caption), [module](QWidget* parent) {
            shell::Tmain* main = mainWindow();
            if (!main) return;
            const int current = app::DM().CurrentModule;
            query::Tzhcxw w(main->frame().dm(), main->queryPages().queries(), module == app::Module::Personnel && current == app::Module::SetAssignment ? current : module, parent);
            w.exec();
        });
    }
}

}  // namespace rsgz::shell
