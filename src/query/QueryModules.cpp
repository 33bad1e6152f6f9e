#include "query/QueryModules.h"

namespace rsgz::query {

namespace {

using C = Condition;

const std::vector<QueryModule>& modules()
{
    const C employee = C::fixed("员工编号1=员工编号");
    static const std::vector<QueryModule> all = {
        {1, "rszl", "rszl", "rszl", true, true, true, {"select * from 员工基本情况"}, "员工基本情况", {}, {}},
        {2, "pxjl", "pxgl", "pxgl", false, true, true,
         {"select 开始日期,结束日期,培训名称,培训内容,培训单位,受培训人姓名,一级部门,二级部门,三级部门,四级部门,"
          "培训结果,培训费用,培训备注,课程编号,员工编号 from 培训课程,员工基本情况,培训记录"},
         "培训课程,员工基本情况,培训记录",
         {C::fixed("课程编号=课程编号1"), employee}, {}},
        {3, "zcpd1", "zcpd", "zcpd", false, true, true,
         {"select 被评定人姓名,评定职称,取得日期,取得方式,聘用专业技术职务,聘用起始日,聘用结束日,聘用单位,职称英语,",
          "职称英语取得日期,职称计算机, 职称计算机取得日期,职称备注,一级部门,二级部门,三级部门,四级部门  from "
          "职称评定,员工基本情况"},
         "职称评定,员工基本情况",
         {employee}, {}},
        {4, "jcqk1", "jcgl", "jcqk", false, true, true,
         {"select 奖惩日期,奖惩人姓名,奖或惩,奖惩内容,奖惩原因,奖惩级别,批准部门,批准人,撤销日期,撤销原因,奖惩备注,"
          "一级部门,二级部门,三级部门,四级部门,员工编号,奖惩情况.编号 as 编号 from 奖惩情况,员工基本情况"},
         "奖惩情况,员工基本情况",
         {employee}, {{"奖惩情况.编号", true}}},
        {5, "ddjl1", "ddgl", "ddgl", false, true, true, {"select * from 调动记录"}, "调动记录", {}, {}},
        // The statistics page shows the personnel tree read-only; what a click counts is its own.
        {6, "rszl", "rszl", "rszl", false, false, false, {"select * from 员工基本情况"}, "员工基本情况", {}, {}},
        // Evaluations are searched through their own list, whose columns all exist.
        {7, "kpqk1", "kpgl", "kpqk", false, true, true,
         {"select 员工编号,被考评人姓名,考评项目,考评结果,考评等级,考评分数,考评人1,考评日期,考评备注,性别,职务,"
          "行政级别,一级部门,二级部门,三级部门,四级部门,职称 from 考评情况,考评项目表,员工基本情况"},
         "考评情况,考评项目表,员工基本情况",
         {C::fixed("考评编号=考评编号1"), employee}, {}},
        {8, "wply1", "wply", "wply", false, true, true,
         {"select 物品编号,物品,领用日期,归还日期,数量,价值,领用备注,领用人姓名,一级部门,二级部门, 三级部门,四级部门,"
          "签字 from 物品领用,员工基本情况"},
         "物品领用,员工基本情况",
         {employee}, {}},
        {10, "rszl", "rszl", "rszl", true, true, false, {"select * from 员工基本情况"}, "员工基本情况",
         {C::equals("工资核算", db::Value("是"), db::FieldType::Text)}, {}},
        // The salary-table tree is built and kept here; a click on it is the payroll view's own filter.
        {11, "gzb", "gzb", "gzb", true, false, false, {"select * from 工资表"}, "工资表", {}, {}},
        // The work lists keep no tree; their quick search and sort bar work like the other lists'.
        {12, "jsgz", "", "", false, false, true, {"select * from 计时工资"}, "计时工资", {}, {}},
        {13, "jjgz", "", "", false, false, true, {"select * from 计件工资"}, "计件工资", {}, {}},
    };
    return all;
}

}  // namespace

const QueryModule* queryModule(int number)
{
    for (const QueryModule& m : modules())
        if (m.number == number) return &m;
    return nullptr;
}

ListQuery baseQuery(const QueryModule& m) { return filteredQuery(m, {}, true); }

ListQuery filteredQuery(const QueryModule& m, std::vector<Condition> conditions, bool keepOrder)
{
    ListQuery q;
    q.select = m.select;
    q.conditions = std::move(conditions);
    q.conditions.insert(q.conditions.end(), m.joins.begin(), m.joins.end());
    if (keepOrder) q.order = m.order;
    return q;
}

std::string treeFilePath(const std::string& programDir, const QueryModule& m)
{
    return m.treeKey.empty() ? std::string() : programDir + "set/" + m.treeKey + ".list";
}

std::string fieldListPath(const std::string& programDir, const QueryModule& m)
{
    return m.listKey.empty() ? std::string() : programDir + "set/" + m.listKey + "_Search.List";
}

}  // namespace rsgz::query
