#include "app/WindowsToCome.h"

namespace rsgz::app {

const std::set<std::string>& windowsToCome()
{
    static const std::set<std::string> captions = {
        // The menus.
        "员工档案表格打印", "打印员工报表", "打印人员培训表", "打印职称评定表",
        "打印人员奖惩表", "打印人员调动表", "打印人员考评表", "打印物品领用表", "打印工资表", "打印工资条",
        // The system group.
        "数据备份", "数据恢复", "数据初始化", "压缩数据库",
        // The module panels: double-click, 多条件查询 and the tree menu.
        "员工培训管理", "职称评定管理", "奖惩数据管理", "调动数据管理", "考评情况管理", "物品登记与发放",
    };
    return captions;
}

bool isWindowToCome(const std::string& caption) { return windowsToCome().count(caption) != 0; }

}  // namespace rsgz::app
