#include "app/WindowId.h"

#include <algorithm>
#include <stdexcept>

namespace rsgz::app {

namespace {

struct WindowEntry {
    WindowId id;
    std::string caption;
};

const std::vector<WindowEntry>& entries()
{
    using W = WindowId;
    static const std::vector<WindowEntry> all = {
        {W::About, "关于软件"},
        {W::Company, "公司情况"},
        {W::Rights, "权限管理"},
        {W::Backup, "数据备份"},
        {W::Restore, "数据恢复"},
        {W::CompactDatabase, "压缩数据库"},
        {W::InitializeData, "数据初始化"},
        {W::InitializeConfirmation, "初始化将删除所有数据"},
        {W::DatabaseMigration, "数据库迁移"},
        {W::Dictionary, "字典管理"},
        {W::BasicSettings, "基本资料设置"},
        {W::DepartmentEditor, "部门分类字典编辑"},
        {W::TodayDate, "取得当前日期"},
        {W::WomenRetirementAge, "女职工原退休年龄"},
        {W::EmployeeInfo, "员工信息"},
        {W::Resume, "个人简历编辑"},
        {W::Relations, "社会关系"},
        {W::Certificates, "证照记录"},
        {W::SalaryChanges, "工资变更"},
        {W::TrainingRecords, "培训记录"},
        {W::TransferRecords, "调动记录"},
        {W::RewardRecords, "奖惩情况"},
        {W::ArticleRecords, "物品领用"},
        {W::PrintContent, "定义订单打印内容"},
        {W::OnePersonTraining, "一人参加培训"},
        {W::IssueToOnePerson, "发放物品给一个人"},
        {W::TrainingManagement, "员工培训管理"},
        {W::TitleManagement, "职称评定管理"},
        {W::RewardManagement, "奖惩数据管理"},
        {W::TransferManagement, "调动数据管理"},
        {W::EvaluationManagement, "考评情况管理"},
        {W::ArticleManagement, "物品登记与发放"},
        {W::IssueEditor, "发放数据编辑"},
        {W::PickName, "选择姓名"},
        {W::PickApprover, "选择批准人"},
        {W::PickHandler, "选择经办人"},
        {W::PickRewarded, "选择被奖惩人"},
        {W::PickEvaluated, "选择被考评人"},
        {W::PickTitled, "选择被评定人"},
        {W::PickTransferred, "选择被调动人"},
        {W::PickTrainees, "选择受培训人员"},
        {W::PickIssueEmployees, "选择人员发放物品"},
        {W::PickEvaluationEmployees, "选择参加考评人员"},
        {W::PickArticle, "选择物品"},
        {W::PickCourse, "选择培训课程"},
        {W::EmployeeQuery, "员工资料综合查询"},
        {W::TrainingQuery, "培训记录查询"},
        {W::TitleQuery, "职称评定查询"},
        {W::RewardQuery, "奖惩管理查询"},
        {W::TransferQuery, "调动记录查询"},
        {W::EvaluationQuery, "考评管理查询"},
        {W::ArticleQuery, "物品领用查询"},
        {W::QueryFields, "查询字段定义窗口"},
        {W::BatchChange, "批量修改员工资料"},
        {W::EmployeeCard, "员工档案表格打印"},
        {W::PrintEmployees, "打印员工报表"},
        {W::PrintTraining, "打印人员培训表"},
        {W::PrintTitles, "打印职称评定表"},
        {W::PrintRewards, "打印人员奖惩表"},
        {W::PrintTransfers, "打印人员调动表"},
        {W::PrintEvaluations, "打印人员考评表"},
        {W::PrintArticles, "打印物品领用表"},
        {W::PrintSalaryTable, "打印工资表"},
        {W::PrintPayslips, "打印工资条"},
        {W::PrintRange, "打印表格"},
        {W::ReportPreview, "打印预览"},
        {W::ReportDesigner, "报表设置"},
        {W::ImportExcel, "导入EXCEL数据"},
        {W::ImportAccess, "导入ACCESS数据"},
        {W::ExportExcel, "导出EXCEL文件"},
        {W::PayrollSetData, "帐套数据编辑"},
        {W::SalaryItems, "工资项目设定"},
        {W::SalaryItemValues, "工资项目及初始值设置"},
        {W::IncomeTaxSettings, "所得税设置"},
        {W::NewSalaryTable, "生成新工资表"},
        {W::SalaryCard, "工资卡片编辑"},
        {W::PieceWorkEditor, "计件工资编辑"},
        {W::TimeWorkEditor, "复杂计时工资"},
        {W::TaxDeductions, "个税扣除信息"},
        {W::TaxLedger, "个人所得税台账"},
        {W::ContributionSchemes, "缴费方案设置"},
        {W::ContributionBases, "缴费基数设置"},
        {W::WithholdingDeclaration, "扣缴申报"},
        {W::BankFile, "银行代发工资文件制作"},
        {W::BankLayout, "银行报盘文件格式设置"},
    };
    return all;
}

}  // namespace

const std::string& windowCaption(WindowId id)
{
    // The table is in the order of the identities: the identity is its own index.
    return entries()[static_cast<std::size_t>(id)].caption;
}

std::optional<WindowId> windowIdOf(std::string_view caption)
{
    const auto& all = entries();
    const auto it = std::find_if(all.begin(), all.end(), [caption](const WindowEntry& e) { return e.caption == caption; });
    if (it == all.end()) return std::nullopt;
    return it->id;
}

WindowId requireWindowId(std::string_view caption)
{
    if (const std::optional<WindowId> id = windowIdOf(caption)) return *id;
    throw std::logic_error("no window has the caption " + std::string(caption));
}

const std::vector<WindowId>& allWindowIds()
{
    static const std::vector<WindowId> ids = [] {
        std::vector<WindowId> out;
        for (const WindowEntry& e : entries()) out.push_back(e.id);
        return out;
    }();
    return ids;
}

}  // namespace rsgz::app
