#include "exchange/ExportColumns.h"

#include <algorithm>

#include "app/Interaction.h"
#include "app/TDM.h"

namespace rsgz::exchange {

std::vector<std::string> ExportColumns::employeeColumns(app::TDM& dm)
{
    if (!dm.rszl.active()) dm.rszl.open();
    std::vector<std::string> names = dm.rszl.fieldNames();
    std::erase_if(names, [](const std::string& n) { return n == "序号" || n == "编号"; });
    return names;
}

void ExportColumns::add(int offeredRow)
{
    if (offeredRow < 0 || static_cast<size_t>(offeredRow) >= offered_.size()) {
        app::interaction().showMessage("请在左边列表中选择一个字段！");
        return;
    }
    const std::string& name = offered_[static_cast<size_t>(offeredRow)];
    if (std::find(chosen_.begin(), chosen_.end(), name) == chosen_.end()) chosen_.push_back(name);
}

void ExportColumns::addAll() { chosen_ = offered_; }

void ExportColumns::remove(int chosenRow)
{
    if (chosenRow < 0 || static_cast<size_t>(chosenRow) >= chosen_.size()) {
        app::interaction().showMessage("请在右边的列表中选择一个字段！");
        return;
    }
    chosen_.erase(chosen_.begin() + chosenRow);
}

}  // namespace rsgz::exchange
