#include "app/ModuleInfo.h"
#include "app/Module.h"

#include <vector>

namespace rsgz::app {

namespace {

// The statements are kept exactly as the lists have always been read, spaces included: later
// steps (query trees, sorting) take them apart line by line.
std::vector<ModuleInfo> makeModules()
{
    using C = FieldFileContent;
    return {
        {1, "人事资料", "rszl", "员工信息", "员工资料综合查询", "khzlfield.txt", C::AllColumns, true, "员工编号", true,
         {"select * from 员工基本情况"}},
        {2, "培训管理", "pxjl", "员工培训管理", "培训记录查询", "pxjlfields.txt", C::AllColumns, false, "", true,
         {"select 开始日期,结束日期,培训名称,培训内容,培训单位,受培训人姓名,一级部门,二级部门,三级部门,四级部门,"
          "培训结果,培训费用,培训备注,课程编号,员工编号 from 培训课程,员工基本情况,培训记录",
          "where 课程编号=课程编号1", "and 员工编号1=员工编号"}},
        {3, "职称评定", "zcpd1", "职称评定管理", "职称评定查询", "zcpdfields.txt", C::SortList, true, "", true,
         {"select 被评定人姓名,评定职称,取得日期,取得方式,聘用专业技术职务,聘用起始日,聘用结束日,聘用单位,职称英语,",
          "职称英语取得日期,职称计算机, 职称计算机取得日期,职称备注,一级部门,二级部门,三级部门,四级部门  from "
          "职称评定,员工基本情况",
          "where 员工编号1=员工编号"}},
        {4, "奖惩情况", "jcqk1", "奖惩数据管理", "奖惩管理查询", "jcglfields.txt", C::SortList, true, "", true,
         {"select 奖惩日期,奖惩人姓名,奖或惩,奖惩内容,奖惩原因,奖惩级别,批准部门,批准人,撤销日期,撤销原因,奖惩备注,"
          "一级部门,二级部门,三级部门,四级部门,员工编号,奖惩情况.编号 as 编号 from 奖惩情况,员工基本情况",
          "where 员工编号1=员工编号", "order by  奖惩情况.编号 desc"}},
        {5, "调动情况", "ddjl1", "调动数据管理", "调动记录查询", "", C::None, true, "", true,
         {"select * from 调动记录"}},
        {6, "人员信息统计", "rytongji", "", "", "", C::None, false, "", false, {"select * from 人员统计"}},
        {7, "考评记录", "kpqk1", "考评情况管理", "考评管理查询", "kpqkfields.txt", C::SortList, true, "", true,
         {"select 员工编号,被考评人姓名,考评项目,考评结果,考评等级,考评分数,考评人1,考评日期,考评备注,性别,职务,"
          "行政级别,一级部门,二级部门,三级部门,四级部门,职称 from 考评情况,考评项目表,员工基本情况",
          "where 考评编号=考评编号1", " and 员工编号1=员工编号"}},
        {8, "物品发放", "wply1", "物品登记与发放", "物品领用查询", "wplyfields.txt", C::SortList, true, "", true,
         {"select 物品编号,物品,领用日期,归还日期,数量,价值,领用备注,领用人姓名,一级部门,二级部门, 三级部门,四级部门,"
          "签字 from 物品领用,员工基本情况",
          "where 员工编号1=员工编号"}},
        {9, "工资帐套管理", "gz_zt", "", "", "", C::None, false, "", false, {}},
        // The payroll-set assignment shows the employee list restricted to employees on the payroll,
        // through the same opening as the personnel records (the same field list file included).
        {10, "人员工资帐套设置", "rszl", "", "员工资料综合查询", "khzlfield.txt", C::AllColumns, true, "员工编号", true,
         {"select * from 员工基本情况", "where 工资核算='是'"}},
        {11, "工资表管理", "gzb", "工资卡片编辑", "", "", C::None, true, "", false, {}},
        {12, "计时工资", "jsgz", "复杂计时工资", "", "", C::None, true, "", true, {"select * from 计时工资"}},
        {13, "计件工资", "jjgz", "计件工资编辑", "", "", C::None, true, "", true, {"select * from 计件工资"}},
    };
}

}  // namespace

const ModuleInfo* findModule(int number)
{
    static const std::vector<ModuleInfo> modules = makeModules();
    for (const ModuleInfo& m : modules)
        if (m.number == number) return &m;
    return nullptr;
}

bool isRecordModule(int number)
{
    return number >= moduleNumber(Module::Personnel) && number <= moduleNumber(Module::Articles) &&
           number != Module::Statistics;
}

bool isPayrollModule(int number)
{
    return number >= moduleNumber(Module::PayrollSets) && number <= moduleNumber(Module::PieceWork);
}

}  // namespace rsgz::app
