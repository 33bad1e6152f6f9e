#include "payroll/PayrollSetsPage.h"

#include "app/Rights.h"
#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/Connection.h"

namespace rsgz::payroll {

using db::DataSet;

void PayrollSetsPage::open()
{
    open_gzzt_data();
    open_gzzt_mx_data();
}

void PayrollSetsPage::open_gzzt_data()
{
    DataSet& sets = dm_.gz_zt;
    sets.close();
    sets.setSql("select * from 帐套");
    sets.open();
}

void PayrollSetsPage::open_gzzt_mx_data()
{
    DataSet& items = dm_.zt_mx;
    items.close();
    const std::string number = dm_.gz_zt.active() && !dm_.gz_zt.isEmpty() ? dm_.gz_zt.asString("帐套编号") : "";
    items.setSql(db::SqlLines{"select * from 工资帐套明细", "where 帐套编号1=" + db::sqlQuote(number), "order by 工资代码"});
    items.open();
}

bool PayrollSetsPage::mayManage() const { return app::hasRight(dm_, "帐套管理"); }

void PayrollSetsPage::resynchronise()
{
    if (!dm_.SetMoved) return;
    open_gzzt_mx_data();
    dm_.SetMoved = false;
}

void PayrollSetsPage::setGridClicked() { resynchronise(); }

void PayrollSetsPage::itemGridClicked()
{
    if (dm_.zt_mx.active()) dm_.showStatus(dm_.zt_mx.statusText());
}

void PayrollSetsPage::newSet()
{
    app::runAction([this] {
        dm_.gz_zt.append();
        // The set window has posted or cancelled the row; if it is still pending, it goes.
        if (dm_.gz_zt.state() == DataSet::State::Insert) dm_.gz_zt.cancel();
    });
    resynchronise();
}

void PayrollSetsPage::deleteSet()
{
    DataSet& sets = dm_.gz_zt;
    if (!sets.active() || sets.isEmpty()) return;
    const bool done = app::runAction([&] {
        db::Transaction t(dm_.DMADO);
        sets.remove();  // the question, then the items, then the set
        t.commit();
    });
    // A failure rolled the database back: the list shows it as it is.
    if (!done) app::runAction([&] { sets.requery(); });
    dm_.SetMoved = true;
    resynchronise();
}

void PayrollSetsPage::addItem()
{
    app::runAction([this] {
        DataSet& items = dm_.zt_mx;
        if (!items.active()) open_gzzt_mx_data();
        items.append();
        if (items.state() == DataSet::State::Insert) items.cancel();
    });
}

void PayrollSetsPage::deleteItem()
{
    DataSet& items = dm_.zt_mx;
    if (!items.active() || items.isEmpty()) return;
    app::runAction([&] { items.remove(); });
}

// --- set window ----------------------------------------------------------------------------------

bool SetForm::mayConfirm() const { return app::hasRight(dm_, "帐套管理"); }

std::string SetForm::field(const std::string& name) const
{
    const DataSet& sets = dm_.gz_zt;
    return sets.active() && sets.currentRow() >= 0 ? sets.asString(name) : std::string();
}

void SetForm::setField(const std::string& name, const std::string& text)
{
    app::runAction([&] {
        DataSet& sets = dm_.gz_zt;
        if (!sets.active()) return;
        if (!sets.isEditing()) sets.edit();
        sets.setValue(name, db::Value(text));
    });
}

bool SetForm::confirm()
{
    return app::runAction([this] {
        DataSet& sets = dm_.gz_zt;
        if (!sets.isEditing()) sets.edit();
        sets.post();
        sets.requery();
    });
}

void SetForm::cancel()
{
    if (dm_.gz_zt.isEditing()) dm_.gz_zt.cancel();
}

}  // namespace rsgz::payroll
