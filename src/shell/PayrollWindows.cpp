#include "shell/PayrollWindows.h"
#include "app/Module.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <memory>

#include "app/Rights.h"
#include "app/Interaction.h"
#include "app/Navigation.h"
#include "app/TDM.h"
#include "payroll/MonthTable.h"
#include "payroll/SetAssignment.h"
#include "payroll/windows/TWorkListWindow.h"
#include "payroll/windows/Tgzxmdw.h"
#include "payroll/windows/Tgzxmw.h"
#include "payroll/windows/Tgzztw.h"
#include "payroll/windows/Tnew_gzbw.h"
#include "payroll/WorkListForm.h"
#include "payroll/WorkLists.h"
#include "shell/ModulePanel.h"
#include "shell/PayrollSetsPanel.h"
#include "shell/SalaryPage.h"
#include "shell/WorkListPages.h"
#include "shell/ProgramWindows.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::shell {

namespace {
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

// 生成新工资表 opens on the set the salary page shows.
void registerGenerationWindow()
{
    widgets::registerWindow(app::WindowId::NewSalaryTable, [](QWidget* parent) {
        payroll::Tnew_gzbw w(app::DM(), parent);
        SalaryPage* page = salaryPageOf(parent);
        if (page) w.form().preferredSet = page->form().set;
        w.exec();
        if (page) page->generated = w.form().shownMonth;
    });
}

// 生成工资表 on the salary table page: the generation window, then the page's query tree again so
// that a new month is listed in it, and the view read again, so that the formula items, the tax
// and the net pay of the month are computed at once.
QPushButton* makeGenerateButton(ModulePanel* panel, app::Navigation& nav, SalaryPage* page)
{
    auto* b = new QPushButton(QStringLiteral("生成工资表"), panel);
    b->setObjectName(QStringLiteral("生成工资表"));
    panel->addToTopBar(b);
    QObject::connect(b, &QPushButton::clicked, b, [&nav, page] {
        page->generated.reset();
        app::interaction().openWindow(app::WindowId::NewSalaryTable);
        nav.treeMenu(app::moduleNumber(app::Module::SalaryTables), "刷新查询列表");
        if (page->generated) page->showMonth(*page->generated);
        else page->form().reread();
    });
    return b;
}

}  // namespace

void registerPayrollWindows()
{
    registerModal<payroll::Tgzztw>(app::WindowId::PayrollSetData);
    registerModal<payroll::Tgzxmw>(app::WindowId::SalaryItems);
    registerModal<payroll::Tgzxmdw>(app::WindowId::SalaryItemValues);
    registerModal<payroll::Tsdsw>(app::WindowId::IncomeTaxSettings);
    registerGenerationWindow();
    registerSalaryCard();
    registerModal<payroll::Tjjgzw>(app::WindowId::PieceWorkEditor);
    registerModal<payroll::Tjsgzfzw>(app::WindowId::TimeWorkEditor);
}

SalaryPage* installPayrollPages(app::Navigation& nav, app::TDM& dm, const PayrollPanels& panels)
{
    PayrollSetsPanel* sets = panels.sets;
    auto assigner = std::make_shared<payroll::SetAssignment>(dm);
    QComboBox* setBox = panels.assignment ? makeSetBox(panels.assignment, assigner) : nullptr;
    SalaryPage* salaryPage = panels.salaries ? installSalaryPage(nav, dm, panels.salaries) : nullptr;
    QPushButton* generate = salaryPage ? makeGenerateButton(panels.salaries, nav, salaryPage) : nullptr;
    payroll::bindWorkListAmounts(dm);
    payroll::bindWorkListInsert(dm);
    if (panels.timeWork) installWorkListPage(dm, panels.timeWork, payroll::timeWork());
    if (panels.pieceWork) installWorkListPage(dm, panels.pieceWork, payroll::pieceWork());
    auto before = nav.hooks.openPayrollList;
    nav.hooks.openPayrollList = [before, sets, setBox, generate, assigner, &dm, salaryPage, panels](int module) {
        if (module == app::Module::SalaryTables && generate) generate->setEnabled(app::hasRight(dm, "工资表管理"));
        if (module == app::Module::SalaryTables && salaryPage) salaryPage->opened();
        if (module == app::Module::PayrollSets && sets) {
            sets->opened();
        } else if (module == app::Module::SetAssignment && setBox) {
            assigner->get_gzzt_field();
            setBox->clear();
            for (const std::string& s : assigner->sets) setBox->addItem(QString::fromStdString(s));
            setBox->setCurrentIndex(-1);
            setBox->setEnabled(app::hasRight(dm, "员工帐套设定"));
        } else if (before) {
            before(module);
        }
        if (module == app::Module::TimeWork && panels.timeWork) openWorkListPage(dm, panels.timeWork, payroll::timeWork());
        if (module == app::Module::PieceWork && panels.pieceWork) openWorkListPage(dm, panels.pieceWork, payroll::pieceWork());
    };
    return salaryPage;
}

}  // namespace rsgz::shell
