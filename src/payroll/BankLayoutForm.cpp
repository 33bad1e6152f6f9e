#include "payroll/BankLayoutForm.h"

#include "app/Interaction.h"
#include "app/TDM.h"
#include "payroll/SalaryView.h"

namespace rsgz::payroll {

BankLayoutForm::BankLayoutForm(app::TDM& dm, const SalaryView* view) : dm_(dm), view_(view), cards_(dm.DMADO) {}

bool BankLayoutForm::haveRows() const { return view_ && dm_.gzb.active(); }

bool BankLayoutForm::open()
{
    set = view_ ? view_->config().set : std::string();
    if (set.empty()) {
        app::interaction().showMessage("请先在工资表管理中选择工资帐套!");
        return false;
    }
    BankLayoutStore store(dm_.DMADO, dm_.dfgz_set);
    layout = store.open(set);
    repaired_ = store.repaired();
    contents = bankContentList(bankColumns(*view_));
    return true;
}

void BankLayoutForm::save()
{
    if (set.empty()) return;
    BankLayoutStore(dm_.DMADO, dm_.dfgz_set).save(set, layout);
}

BankLayoutForm::Preview BankLayoutForm::preview()
{
    Preview p;
    if (!haveRows()) return p;
    const BankRecordBuilder builder(layout, *view_, dm_.gzb, cards_);
    p.problems = builder.unresolved();
    const int row = dm_.gzb.currentRow();
    if (row < 0 || row >= dm_.gzb.rowCount()) return p;
    BankRecord r = builder.build(row);
    p.record = std::move(r.text);
    p.problems.insert(p.problems.end(), r.problems.begin(), r.problems.end());
    p.unencodable = std::move(r.unencodable);
    return p;
}

BankBatch BankLayoutForm::check()
{
    if (!haveRows()) return {};
    const BankRecordBuilder builder(layout, *view_, dm_.gzb, cards_);
    return buildBankBatch(builder, dm_.gzb);
}

}  // namespace rsgz::payroll
