#include "query/DefaultQueryFiles.h"

#include <QFileInfo>

#include "db/Gbk.h"

namespace rsgz::query {

namespace {

using Lines = std::vector<std::string>;

const Lines kDepartmentLevels = {"一级部门", "二级部门", "三级部门", "四级部门"};

Lines with(Lines head, const Lines& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// Sixty columns of the employee master, the most asked-about first.
Lines personnelColumns()
{
    return {"员工编号", "姓名", "性别", "职务", "行政级别", "一级部门", "二级部门", "三级部门", "四级部门",
            "岗位工种", "职称", "政治面貌", "用工形式", "在职状况", "婚姻状况", "籍贯", "民族", "身份证号",
            "出生年月", "学历", "专业", "毕业院校", "毕业日期", "外语语种", "外语水平", "电脑水平", "第二学历",
            "第二专业", "户口", "户籍所在地", "血型", "身体状况", "身高", "体重", "视力", "合同类别", "合同签订",
            "合同到期", "入职日期", "转正日期", "参加工作", "离职日期", "退休日期", "工资等级", "来源", "招聘介绍",
            "工资帐套名称", "发卡银行", "工资核算", "手机", "联系电话", "家庭住址", "邮政编码", "特长", "爱好",
            "员工档案号", "工号", "养老手册号", "公积金账号", "备注"};
}

Lines personnelDropDowns()
{
    return with({"性别", "职务", "行政级别"},
                with(kDepartmentLevels,
                     {"岗位工种", "职称", "政治面貌", "用工形式", "在职状况", "婚姻状况", "民族", "学历", "外语语种",
                      "外语水平", "电脑水平", "第二学历", "户口", "血型", "身体状况", "合同类别", "工资等级", "来源",
                      "招聘介绍", "工资核算"}));
}

Lines transferLevels(const std::string& when)
{
    Lines out;
    for (const std::string& level : kDepartmentLevels) out.push_back(when + level);
    return out;
}

Lines transferColumns()
{
    return with(with({"姓名", "调动类型", "调动日期"}, with(transferLevels("调动前"), transferLevels("调动后"))),
                {"调动前职务", "调动后职务", "调动前单位", "调动后单位", "调动前帐套", "调动后帐套", "调动原因", "经办人",
                 "批准人"});
}

std::vector<DefaultQueryFile> makeFiles()
{
    return {
        {"khzlfields.txt", personnelColumns()},
        {"khzlfieldss.txt", personnelDropDowns()},
        {"ddjlfields.txt", transferColumns()},
        {"ddjlfieldss.txt", with({"调动类型"}, with(transferLevels("调动前"), transferLevels("调动后")))},
        {"pxjlfieldss.txt", {"培训结果", "一级部门"}},
        {"zcpdfieldss.txt", with({"评定职称", "取得方式"}, kDepartmentLevels)},
        {"jcglfieldss.txt", with({"奖或惩", "奖惩级别"}, kDepartmentLevels)},
        {"kpqkfieldss.txt", with({"考评项目", "考评等级"}, kDepartmentLevels)},
        {"wplyfieldss.txt", with({"物品"}, kDepartmentLevels)},
        // The salary tree: set, year, month, so that a month generated is listed at once.
        {"gzb_Search.List", {"工资帐套", "年", "月"}},
        {"tongji.list",
         {"一级部门", "二级部门", "性别", "职务", "行政级别", "职称", "学历", "政治面貌", "民族", "婚姻状况", "用工形式",
          "在职状况", "岗位工种", "籍贯", "血型", "外语语种", "电脑水平", "合同类别", "工资等级", "来源"}},
    };
}

}  // namespace

const std::vector<DefaultQueryFile>& defaultQueryFiles()
{
    static const std::vector<DefaultQueryFile> files = makeFiles();
    return files;
}

void writeMissingQueryFiles(const std::string& setDir)
{
    for (const DefaultQueryFile& f : defaultQueryFiles()) {
        const std::string path = setDir + f.name;
        if (!QFileInfo::exists(QString::fromStdString(path))) db::writeSettingsLines(path, f.lines);
    }
}

}  // namespace rsgz::query
