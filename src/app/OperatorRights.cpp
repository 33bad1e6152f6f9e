#include "app/OperatorRights.h"

#include <utility>

#include "app/TDM.h"
#include "db/DbError.h"

namespace rsgz::app {

bool hasRight(const TDM& dm, std::string_view right)
{
    const db::DataSet& zh = dm.zh;
    if (!zh.active() || zh.isEmpty() || zh.currentRow() < 0) return false;
    const int index = zh.fieldIndex(right);
    if (index < 0) return false;
    return zh.value(index).toBool();
}

std::string refusalText(std::string_view right)
{
    return "权限不足!需要“" + std::string(right) + "”权限才能修改这些数据!";
}

void requireRight(TDM& dm, std::string_view right)
{
    if (hasRight(dm, right)) return;
    dm.ShowMessage_jd(refusalText(right));
    db::abortSilently();
}

std::string_view rightOfDataSet(std::string_view dataSet)
{
    // Each kind of record is guarded by the right named after it, wherever it is edited: the
    // sub-record pages of the employee window need the same right as the module of that record.
    static constexpr std::pair<std::string_view, std::string_view> guards[] = {
        {"rszl", "档案管理"},     {"zidian", "档案管理"},   {"jcsz", "档案管理"},
        {"grjl", "个人简历"},     {"shgx", "社会关系"},     {"zzlb", "证照列表"},
        {"gzjs", "工资变更"},     {"pxjl", "培训管理"},     {"pxjl1", "培训管理"},
        {"pxkc", "培训管理"},     {"ddjl", "调动管理"},     {"ddjl1", "调动管理"},
        {"zcpd", "职称管理"},     {"zcpd1", "职称管理"},    {"jcqk", "奖惩管理"},
        {"jcqk1", "奖惩管理"},    {"kpqk", "考评管理"},     {"kpqk1", "考评管理"},
        {"kpxm", "考评管理"},     {"kpjl", "考评管理"},     {"wply", "物品发放"},
        {"wply1", "物品发放"},    {"wpdj", "物品发放"},     {"wplyjl", "物品发放"},
        {"gz_zt", "帐套管理"},    {"zt_mx", "帐套管理"},    {"sds_set", "帐套管理"},
        {"gzxmd", "帐套管理"},    {"gzdj", "帐套管理"},     {"gzdj_gzxm", "帐套管理"},
        {"dfgz_set", "帐套管理"}, {"gzb", "工资表管理"},    {"jjgz", "计件工资"},
        {"jsgz", "计时工资"},     {"qxgl", "权限管理"},     {"gs_data", "系统初始化"},
    };
    for (const auto& [name, right] : guards)
        if (name == dataSet) return right;
    return {};
}

}  // namespace rsgz::app
