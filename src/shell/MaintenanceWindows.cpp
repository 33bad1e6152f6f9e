#include "shell/MaintenanceWindows.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "admin/Maintenance.h"
#include "admin/windows/Ttestmima.h"
#include "app/TDM.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::shell {

namespace {

// The main window closes the ordinary way once the notice is gone, so the close-time copy is taken.
void closeMainWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("Tmain")) QTimer::singleShot(0, w, &QWidget::close);
}

void registerOperation(app::WindowId id, void (admin::Maintenance::*operation)())
{
    widgets::registerWindow(id, [operation](QWidget*) {
        admin::Maintenance m(app::DM());
        m.closeProgram = closeMainWindow;
        (m.*operation)();
    });
}

}  // namespace

void registerMaintenanceWindows()
{
    registerOperation(app::WindowId::Backup, &admin::Maintenance::backup);
    registerOperation(app::WindowId::Restore, &admin::Maintenance::restore);
    registerOperation(app::WindowId::CompactDatabase, &admin::Maintenance::compact);
    registerOperation(app::WindowId::InitializeData, &admin::Maintenance::initialize);
    widgets::registerWindow(app::WindowId::InitializeConfirmation,
                   [](QWidget* parent) { admin::openPasswordConfirmation(app::DM(), parent); });
}

}  // namespace rsgz::shell
