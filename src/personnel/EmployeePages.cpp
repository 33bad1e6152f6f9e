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

bool gridEnterMovesRight(int page)
{
    for (int p : {2, 3, 4, 9, 10, 11})
        if (p == page) return true;
    return false;
}

db::SqlLines subRecordSql(const SubRecordPage& page, const std::string& employeeNumber)
{
    const std::string where = "where 员工编号1=" + db::sqlQuote(employeeNumber);
    if (page.index == kEvaluationPage)
        return {"select 考评项目,考评结果,考评等级,考评分数,考评人1,考评日期,被考评人姓名,考评备注 from 考评情况,考评项目表",
                where, "and 考评编号1=考评编号"};
    return {std::string("select * from ") + page.table, where};
}

namespace {
using K = app::EditorFieldKind;
EmployeeField d(const char* c) { return {c, K::Dictionary}; }
EmployeeField dt(const char* c) { return {c, K::Date}; }
EmployeeField t(const char* c) { return {c}; }
EmployeeField ro(const char* c) { return {c, K::ReadOnly}; }
EmployeeField dep(const char* c) { return {c, K::Department}; }
}  // namespace

const std::vector<EmployeeGroup>& employeeGroups()
{
    static const std::vector<EmployeeGroup> groups = {
        {"员工基本数据",
         {t("员工编号"), t("姓名"), d("性别"), d("职务"), d("行政级别"), dep("一级部门"), dep("二级部门"), dep("三级部门"),
          dep("四级部门"), d("岗位工种"), d("职称"), t("手机"), t("联系电话"), d("政治面貌"), d("用工形式"), t("特长"),
          d("在职状况"), dt("入党日期"), dt("入工会日期"), dt("入团日期"), t("爱好")}},
        {"个人情况",
         {dt("出生年月"), ro("年龄"), d("婚姻状况"), d("籍贯"), d("民族"), t("身份证号"), t("邮政编码"), t("家庭住址"),
          t("户口"), t("户籍所在地"), t("养老手册号"), t("公积金账号"), t("医保帐号"), t("身高"), t("体重"), t("视力"),
          d("血型"), d("身体状况"), {"EMAIL", K::Text, "Email"}}},
        {"教育情况",
         {d("学历"), d("专业"), d("外语语种"), d("外语水平"), dt("毕业日期"), t("毕业院校"), d("电脑水平"), t("备注"),
          d("第二学历"), d("第二专业"), dt("二专毕业日期"), t("二专毕业院校")}},
        {"合同签订",
         {dt("入职日期"), dt("离职日期"), dt("合同签订"), dt("合同到期"), dt("转正日期"), dt("参加工作"), dt("退休日期"),
          ro("本单位工龄"), ro("工龄"), t("员工档案号"), {"工资等级", K::Dictionary, "", "@工资等级"}, d("来源"),
          t("招聘介绍"), d("合同类别"), {"工资帐套名称", K::Dictionary, "工资帐套", "@帐套"}, t("银行卡号"),
          {"工资核算", K::Dictionary, "", "@是否"}}},
    };
    return groups;
}

const EmployeeGroup& contactGroup()
{
    static const EmployeeGroup group = [] {
        EmployeeGroup g{"紧急联系方式", {}};
        for (const char* n : {"1", "2"})
            for (const char* part : {"姓名", "单位", "地址", "电话"})
                g.fields.push_back(t((std::string("紧急联系人") + part + n).c_str()));
        for (const char* n : {"1", "2"})
            for (const char* part : {"姓名", "单位", "地址", "电话", "邮编"})
                g.fields.push_back(t((std::string("家庭成员") + part + n).c_str()));
        return g;
    }();
    return group;
}

std::string employeeEnterNext(const std::string& column)
{
    // Two exceptions to the group order: 合同类别 goes back to 参加工作, and the payroll fields form a
    // chain of their own that ends in 工资核算.
    if (column == "合同类别") return "参加工作";
    if (column == "工资帐套名称") return "银行卡号";
    if (column == "银行卡号") return "工资核算";
    if (column == "工资核算") return column;
    std::vector<const EmployeeGroup*> groups;
    for (const EmployeeGroup& g : employeeGroups()) groups.push_back(&g);
    groups.push_back(&contactGroup());
    for (size_t gi = 0; gi < groups.size(); ++gi) {
        const auto& f = groups[gi]->fields;
        for (size_t i = 0; i < f.size(); ++i) {
            if (f[i].column != column) continue;
            if (i + 1 < f.size()) return f[i + 1].column;
            // The last group of page 0 and the contact group end their chains.
            const bool ends = gi + 1 >= groups.size() || groups[gi + 1] == &contactGroup();
            return ends ? column : groups[gi + 1]->fields.front().column;
        }
    }
    return column;
}

}  // namespace rsgz::personnel
