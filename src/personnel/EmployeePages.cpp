#include "personnel/EmployeePages.h"

namespace rsgz::personnel {

const char* employeePageCaption(int page)
{
    static const char* const captions[kEmployeePageCount] = {"基本信息", "辅助信息", "个人简历", "社会关系",
                                                             "证件列表", "培训记录", "调动记录", "职称评定",
                                                             "奖惩情况", "工资变更", "考评记录", "物品领用"};
    return page >= 0 && page < kEmployeePageCount ? captions[page] : "";
}

const std::vector<SubRecordPage>& subRecordPages()
{
    static const std::vector<SubRecordPage> pages = {
        {2, "个人简历", "grjl", "个人经历",
         {"序号", "起始日期", "结束日期", "学校或者工作单位", "部门", "职务", "备注", "员工编号1"}, "个人简历编辑",
         "baobiao/个人简历报表.dat"},
        {3, "社会关系", "shgx", "社会关系",
         {"序号", "姓名", "与本人关系", "工作单位", "部门", "职务", "联系电话", "政治面貌", "备注", "员工编号1"}, "社会关系",
         "baobiao/社会关系报表.dat"},
        {4, "证件列表", "zzlb", "证照列表",
         {"序号", "证照类型", "证照名称", "证照编号", "取得日期", "失效日期", "发证机构", "备注", "员工编号1"}, "证照记录",
         "baobiao/证件报表.dat"},
        {5, "培训记录", "pxjl1", "培训记录",
         {"序号", "受培训人姓名", "培训结果", "培训费用", "培训备注", "课程编号1", "员工编号1"}, "培训记录",
         "baobiao/培训记录报表.dat"},
        {6, "调动记录", "ddjl", "调动记录",
         {"序号", "调动类型", "调动日期", "调动前一级部门", "调动前二级部门", "调动前三级部门", "调动前四级部门",
          "调动后一级部门", "调动后二级部门", "调动后三级部门", "调动后四级部门", "调动前职务", "调动后职务", "调动前单位",
          "调动后单位", "调动原因", "经办人", "姓名", "批准人", "调动后帐套", "调动前帐套", "员工编号1"},
         "调动记录", "baobiao/调动记录报表.dat"},
        // The title table keeps its remark in 职称备注; it has no 备注.
        {7, "职称评定", "zcpd", "职称评定",
         {"序号", "评定职称", "取得日期", "取得方式", "聘用专业技术职务", "聘用起始日", "聘用结束日", "聘用单位", "职称英语",
          "职称英语取得日期", "职称计算机", "职称计算机取得日期", "职称备注", "员工编号1"},
         "职称评定管理", "baobiao/职称评定报表.dat"},
        {8, "奖惩情况", "jcqk", "奖惩情况",
         {"序号", "奖惩人姓名", "奖或惩", "奖惩内容", "奖惩原因", "奖惩级别", "批准部门", "批准人", "奖惩日期", "撤销日期",
          "撤销原因", "奖惩备注", "员工编号1"},
         "奖惩情况", "baobiao/奖惩情况报表.dat"},
        {9, "工资变更", "gzjs", "工资晋升", {"序号", "工资等级", "晋升日期", "晋升前工资", "晋升后工资", "备注", "员工编号1"},
         "工资变更", "baobiao/工资变更报表.dat"},
        {10, "考评记录", "kpqk", "考评情况",
         {"序号", "考评项目", "考评结果", "考评等级", "考评分数", "考评人1", "考评日期", "被考评人姓名"}, "",
         "baobiao/考评记录报表.dat"},
        {11, "物品领用", "wply", "物品领用",
         {"序号", "领用日期", "领用人姓名", "物品", "数量", "领用备注", "签字", "归还日期", "价值", "物品编号", "员工编号1"},
         "物品领用", "baobiao/物品领用报表.dat"},
    };
    return pages;
}

const SubRecordPage* subRecordPage(int page)
{
    for (const SubRecordPage& p : subRecordPages())
        if (p.index == page) return &p;
    return nullptr;
}

db::SqlLines subRecordSql(const SubRecordPage& page, const std::string& employeeNumber)
{
    const std::string where = "where 员工编号1=" + db::sqlQuote(employeeNumber);
    if (page.index == kEvaluationPage)
        return {"select 考评项目,考评结果,考评等级,考评分数,考评人1,考评日期,被考评人姓名,考评备注 from 考评情况,考评项目表",
                where, "and 考评编号1=考评编号"};
    return {std::string("select * from ") + page.table, where};
}

}  // namespace rsgz::personnel
