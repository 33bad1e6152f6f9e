#include "shell/PersonnelModuleWindows.h"

#include <QPushButton>

#include "app/TDM.h"
#include "personnel/windows/Tddglw.h"
#include "personnel/windows/Tkpqk_editw.h"
#include "personnel/windows/Tpersonrecw.h"
#include "personnel/windows/Tpxglw.h"
#include "personnel/windows/Ttxnlw.h"
#include "personnel/windows/Tunitw.h"
#include "personnel/windows/Twpffw.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::personnel {

void registerPersonnelModuleWindows()
{
    ui::registerModal<Tpxglw>("员工培训管理");
    ui::registerModal<Tddglw>("调动数据管理");
    ui::registerModal<Tkpqk_Editw>("考评情况管理");
    ui::registerModal<Twpffw>("物品登记与发放");
    ui::registerModal<Ttxnlw>("女职工原退休年龄");
    for (const PersonRecordSetup* setup : {&titleRecordSetup(), &rewardRecordSetup()}) {
        ui::registerWindow(setup->editor.caption, [setup](QWidget* parent) {
            Tpersonrecw w(app::DM(), *setup, parent);
            w.exec();
        });
    }
    ui::registerWindow("发放数据编辑", [](QWidget* parent) {
        Tunitw w(app::DM(), ArticleIssue::issueEditorSpec(), parent);
        // Issues are made in the article window, for the employees chosen there.
        if (auto* add = w.findChild<QPushButton*>(QStringLiteral("addButton"))) add->hide();
        w.exec();
    });
}

}  // namespace rsgz::personnel
