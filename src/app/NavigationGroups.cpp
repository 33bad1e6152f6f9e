#include "app/NavigationGroups.h"

namespace rsgz::app {

const std::vector<NavigationGroup>& navigationGroups()
{
    static const std::vector<NavigationGroup> groups = {
        {"人事管理",
         {{"人员档案管理", 1}, {"人员培训管理", 2}, {"人员职称评定", 3}, {"人员奖惩管理", 4}, {"人员调动管理", 5},
          {"人员考评管理", 7}, {"工作物品发放", 8}, {"人员信息统计", 6}, {"到期提醒", 0}}},
        {"工资管理",
         {{"工资帐套管理", 9}, {"人员帐套设置", 10}, {"工资表管理", 11}, {"计时工资", 12}, {"计件工资", 13},
          {"月末处理", 0}}},
        {"系统管理",
         {{"操作员设置"}, {"基本资料管理"}, {"数据备份"}, {"数据恢复"}, {"数据初始化"}, {"压缩数据库"},
          {"公司数据"}}},
    };
    return groups;
}

}  // namespace rsgz::app
