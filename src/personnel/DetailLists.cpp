#include "personnel/DetailLists.h"

#include "app/Interaction.h"
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

MasterDetail::MasterDetail(app::TDM& dm, db::DataSet& master, db::DataSet& detail, bool& movedFlag,
                           std::function<db::SqlLines()> detailSql)
    : dm_(dm), master_(master), detail_(detail), moved_(movedFlag), detailSql_(std::move(detailSql))
{
}

void MasterDetail::openDetails()
{
    reopenList(detail_, detailSql_());
    moved_ = false;
}

void MasterDetail::gridClicked()
{
    if (moved_) openDetails();
}

void MasterDetail::addMaster()
{
    master_.append();
    if (master_.state() == db::DataSet::State::Insert) pending_.remember(master_);
    openDetails();
}

void MasterDetail::saveMaster()
{
    if (!master_.active()) return;
    if (master_.isEditing()) master_.post();
    master_.requery();
    openDetails();
}

void MasterDetail::removeMaster()
{
    app::removeOrAbandon(master_);
    openDetails();
}

bool MasterDetail::addChosen(const std::string& noMaster, const std::string& picker, const FillChosen& fill)
{
    if (!master_.active() || (master_.isEmpty() && !master_.isEditing())) {
        app::interaction().showMessage(noMaster);
        return false;
    }
    // Details name their master by its key: a new master is stored first; refused, nothing is added.
    if (master_.isEditing()) {
        postMasterFirst(master_);
        openDetails();
    }
    app::interaction().openWindow(picker);
    addForEach(dm_, detail_, chosenEmployees(dm_), fill, [this] { openDetails(); });
    return true;
}

void MasterDetail::saveDetail()
{
    if (!detail_.active()) return;
    if (detail_.isEditing()) detail_.post();
    detail_.requery();
}

void MasterDetail::removeDetail()
{
    if (detail_.active() && !detail_.isEmpty()) detail_.remove();
}

bool MasterDetail::close()
{
    return pending_.settle(master_, [this] { master_.post(); });
}

}  // namespace rsgz::personnel
