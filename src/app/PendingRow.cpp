#include "app/PendingRow.h"

#include "app/Interaction.h"

namespace rsgz::app {

void PendingRow::remember(const db::DataSet& ds)
{
    values_.clear();
    row_ = ds.currentRow();
    for (int i = 0; i < ds.fieldCount(); ++i) values_.push_back(ds.value(i));
}

bool PendingRow::changed(const db::DataSet& ds) const
{
    if (!ds.isEditing()) return false;
    const bool inserting = ds.state() == db::DataSet::State::Insert;
    if (inserting && (row_ != ds.currentRow() || static_cast<int>(values_.size()) != ds.fieldCount())) return true;
    for (int i = 0; i < ds.fieldCount(); ++i) {
        if (ds.field(i).calculated) continue;
        const db::Value before = inserting ? values_[static_cast<size_t>(i)] : ds.rowValue(ds.currentRow(), i);
        if (!(ds.value(i) == before)) return true;
    }
    return false;
}

void removeOrAbandon(db::DataSet& ds)
{
    if (!ds.active()) return;
    const bool inserting = ds.state() == db::DataSet::State::Insert;
    ds.cancel();
    if (!inserting && !ds.isEmpty()) ds.remove();
}

bool askSavePending() { return app::interaction().ask("数据已修改，是否保存？"); }

}  // namespace rsgz::app
