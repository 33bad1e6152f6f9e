#include "app/GridTotals.h"

#include "db/DataSet.h"

namespace rsgz::app {

GridTotals gridTotals(const db::DataSet& ds, const std::vector<int>& fields)
{
    GridTotals t;
    t.sums.resize(fields.size());
    if (!ds.active()) return t;
    const int rows = ds.rowCount();
    for (size_t c = 0; c < fields.size(); ++c) {
        const int f = fields[c];
        if (f < 0 || f >= ds.fieldCount()) continue;
        const db::FieldType type = ds.field(f).type;
        if (type == db::FieldType::Text && t.labelColumn < 0) t.labelColumn = static_cast<int>(c);
        if (type != db::FieldType::Currency) continue;
        db::Money sum;
        for (int r = 0; r < rows; ++r) {
            const db::Value v = ds.valueAt(r, f);
            if (!v.isNull()) sum = sum + v.toMoney().toFen();
        }
        t.sums[c] = sum;
    }
    return t;
}

std::vector<std::string> GridTotals::texts() const
{
    std::vector<std::string> out(sums.size());
    for (size_t c = 0; c < sums.size(); ++c)
        if (sums[c]) out[c] = sums[c]->toString(2);
    if (labelColumn >= 0 && static_cast<size_t>(labelColumn) < out.size()) out[static_cast<size_t>(labelColumn)] = "合计";
    return out;
}

}  // namespace rsgz::app
