#include "shell/AdminWindows.h"

#include "admin/windows/Tmewindow.h"
#include "admin/windows/Tqxglw.h"
#include "admin/windows/Tsjqyw.h"
#include "app/TDM.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::admin {

void registerAdminWindows(std::function<void()> companyFrameSteps)
{
    ui::registerWindow(app::WindowId::Rights, [](QWidget* parent) { openRightsWindow(app::DM(), parent); });
    ui::registerWindow(app::WindowId::DatabaseMigration, [](QWidget* parent) { openMigrationWindow(app::DM(), parent); });
    ui::registerWindow(app::WindowId::Company, [steps = std::move(companyFrameSteps)](QWidget* parent) {
        openCompanyWindow(app::DM(), parent, steps);
    });
}

}  // namespace rsgz::admin
