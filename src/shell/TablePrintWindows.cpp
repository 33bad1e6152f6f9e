#include "shell/TablePrintWindows.h"
#include "app/Module.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QTableView>

#include "app/Interaction.h"
#include "app/ModuleInfo.h"
#include "app/TDM.h"
#include "shell/Tmain.h"
#include "print/TablePreview.h"
#include "widgets/DataSetModel.h"
#include "shell/ModulePanel.h"
#include "print/windows/PrintRangeWindow.h"
#include "print/windows/TablePreviewWindow.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::shell {

namespace {

ModulePanel* panelOf(int module)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* main = qobject_cast<shell::Tmain*>(w))
            return qobject_cast<ModulePanel*>(main->panel(module));
    return nullptr;
}

// The candidates of the designer: the salary table offers its grid's titles (item names), the
// other modules the column names of their list.
std::vector<std::string> designerItems(int module, const db::DataSet& ds, const print::DataSetSource& source)
{
    return module == app::Module::SalaryTables ? source.gridTitles() : ds.fieldNames();
}

void openTablePreview(const std::string& entry, QWidget* parent)
{
    app::TDM& dm = app::DM();
    const int module = print::tablePrintModule(entry);
    const app::ModuleInfo* info = app::findModule(module);
    db::DataSet* ds = info ? dm.dataSet(info->dataSet) : nullptr;
    if (!ds || !ds->active()) {
        app::interaction().showMessage("请先打开要打印的列表。");
        return;
    }
    const print::DataSetSource source(*ds, moduleGridColumns(module));
    print::TablePreview preview(dm.programDir(), print::tableLayoutFile(entry, chosenPayrollSet()), source,
                                source.gridTitles());
    if (!preview.open()) return;
    print::TablePreviewWindow w(preview, designerItems(module, *ds, source), parent);
    w.setWindowState(w.windowState() | Qt::WindowMaximized);
    w.exec();
}

}  // namespace

std::vector<print::PrintItem> moduleGridColumns(int module)
{
    std::vector<print::PrintItem> out;
    ModulePanel* panel = panelOf(module);
    if (!panel || !panel->model() || !panel->model()->dataSet()->active()) return out;
    const QHeaderView* header = panel->grid()->horizontalHeader();
    const widgets::DataSetModel* model = panel->model();
    for (int v = 0; v < header->count(); ++v) {
        const int logical = header->logicalIndex(v);
        const int field = model->fieldIndexOfColumn(logical);
        if (header->isSectionHidden(logical) || field < 0) continue;
        out.push_back({model->dataSet()->field(field).name,
                       model->headerData(logical, Qt::Horizontal).toString().toStdString()});
    }
    return out;
}

std::string chosenPayrollSet()
{
    ModulePanel* panel = panelOf(app::moduleNumber(app::Module::SalaryTables));
    const auto* box = panel ? panel->findChild<QComboBox*>(QStringLiteral("salarySetBox")) : nullptr;
    return box ? box->currentText().toStdString() : std::string();
}

void registerTablePrintWindows()
{
    using W = app::WindowId;
    for (const W id : {W::PrintEmployees, W::PrintTraining, W::PrintTitles, W::PrintRewards, W::PrintTransfers,
                       W::PrintEvaluations, W::PrintArticles, W::PrintSalaryTable, W::PrintPayslips}) {
        const std::string entry = app::windowCaption(id);
        widgets::registerWindow(id, [entry](QWidget* parent) { openTablePreview(entry, parent); });
    }
    widgets::registerWindow(app::WindowId::PrintRange, [](QWidget* parent) {
        print::PrintRangeWindow w(app::DM().programDir(), parent);
        w.exec();
    });
}

}  // namespace rsgz::shell
