#include "print/ReportTable.h"

#include "db/DataSet.h"

namespace rsgz::print {

int ReportTable::fieldIndex(const std::string& name) const
{
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i] == name)
            return static_cast<int>(i);
    return -1;
}

ReportTable ReportTable::fromDataSet(const db::DataSet& ds)
{
    ReportTable t;
    if (!ds.active())
        return t;
    t.fields = ds.fieldNames();
    const int n = ds.fieldCount();
    t.rows.reserve(static_cast<size_t>(ds.rowCount()));
    for (int r = 0; r < ds.rowCount(); ++r) {
        std::vector<db::Value> row;
        row.reserve(static_cast<size_t>(n));
        for (int c = 0; c < n; ++c)
            row.push_back(ds.valueAt(r, c));
        t.rows.push_back(std::move(row));
    }
    return t;
}

}  // namespace rsgz::print
