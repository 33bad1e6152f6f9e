#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "app/OperatorRights.h"  // hasRight

namespace rsgz::app {
class TDM;
}

namespace rsgz::app {

// The rights of an operator are yes/no columns of 权限, each named after the right. The rights
// window shows them on three tabs; the column name is also the check box's caption.
struct RightsGroup {
    std::string tab;
    std::vector<std::string> rights;
};

// 人事管理, 工资管理, 系统管理, each with its rights in the order the window shows them.
const std::vector<RightsGroup>& rightsGroups();
// The 24 rights in the same order, one list.
const std::vector<std::string>& allRights();

}  // namespace rsgz::app
