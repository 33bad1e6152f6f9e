#include "query/QueryDefinition.h"
#include "app/Module.h"

#include <algorithm>

#include "app/Interaction.h"

namespace rsgz::query {

namespace {
constexpr const char* kChooseOne = "请在左边的列表中选择一个字段！";

// The salary table offers its describing columns only: no salary item (gz01 …), no identity, no set.
bool offeredForSalaryTable(const std::string& name)
{
    return name.find("gz") == std::string::npos && name != "编号" && name != "序号" && name != "工资帐套";
}
}  // namespace

QueryDefinition::QueryDefinition(TreeQueries& trees, int module) : trees_(trees), module_(module)
{
    // The statistics page has no definition of its own: it shows the personnel tree.
    if (module == app::Module::Statistics || !queryModule(module) || queryModule(module)->treeKey.empty()) return;
    for (const std::string& name : trees_.candidateColumns(module))
        if (module != app::Module::SalaryTables || offeredForSalaryTable(name)) candidates_.push_back(name);
    chosen_ = trees_.fieldList(module);
}

bool QueryDefinition::add(const std::string& candidate)
{
    if (std::find(candidates_.begin(), candidates_.end(), candidate) == candidates_.end()) return false;
    if (std::find(chosen_.begin(), chosen_.end(), candidate) != chosen_.end()) return false;
    if (chosen_.size() >= kMaxLevels) {
        app::interaction().showMessage("检索列表最多四级，请先移去一个字段！");
        return false;
    }
    chosen_.push_back(candidate);
    return true;
}

bool QueryDefinition::selected(int i) const { return i >= 0 && i < static_cast<int>(chosen_.size()); }

int QueryDefinition::remove(int i)
{
    if (!selected(i)) {
        app::interaction().showMessage(kChooseOne);
        return -1;
    }
    chosen_.erase(chosen_.begin() + i);
    return std::min(i, static_cast<int>(chosen_.size()) - 1);
}

int QueryDefinition::moveUp(int i)
{
    if (!selected(i) || i == 0) {
        app::interaction().showMessage(kChooseOne);
        return i;
    }
    std::swap(chosen_[static_cast<size_t>(i)], chosen_[static_cast<size_t>(i - 1)]);
    return i - 1;
}

int QueryDefinition::moveDown(int i)
{
    if (!selected(i)) {
        app::interaction().showMessage(kChooseOne);
        return i;
    }
    if (i + 1 == static_cast<int>(chosen_.size())) return i;
    std::swap(chosen_[static_cast<size_t>(i)], chosen_[static_cast<size_t>(i + 1)]);
    return i + 1;
}

void QueryDefinition::save() { trees_.saveFieldList(module_, chosen_); }

void QueryDefinition::regenerate()
{
    if (chosen_.empty()) {
        app::interaction().showMessage("未定义查询字段！");
        return;
    }
    trees_.build(module_, chosen_);
}

}  // namespace rsgz::query
