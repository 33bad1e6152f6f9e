#include "personnel/EvaluationManagement.h"

#include "app/Interaction.h"
#include "app/TDM.h"
#include "personnel/DetailLists.h"
#include "query/ListQuery.h"

namespace rsgz::personnel {

namespace {

constexpr const char* kPickerCaption = "选择参加考评人员";

// The participants of the current item, newest first; a new item has none.
db::SqlLines participantsSql(const db::DataSet& items)
{
    query::ListQuery q{{"select * from 考评情况"}, {}, {}};
    q.where(query::Condition::equals("考评编号1", db::Value(storedKey(items, "考评编号")), db::FieldType::Text));
    q.orderBy("ID", true);
    return q.lines();
}

// 保存 posts a pending row, then edits and posts it again, so that the row's check always runs.
void postAndCheck(db::DataSet& ds)
{
    if (!ds.active()) return;
    if (ds.isEditing()) ds.post();
    if (ds.isEmpty()) return;
    ds.edit();
    ds.post();
}

}  // namespace

EvaluationManagement::EvaluationManagement(app::TDM& dm)
    : dm_(dm), lists_(dm, dm.kpxm, dm.kpjl, dm.ItemChanged, [&dm] { return participantsSql(dm.kpxm); })
{
}

void EvaluationManagement::activate()
{
    query::ListQuery items{{"select * from 考评项目表"}, {}, {}};
    items.orderBy("ID", true);
    reopenList(dm_.kpxm, items.lines());
    lists_.openDetails();
}

void EvaluationManagement::saveItem() { postAndCheck(dm_.kpxm); }

// The participant count follows the rows listed, also after a run of deletions that was stopped.
void EvaluationManagement::updateCount()
{
    db::DataSet& items = dm_.kpxm;
    if (!items.active() || items.isEmpty()) return;
    const int listed = dm_.kpjl.active() ? dm_.kpjl.recordCount() : 0;
    if (!items.isEditing()) items.edit();
    items.setValue("参加人数", listed);
    items.post();
}

void EvaluationManagement::chooseParticipants()
{
    const bool added = lists_.addChosen("无考评项目，请先输入考评项目！", kPickerCaption,
                                        [](db::DataSet& row, const ChosenEmployee& e) {
                                            row.setValue("员工编号1", e.number);
                                            row.setValue("被考评人姓名", e.name);
                                        });
    lists_.openDetails();
    if (added) updateCount();
}

void EvaluationManagement::saveParticipant() { postAndCheck(dm_.kpjl); }

void EvaluationManagement::removeParticipant()
{
    if (!dm_.kpjl.active() || dm_.kpjl.isEmpty()) return;
    lists_.removeDetail();
    updateCount();
}

void EvaluationManagement::removeAllParticipants()
{
    try {
        removeAll(dm_.kpjl);
    } catch (...) {
        updateCount();
        throw;
    }
    updateCount();
}

}  // namespace rsgz::personnel
