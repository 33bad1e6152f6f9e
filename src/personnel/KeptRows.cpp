#include "personnel/KeptRows.h"

#include <algorithm>
#include <charconv>

#include "personnel/DetailLists.h"
#include "query/ListQuery.h"

namespace rsgz::personnel {

void KeptRows::keep(const db::Value& key)
{
    if (key.isNull()) return;
    const int64_t k = key.toInt();
    if (std::find(keys_.begin(), keys_.end(), k) == keys_.end()) keys_.push_back(k);
}

void KeptRows::keepAll(const db::DataSet& ds)
{
    if (!ds.active()) return;
    const int column = ds.fieldIndex("编号");
    if (column < 0) return;
    for (int r = 0; r < ds.recordCount(); ++r) keep(ds.rowValue(r, column));
}

db::SqlLines KeptRows::sql() const
{
    // The keys are the database's own integers, written in C notation.
    std::string list;
    for (int64_t k : keys_) {
        char buf[24];
        const auto end = std::to_chars(buf, buf + sizeof buf, k).ptr;
        if (!list.empty()) list += ',';
        list.append(buf, end);
    }
    query::ListQuery q{{"select * from " + table_}, {}, {}};
    q.where(query::Condition::fixed(list.empty() ? "1=0" : "编号 in (" + list + ")"));
    return q.lines();
}

void KeptRows::reread(db::DataSet& ds)
{
    if (ds.active() && ds.isEditing()) ds.post();
    keepAll(ds);
    const db::Value current = ds.active() && ds.currentRow() >= 0 ? ds.value("编号") : db::Value();
    reopenList(ds, sql());
    if (!current.isNull()) ds.locate("编号", current);
}

}  // namespace rsgz::personnel
