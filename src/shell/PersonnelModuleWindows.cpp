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
#include "shell/ProgramWindows.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::shell {

void registerPersonnelModuleWindows()
{
    registerModal<personnel::Tpxglw>(app::WindowId::TrainingManagement);
    registerModal<personnel::Tddglw>(app::WindowId::TransferManagement);
    registerModal<personnel::Tkpqk_Editw>(app::WindowId::EvaluationManagement);
    registerModal<personnel::Twpffw>(app::WindowId::ArticleManagement);
    registerModal<personnel::Ttxnlw>(app::WindowId::WomenRetirementAge);
    for (const personnel::PersonRecordSetup* setup : {&personnel::titleRecordSetup(), &personnel::rewardRecordSetup()}) {
        widgets::registerWindow(app::requireWindowId(setup->editor.caption), [setup](QWidget* parent) {
            personnel::Tpersonrecw w(app::DM(), *setup, parent);
            w.exec();
        });
    }
    widgets::registerWindow(app::WindowId::IssueEditor, [](QWidget* parent) {
        personnel::Tunitw w(app::DM(), personnel::ArticleIssue::issueEditorSpec(), parent);
        // Issues are made in the article window, for the employees chosen there.
        if (auto* add = w.findChild<QPushButton*>(QStringLiteral("addButton"))) add->hide();
        w.exec();
    });
}

}  // namespace rsgz::shell
