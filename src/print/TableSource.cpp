#include "print/TableSource.h"

#include <QDateTime>

#include "db/DataSet.h"

namespace rsgz::print {

std::string displayText(const db::Value& v, db::FieldType type)
{
    if (v.isNull()) return {};
    switch (type) {
    case db::FieldType::Currency: return v.toMoney().toString(2);
    case db::FieldType::DateTime: {
        const QDateTime dt = v.toDateTime();
        if (!dt.isValid()) return v.toString();
        return (dt.time() == QTime(0, 0) ? dt.date().toString(QStringLiteral("yyyy-MM-dd"))
                                          : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
            .toStdString();
    }
    case db::FieldType::YesNo: return v.toBool() ? "是" : "否";
    default: return v.toString();
    }
}

DataSetSource::DataSetSource(const db::DataSet& ds, std::vector<PrintItem> grid) : ds_(ds), grid_(std::move(grid))
{
    if (!grid_.empty() || !ds_.active()) return;
    for (const std::string& f : ds_.fieldNames()) grid_.push_back({f, f});
}

std::vector<std::string> DataSetSource::gridTitles() const
{
    std::vector<std::string> out;
    for (const PrintItem& g : grid_) out.push_back(g.title);
    return out;
}

int DataSetSource::rowCount() const { return ds_.active() ? ds_.recordCount() : 0; }

int DataSetSource::fieldOf(const std::string& item) const
{
    if (!ds_.active() || item.empty()) return -1;
    for (const PrintItem& g : grid_)
        if (g.title == item) return ds_.fieldIndex(g.field);
    return ds_.fieldIndex(item);
}

bool DataSetSource::isNumber(int field) const
{
    switch (ds_.field(field).type) {
    case db::FieldType::Currency:
    case db::FieldType::Double:
    case db::FieldType::Integer:
    case db::FieldType::Unknown: return true;
    default: return false;
    }
}

db::Value DataSetSource::value(int row, int field) const { return ds_.valueAt(row, field); }

std::string DataSetSource::text(int row, int field) const
{
    return displayText(ds_.valueAt(row, field), ds_.field(field).type);
}

}  // namespace rsgz::print
