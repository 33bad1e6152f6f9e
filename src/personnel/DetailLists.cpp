#include "personnel/DetailLists.h"

#include "app/TDM.h"
#include "db/Connection.h"

namespace rsgz::personnel {

void reopenList(db::DataSet& ds, const db::SqlLines& sql)
{
    ds.close();
    ds.setRowNumberField(true);
    ds.setSql(sql);
    ds.open();
}

std::string storedKey(const db::DataSet& master, const char* keyField)
{
    if (!master.active() || master.currentRow() < 0 || master.state() == db::DataSet::State::Insert) return {};
    return master.asString(keyField);
}

void postMasterFirst(db::DataSet& master)
{
    if (master.active() && master.isEditing()) master.post();
}

std::vector<ChosenEmployee> chosenEmployees(const app::TDM& dm)
{
    const db::DataSet& chosen = dm.select_renyuan;
    std::vector<ChosenEmployee> list;
    if (!chosen.active()) return list;
    const int number = chosen.fieldIndex("员工编号");
    const int name = chosen.fieldIndex("姓名");
    for (int r = 0; r < chosen.recordCount(); ++r)
        list.push_back({chosen.rowValue(r, number).toString(), chosen.rowValue(r, name).toString()});
    return list;
}

void addForEach(app::TDM& dm, db::DataSet& detail, const std::vector<ChosenEmployee>& chosen, const FillChosen& fill,
                const std::function<void()>& reread)
{
    if (chosen.empty()) return;
    try {
        db::Transaction t(dm.DMADO);
        for (const ChosenEmployee& e : chosen) {
            detail.append();
            fill(detail, e);
            detail.post();
        }
        t.commit();
    } catch (...) {
        // The transaction has been rolled back: the rows posted so far are gone from the file and
        // must go from the list too.
        if (detail.active() && detail.isEditing()) detail.cancel();
        reread();
        throw;
    }
}

void removeAll(db::DataSet& detail)
{
    if (!detail.active()) return;
    if (detail.state() == db::DataSet::State::Insert) detail.cancel();
    const int atStart = detail.recordCount();
    for (int done = 0; done < atStart && !detail.isEmpty(); ++done) {
        const int before = detail.recordCount();
        detail.first();
        detail.remove();
        if (detail.recordCount() >= before) return;
    }
}

}  // namespace rsgz::personnel
