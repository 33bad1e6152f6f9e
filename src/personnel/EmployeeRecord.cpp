#include "personnel/EmployeeRecord.h"
#include "app/Module.h"

#include "app/Rights.h"
#include "db/DataSet.h"
#include "app/Interaction.h"
#include "app/TDM.h"
#include "personnel/EmployeeStore.h"
#include "print/ReportEngine.h"

namespace rsgz::personnel {

namespace {
TableReportRequest& reportRequest()
{
    static TableReportRequest r;
    return r;
}
}  // namespace

const TableReportRequest& tableReportRequest() { return reportRequest(); }

EmployeeRecord::EmployeeRecord(app::TDM& dm) : dm_(dm)
{
    // The editors of this window always work as the records module.
    dm_.CurrentModule = app::moduleNumber(app::Module::Personnel);
    setPage(0);
}

void EmployeeRecord::activate() { photoFile = photoToShow(dm_); }

db::DataSet* EmployeeRecord::pageDataSet() const
{
    const SubRecordPage* p = subRecordPage(page_);
    return p ? dm_.dataSet(p->dataSet) : nullptr;
}

void EmployeeRecord::setPage(int page)
{
    page_ = page;
    caption = std::string("员工信息-") + employeePageCaption(page);
    if (page_ < kFirstListPage) {
        const bool may = app::hasRight(dm_, "档案管理");
        addEnabled = saveEnabled = deleteEnabled = may;
        return;
    }
    addEnabled = deleteEnabled = false;
    reopenPage();
}

void EmployeeRecord::reopenPage()
{
    const SubRecordPage* p = subRecordPage(page_);
    if (!p) return;
    db::DataSet& ds = *dm_.dataSet(p->dataSet);
    settlePage(ds);
    const std::string number = dm_.rszl.active() ? dm_.rszl.asString("员工编号") : std::string();
    ds.close();
    ds.setRowNumberField(true);
    ds.setSql(subRecordSql(*p, number));
    ds.open();
    if (page_ == kEvaluationPage) ds.setReadOnly(true);
}

// A row typed into a list's grid is not lost by re-reading the list, nor posted unasked.
void EmployeeRecord::settlePage(db::DataSet& ds)
{
    if (!ds.active() || !ds.isEditing()) return;
    if (app::askSavePending()) ds.post();
    else ds.cancel();
}

void EmployeeRecord::refresh()
{
    reopenPage();
    photoFile = photoToShow(dm_);
}

void EmployeeRecord::settleEmployee()
{
    if (dm_.rszl.active() && dm_.rszl.isEditing()) saveEmployee(dm_);
}

template <class Move>
void EmployeeRecord::move(Move m)
{
    if (!dm_.rszl.active()) return;
    settleEmployee();
    m(dm_.rszl);
    refresh();
}

void EmployeeRecord::first() { move([](db::DataSet& ds) { ds.first(); }); }
void EmployeeRecord::prior() { move([](db::DataSet& ds) { ds.prior(); }); }
void EmployeeRecord::next() { move([](db::DataSet& ds) { ds.next(); }); }
void EmployeeRecord::last() { move([](db::DataSet& ds) { ds.last(); }); }
void EmployeeRecord::clickName(int row)
{
    move([row](db::DataSet& ds) { ds.moveToRow(row); });
}

void EmployeeRecord::add()
{
    settleEmployee();
    dm_.rszl.append();
    pending_.remember(dm_.rszl);
    refresh();
    focusNumber = true;
}

void EmployeeRecord::save()
{
    if (page_ < kFirstListPage) {
        saveEmployee(dm_);
    } else if (page_ != kEvaluationPage) {
        db::DataSet& ds = *pageDataSet();
        ds.post();
        if (ds.batchMode()) ds.applyUpdates();
        ds.requery();
    } else {
        return;
    }
    refresh();
}

void EmployeeRecord::remove()
{
    app::removeOrAbandon(dm_.rszl);
    refresh();
}

void EmployeeRecord::photo()
{
    choosePhoto(dm_);
    photoFile = photoToShow(dm_);
}

void EmployeeRecord::printCard() { app::interaction().openWindow(app::WindowId::EmployeeCard); }

void EmployeeRecord::query()
{
    app::interaction().openWindow(app::WindowId::EmployeeQuery);
    setPage(page_);
}

void EmployeeRecord::taxDeductions()
{
    settleEmployee();
    app::interaction().openWindow(app::WindowId::TaxDeductions);
}

bool EmployeeRecord::close()
{
    if (db::DataSet* ds = pageDataSet()) settlePage(*ds);
    return pending_.settle(dm_.rszl, [this] { saveEmployee(dm_); });
}

void EmployeeRecord::pageAdd()
{
    db::DataSet* ds = pageDataSet();
    if (!ds || page_ == kEvaluationPage) return;
    // The rule opens the editor over the new row; a picker left without a choice abandons it.
    ds->append();
}

void EmployeeRecord::pageDelete()
{
    db::DataSet* ds = pageDataSet();
    if (ds && page_ != kEvaluationPage) app::removeOrAbandon(*ds);
}

bool EmployeeRecord::prepareReport()
{
    const SubRecordPage* p = subRecordPage(page_);
    if (!p) return false;
    TableReportRequest& r = reportRequest();
    r.source = dm_.dataSet(p->dataSet);
    r.definitionFile = dm_.programDir() + p->printFile;
    return true;
}

void EmployeeRecord::pagePrint()
{
    if (prepareReport()) print::previewGrid(*reportRequest().source, reportRequest().definitionFile);
}

void EmployeeRecord::pageDesign()
{
    if (prepareReport()) print::designGrid(*reportRequest().source, reportRequest().definitionFile);
}

void EmployeeRecord::openPageEditor()
{
    const SubRecordPage* p = subRecordPage(page_);
    db::DataSet* ds = pageDataSet();
    if (!p || !*p->editor || !ds || !ds->active() || ds->currentRow() < 0) return;
    app::interaction().openWindow(p->editor);
}

namespace {
std::vector<std::string> columnTexts(app::TDM& dm, const char* table, const char* column)
{
    db::DataSet& q = dm.s5;
    q.close();
    q.setSql(db::SqlLines{std::string("select ") + column + " from " + table});
    q.open();
    std::vector<std::string> out;
    for (int r = 0; r < q.rowCount(); ++r) out.push_back(q.rowValue(r, 0).toString());
    q.close();
    return out;
}
}  // namespace

std::vector<std::string> EmployeeRecord::gradeNames() { return columnTexts(dm_, "工资等级", "工资等级"); }
std::vector<std::string> EmployeeRecord::setNames() { return columnTexts(dm_, "帐套", "帐套名称"); }

void EmployeeRecord::checkNumber(const std::string& typed) { checkEmployeeNumber(dm_, typed); }

}  // namespace rsgz::personnel
