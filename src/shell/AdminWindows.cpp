#include "shell/AdminWindows.h"

#include "admin/windows/Tmewindow.h"
#include "admin/windows/Tqxglw.h"
#include "admin/windows/Tsjqyw.h"
#include "app/TDM.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::shell {

void registerAdminWindows(std::function<void()> companyFrameSteps)
{
    widgets::registerWindow(app::WindowId::Rights, [](QWidget* parent) { admin::openRightsWindow(app::DM(), parent); });
    widgets::registerWindow(app::WindowId::DatabaseMigration, [](QWidget* parent) { admin::openMigrationWindow(app::DM(), parent); });
    widgets::registerWindow(app::WindowId::Company, [steps = std::move(companyFrameSteps)](QWidget* parent) {
        admin::openCompanyWindow(app::DM(), parent, steps);
    });
}

}  // namespace rsgz::shell
