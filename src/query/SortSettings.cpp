#include "query/SortSettings.h"

#include <QFileInfo>

#include "app/TDM.h"
#include "db/Gbk.h"

namespace rsgz::query {

bool SortSettings::openRow(int module)
{
    db::DataSet& pxb = dm_.pxb;
    pxb.close();
    pxb.setSql({"select * from 排序表", "where 窗口号=" + std::to_string(module)});
    pxb.open();
    return pxb.recordCount() == 1;
}

SortSettings::Row SortSettings::open(int module)
{
    db::DataSet& pxb = dm_.pxb;
    openRow(module);
    if (pxb.isEmpty()) {
        pxb.append();
        pxb.setValue("窗口号", db::Value(module));
        pxb.setValue("查询宽度", db::Value(kDefaultWidth));
        pxb.post();
    }
    Row row;
    row.field = pxb.asString("排序字段");
    row.order = pxb.asString("升降序");
    row.width = pxb.isNull("查询宽度") ? kDefaultWidth : static_cast<int>(pxb.asInt("查询宽度"));
    return row;
}

std::optional<SortSettings::Row> SortSettings::read(int module)
{
    if (!openRow(module)) return std::nullopt;
    db::DataSet& pxb = dm_.pxb;
    return Row{pxb.asString("排序字段"), pxb.asString("升降序"),
               pxb.isNull("查询宽度") ? kDefaultWidth : static_cast<int>(pxb.asInt("查询宽度"))};
}

bool SortSettings::saveSort(int module, const std::string& field, const std::string& order)
{
    if (!openRow(module)) return false;
    db::DataSet& pxb = dm_.pxb;
    pxb.edit();
    pxb.setValue("排序字段", db::Value(field));
    pxb.setValue("升降序", db::Value(order));
    pxb.post();
    return true;
}

bool SortSettings::saveWidth(int module, int width)
{
    if (!openRow(module)) return false;
    db::DataSet& pxb = dm_.pxb;
    pxb.edit();
    pxb.setValue("查询宽度", db::Value(width));
    pxb.post();
    return true;
}

std::string SortSettings::searchFieldPath(int module) const
{
    return dm_.programDir() + "set/" + std::to_string(module) + "searchFieldName.dat";
}

std::optional<std::string> SortSettings::searchField(int module) const
{
    const std::string path = searchFieldPath(module);
    if (!QFileInfo::exists(QString::fromStdString(path))) return std::nullopt;
    std::vector<std::string> lines;
    try {
        lines = db::readSettingsLines(path);
    } catch (const std::exception&) {
        return std::nullopt;  // an unreadable choice is as good as none; the next choice rewrites it
    }
    if (lines.size() != 1) return std::nullopt;
    return lines.front();
}

void SortSettings::saveSearchField(int module, const std::string& name) const
{
    db::writeSettingsLines(searchFieldPath(module), {name});
}

}  // namespace rsgz::query
