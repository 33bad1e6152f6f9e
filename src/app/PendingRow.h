#pragma once
// What a record window does with the row it leaves open when it closes: an appended row nobody
// touched is dropped, a changed row is the user's to save or to discard.
#include <vector>

#include "db/DataSet.h"

namespace rsgz::app {

class PendingRow {
public:
    // Remembers the row being inserted as it stands now (after its defaults were filled).
    void remember(const db::DataSet& ds);
    // True when the dataset holds an edit that differs from what was stored or remembered.
    bool changed(const db::DataSet& ds) const;
    // On closing: an untouched new row is cancelled; a changed one is asked about ("保存" posts it
    // through save, otherwise it is cancelled). False when the save was refused and the window
    // should stay open.
    template <class Save>
    bool settle(db::DataSet& ds, Save save);

private:
    std::vector<db::Value> values_;
    int row_ = -1;
};

bool askSavePending();  // "数据已修改，是否保存？"

// 删除 of a record window: a row being inserted is abandoned; otherwise the current row, if there is
// one, is deleted after the dataset's own question (a pending edit of it is dropped first).
void removeOrAbandon(db::DataSet& ds);

template <class Save>
bool PendingRow::settle(db::DataSet& ds, Save save)
{
    if (!ds.active() || !ds.isEditing()) return true;
    if (!changed(ds) || !askSavePending()) {
        ds.cancel();
        return true;
    }
    try {
        save();
    } catch (const db::Abort&) {
        return false;
    }
    return true;
}

}  // namespace rsgz::app
