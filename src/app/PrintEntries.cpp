#include "app/PrintEntries.h"

#include <utility>

namespace rsgz::app {

namespace {
// Each entry prints from one module's list only.
const std::vector<std::pair<std::string, int>>& entries()
{
    static const std::vector<std::pair<std::string, int>> list = {
        {"打印员工档案表", 1}, {"打印员工报表", 1}, {"打印人员培训表", 2}, {"打印职称评定表", 3},
        {"打印人员奖惩表", 4}, {"打印人员调动表", 5}, {"打印人员考评表", 7}, {"打印物品领用表", 8},
        {"打印工资表", 11},    {"打印工资条", 11},   {"银行代发工资输出", 11},
    };
    return list;
}
}  // namespace

const std::vector<std::string>& allPrintEntries()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        for (const auto& [text, module] : entries()) n.push_back(text);
        return n;
    }();
    return names;
}

std::vector<std::string> SetPrintVisible(int module)
{
    std::vector<std::string> shown;
    for (const auto& [text, owner] : entries())
        if (owner == module) shown.push_back(text);
    return shown;
}

}  // namespace rsgz::app
