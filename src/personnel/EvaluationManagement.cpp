#include "personnel/EvaluationManagement.h"

#include "app/Interaction.h"
#include "app/TDM.h"
#include "personnel/DetailLists.h"
#include "query/ListQuery.h"

namespace rsgz::personnel {

namespace {
constexpr const char* kPickerCaption = "选择参加考评人员";
}

EvaluationManagement::EvaluationManagement(app::TDM& dm) : dm_(dm) {}

void EvaluationManagement::activate()
{
    query::ListQuery items{{"select * from 考评项目表"}, {}, {}};
    items.orderBy("ID", true);
    reopenList(dm_.kpxm, items.lines());
    openParticipants();
}

void EvaluationManagement::openParticipants()
{
    query::ListQuery q{{"select * from 考评情况"}, {}, {}};
    q.where(query::Condition::equals("考评编号1", db::Value(storedKey(dm_.kpxm, "考评编号")), db::FieldType::Text));
    q.orderBy("ID", true);
    reopenList(dm_.kpjl, q.lines());
    dm_.ItemChanged = false;
}

void EvaluationManagement::itemMoved() { openParticipants(); }

void EvaluationManagement::itemGridClicked()
{
    if (dm_.ItemChanged) openParticipants();
}

void EvaluationManagement::addItem()
{
    dm_.kpxm.append();
    if (dm_.kpxm.state() == db::DataSet::State::Insert) pendingItem_.remember(dm_.kpxm);
    openParticipants();
}

void EvaluationManagement::saveItem()
{
    db::DataSet& items = dm_.kpxm;
    if (!items.active()) return;
    if (items.isEditing()) items.post();
    if (items.isEmpty()) return;
    items.edit();
    items.post();
}

void EvaluationManagement::removeItem()
{
    removeOrAbandon(dm_.kpxm);
    openParticipants();
}

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
    db::DataSet& items = dm_.kpxm;
    if (!items.active() || (items.isEmpty() && !items.isEditing())) {
        app::interaction().showMessage("无考评项目，请先输入考评项目！");
        openParticipants();
        return;
    }
    // Participants name their item by 考评编号: a new item is stored first; refused, nobody is added.
    if (items.isEditing()) {
        postMasterFirst(items);
        openParticipants();
    }
    app::interaction().openWindow(kPickerCaption);
    addForEach(dm_, dm_.kpjl, chosenEmployees(dm_),
               [](db::DataSet& row, const ChosenEmployee& e) {
                   row.setValue("员工编号1", e.number);
                   row.setValue("被考评人姓名", e.name);
               },
               [this] { openParticipants(); });
    openParticipants();
    updateCount();
}

void EvaluationManagement::saveParticipant()
{
    db::DataSet& participants = dm_.kpjl;
    if (!participants.active()) return;
    if (participants.isEditing()) participants.post();
    if (participants.isEmpty()) return;
    participants.edit();
    participants.post();
}

void EvaluationManagement::removeParticipant()
{
    db::DataSet& participants = dm_.kpjl;
    if (!participants.active() || participants.isEmpty()) return;
    participants.remove();
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

bool EvaluationManagement::close()
{
    return pendingItem_.settle(dm_.kpxm, [this] { dm_.kpxm.post(); });
}

}  // namespace rsgz::personnel
