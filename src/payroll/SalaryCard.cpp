#include "payroll/SalaryCard.h"

#include "app/Rights.h"
#include "app/TDM.h"
#include "app/rules/RecordRules.h"
#include "db/DbError.h"
#include "payroll/SalaryColumns.h"
#include "payroll/SalaryView.h"
#include "payroll/ViewWithholding.h"

namespace rsgz::payroll {

namespace {

const char* const kRight = "工资表管理";

bool isAmountOrNote(const std::string& field)
{
    return !normalSalaryCode(field).empty() || field == "出勤天数" || field == "备注";
}

bool storedClosed(const db::DataSet& ds)
{
    const int idx = ds.fieldIndex("结帐状态");
    return idx >= 0 && ds.currentRow() >= 0 && ds.state() != db::DataSet::State::Insert &&
           ds.rowValue(ds.currentRow(), idx).toString() == "是";
}

}  // namespace

std::vector<std::string> SalaryCard::fields() const { return view_.gridColumns(); }

std::string SalaryCard::captionOf(const std::string& field) const { return view_.titleOf(field); }

bool SalaryCard::rowClosed() const { return dm_.gzb.active() && storedClosed(dm_.gzb); }

bool SalaryCard::editable(const std::string& field) const
{
    const SalaryViewConfig& cfg = view_.config();
    if (!isAmountOrNote(field) || cfg.isComputed(field) || cfg.isFormula(field)) return false;
    return dm_.gzb.active() && !dm_.gzb.isEmpty() && dm_.gzb.mayChange() && !rowClosed();
}

std::vector<std::pair<std::string, std::string>> SalaryCard::cumulativeLines() const
{
    const tax::ViewWithholding* w = view_.withholding();
    const db::DataSet& ds = dm_.gzb;
    if (!w || !ds.active() || ds.isEmpty() || ds.currentRow() < 0) return {};
    const tax::CumulativeFigures* f = w->figuresOf(ds.rowValue(ds.currentRow(), ds.fieldIndex("编号")).toInt());
    return f ? tax::cardLines(*f) : std::vector<std::pair<std::string, std::string>>();
}

std::string SalaryCard::openMonthsNote() const
{
    const tax::ViewWithholding* w = view_.withholding();
    return w ? w->openMonthsNote() : std::string();
}

bool SalaryCard::canSave() const { return app::hasRight(dm_, kRight); }

bool SalaryCard::canDelete() const { return app::hasRight(dm_, kRight) && !dm_.gzb.isEmpty() && !rowClosed(); }

void SalaryCard::save()
{
    if (!canSave()) return;
    if (dm_.gzb.isEditing()) dm_.gzb.post();
    const int row = dm_.gzb.currentRow();
    view_.reopen();
    if (row >= 0 && row < dm_.gzb.rowCount()) dm_.gzb.moveToRow(row);
}

void SalaryCard::recalculate()
{
    if (dm_.gzb.isEditing()) dm_.gzb.cancel();
    const int row = dm_.gzb.currentRow();
    view_.reopen();
    if (row >= 0 && row < dm_.gzb.rowCount()) dm_.gzb.moveToRow(row);
}

void SalaryCard::remove()
{
    if (!dm_.gzb.active() || dm_.gzb.isEmpty() || !app::hasRight(dm_, kRight)) return;
    if (rowClosed()) {
        dm_.ShowMessage_jd("该工资记录已结帐，不能删除！");
        return;
    }
    try {
        dm_.gzb.remove();
    } catch (const db::Abort&) {
    }
}

void bindClosedRowRule(app::TDM& dm)
{
    app::appendRule(dm.gzb.rules().beforePost, [&dm](db::DataSet& ds) {
        if (!storedClosed(ds)) return;
        const int row = ds.currentRow();
        for (int i = 0; i < ds.fieldCount(); ++i) {
            const db::Field& f = ds.field(i);
            if (f.calculated || !isAmountOrNote(f.name)) continue;
            if (ds.valueAt(row, i).toString() == ds.rowValue(row, i).toString()) continue;
            dm.ShowMessage_jd("该工资记录已结帐，不能修改！");
            db::abortSilently();
        }
    });
}

}  // namespace rsgz::payroll
