#include "app/ModuleLists.h"

#include <algorithm>
#include <stdexcept>

#include "app/TDM.h"
#include "db/Gbk.h"

namespace rsgz::app {

namespace {

const ModuleInfo& infoOf(int module)
{
    const ModuleInfo* info = findModule(module);
    if (!info) throw std::logic_error("no module " + std::to_string(module));
    return *info;
}

// 序号 is only a row number and 编号 only the row's identity: neither is worth searching or sorting by.
void removeIdentityColumns(std::vector<std::string>& names)
{
    std::erase_if(names, [](const std::string& n) { return n == "序号" || n == "编号"; });
}

int indexOf(const std::vector<std::string>& names, const std::string& name)
{
    const auto it = std::find(names.begin(), names.end(), name);
    return it == names.end() ? -1 : static_cast<int>(it - names.begin());
}

}  // namespace

db::DataSet* ModuleLists::dataSet(int module) const
{
    const ModuleInfo* info = findModule(module);
    return info && !info->dataSet.empty() ? dm_.dataSet(info->dataSet) : nullptr;
}

void ModuleLists::open(int module)
{
    const ModuleInfo& info = infoOf(module);
    db::DataSet* ds = dataSet(module);
    if (!ds || info.sql.empty()) throw std::logic_error("module " + std::to_string(module) + " has no list of its own");
    ds->close();
    ds->setSql(info.sql);
    ds->open();
    if (!info.hasFieldLists) return;
    FieldLists lists = makeLists(info, *ds);
    lists_[info.dataSet] = lists;
    writeFieldFile(info, *ds, lists);
}

void ModuleLists::fillFromOpenList(int module)
{
    const ModuleInfo& info = infoOf(module);
    db::DataSet* ds = dataSet(module);
    if (!ds || !ds->active() || !info.hasFieldLists) return;
    lists_[info.dataSet] = makeLists(info, *ds);
}

const FieldLists& ModuleLists::fieldLists(int module) const
{
    static const FieldLists none;
    const ModuleInfo* info = findModule(module);
    if (!info) return none;
    const auto it = lists_.find(info->dataSet);
    return it == lists_.end() ? none : it->second;
}

std::string ModuleLists::fieldFilePath(int module) const
{
    const ModuleInfo* info = findModule(module);
    if (!info || info->fieldFile.empty()) return {};
    return dm_.programDir() + "set/" + info->fieldFile;
}

FieldLists ModuleLists::makeLists(const ModuleInfo& info, const db::DataSet& ds) const
{
    FieldLists lists;
    // Computed columns (ages, years of service) exist only in the program: a search or a sort on
    // them would reach the database as a column it does not have.
    for (int i = 0; i < ds.fieldCount(); ++i)
        if (!ds.field(i).calculated) lists.search.push_back(ds.field(i).name);
    if (info.trimLists) removeIdentityColumns(lists.search);
    lists.sort = lists.search;
    if (info.trimLists && !lists.search.empty()) lists.searchIndex = lists.sortIndex = 0;
    if (const int shows = indexOf(lists.sort, info.sortShows); shows >= 0) lists.sortIndex = shows;
    return lists;
}

void ModuleLists::writeFieldFile(const ModuleInfo& info, const db::DataSet& ds, const FieldLists& lists) const
{
    switch (info.fileContent) {
    case FieldFileContent::None: return;
    case FieldFileContent::AllColumns: db::writeSettingsLines(fieldFilePath(info.number), ds.fieldNames()); return;
    case FieldFileContent::SortList: db::writeSettingsLines(fieldFilePath(info.number), lists.sort); return;
    }
}

}  // namespace rsgz::app
