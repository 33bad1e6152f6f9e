#include "ui/PayrollWindows.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <memory>

#include "app/Navigation.h"
#include "app/TDM.h"
#include "payroll/SetAssignment.h"
#include "payroll/Tgzxmdw.h"
#include "payroll/Tgzxmw.h"
#include "payroll/Tgzztw.h"
#include "payroll/Tnew_gzbw.h"
#include "ui/ModulePanel.h"
#include "ui/PayrollSetsPanel.h"
#include "ui/WindowRegistry.h"

namespace rsgz::ui {

namespace {

template <class Window>
void registerModal(const char* caption)
{
    registerWindow(caption, [](QWidget* parent) {
        Window w(app::DM(), parent);
        w.exec();
    });
}

// The set box of module 10: filled each time the module opens and left empty, so nothing is
// assigned until the operator picks a set. Only a pick counts, not the entries the arrow keys pass.
QComboBox* makeSetBox(ModulePanel* panel, std::shared_ptr<payroll::SetAssignment> assignment)
{
    auto* box = new QWidget(panel);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(12, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("为下面列表人员选择工资帐套"), box));
    auto* sets = new QComboBox(box);
    sets->setObjectName(QStringLiteral("assignSetBox"));
    sets->setMinimumWidth(150);
    row->addWidget(sets);
    panel->addToTopBar(box);
    QObject::connect(sets, &QComboBox::activated, sets, [sets, assignment](int index) {
        if (index >= 0) assignment->assign(sets->itemText(index).toStdString());
        sets->setCurrentIndex(-1);
    });
    return sets;
}

}  // namespace

void registerPayrollWindows()
{
    registerModal<payroll::Tgzztw>("帐套数据编辑");
    registerModal<payroll::Tgzxmw>("工资项目设定");
    registerModal<payroll::Tgzxmdw>("工资项目及初始值设置");
    registerModal<payroll::Tsdsw>("所得税设置");
    registerModal<payroll::Tnew_gzbw>("生成新工资表");
}

void installPayrollPages(app::Navigation& nav, app::TDM& dm, PayrollSetsPanel* sets, ModulePanel* assignment)
{
    auto assigner = std::make_shared<payroll::SetAssignment>(dm);
    QComboBox* setBox = assignment ? makeSetBox(assignment, assigner) : nullptr;
    auto before = nav.hooks.openPayrollList;
    nav.hooks.openPayrollList = [before, sets, setBox, assigner](int module) {
        if (module == 9 && sets) {
            sets->opened();
        } else if (module == 10 && setBox) {
            assigner->get_gzzt_field();
            setBox->clear();
            for (const std::string& s : assigner->sets) setBox->addItem(QString::fromStdString(s));
            setBox->setCurrentIndex(-1);
        } else if (before) {
            before(module);
        }
    };
}

}  // namespace rsgz::ui
