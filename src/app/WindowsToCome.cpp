#include "app/WindowsToCome.h"

namespace rsgz::app {

const std::set<std::string>& windowsToCome()
{
    static const std::set<std::string> captions = {
        // The menus.
        "打印员工报表", "打印人员培训表", "打印职称评定表",
        "打印人员奖惩表", "打印人员调动表", "打印人员考评表", "打印物品领用表", "打印工资表", "打印工资条",
    };
    return captions;
}

bool isWindowToCome(const std::string& caption) { return windowsToCome().count(caption) != 0; }

}  // namespace rsgz::app
