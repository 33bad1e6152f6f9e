#include "shell/MaintenanceWindows.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "admin/Maintenance.h"
#include "admin/windows/Ttestmima.h"
#include "app/TDM.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::ui {

namespace {

// The main window closes the ordinary way once the notice is gone, so the close-time copy is taken.
void closeMainWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("Tmain")) QTimer::singleShot(0, w, &QWidget::close);
}

void registerOperation(const std::string& caption, void (admin::Maintenance::*operation)())
{
    registerWindow(caption, [operation](QWidget*) {
        admin::Maintenance m(app::DM());
        m.closeProgram = closeMainWindow;
        (m.*operation)();
    });
}

}  // namespace

void registerMaintenanceWindows()
{
    registerOperation("数据备份", &admin::Maintenance::backup);
    registerOperation("数据恢复", &admin::Maintenance::restore);
    registerOperation("压缩数据库", &admin::Maintenance::compact);
    registerOperation("数据初始化", &admin::Maintenance::initialize);
    registerWindow("初始化将删除所有数据", admin::openPasswordConfirmation);
}

}  // namespace rsgz::ui
