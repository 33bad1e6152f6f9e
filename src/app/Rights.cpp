#include "app/Rights.h"

#include "app/OperatorRights.h"

namespace rsgz::app {

const std::vector<RightsGroup>& rightsGroups()
{
    static const std::vector<RightsGroup> groups = {
        {"人事管理",
         {"档案管理", "培训管理", "奖惩管理", "职称管理", "调动管理", "信息统计", "物品发放", "考评管理", "个人简历",
          "社会关系", "证照列表", "工资变更"}},
        {"工资管理",
         {"帐套管理", "工资表管理", "工资表汇总", "员工帐套设定", "工资表格式调整", "计件工资", "计时工资", "结帐处理"}},
        {"系统管理", {"权限管理", "数据备份", "系统初始化", "数据恢复"}},
    };
    return groups;
}

const std::vector<std::string>& allRights()
{
    static const std::vector<std::string> all = [] {
        std::vector<std::string> v;
        for (const RightsGroup& g : rightsGroups()) v.insert(v.end(), g.rights.begin(), g.rights.end());
        return v;
    }();
    return all;
}

}  // namespace rsgz::app
