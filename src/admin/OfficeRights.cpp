#include "admin/OfficeRights.h"

#include <algorithm>

#include "app/PasswordHash.h"
#include "app/Rights.h"
#include "app/TDM.h"

namespace rsgz::admin {

namespace {

db::OfficeGrants makeGrants()
{
    db::OfficeGrants g;
    g.rights = app::allRights();
    g.manageRight = "权限管理";
    // Statistics results, picked employees and sort settings are scratch lists of whoever works;
    // whoever closes first on a day records the day's copy of the database.
    g.everyoneWrites = {"人员统计", "选择人员", "排序表", "每日备份"};
    g.writesOfRight = {
        {"档案管理", {"员工基本情况", "数据字典", "部门分类", "女职工退休年龄"}},
        {"个人简历", {"个人经历"}},
        {"社会关系", {"社会关系"}},
        {"证照列表", {"证照列表"}},
        {"工资变更", {"工资晋升"}},
        {"培训管理", {"培训记录", "培训课程"}},
        {"调动管理", {"调动记录"}},
        {"职称管理", {"职称评定"}},
        {"奖惩管理", {"奖惩情况"}},
        {"考评管理", {"考评情况", "考评项目表"}},
        {"物品发放", {"物品领用", "物品登记"}},
        {"帐套管理", {"帐套", "工资帐套明细", "所得税设置", "默认工资项目", "工资等级", "默认工资等级值", "代发工资格式",
                      "帐套设置", "缴费方案"}},
        {"工资表管理", {"工资表", "专项附加扣除", "其他扣除", "个税年度选项", "缴费基数"}},
        {"计件工资", {"计件工资", "产品库", "工序库"}},
        {"计时工资", {"计时工资"}},
        {"系统初始化", {"公司数据"}},
    };
    // Assigning employees to a payroll set writes that one column of the employee.
    g.columnUpdatesOfRight = {{"员工帐套设定", {{"员工基本情况", "工资帐套名称"}}}};
    return g;
}

}  // namespace

const db::OfficeGrants& officeGrants()
{
    static const db::OfficeGrants grants = makeGrants();
    return grants;
}

const std::vector<std::string>& tablesNobodyWrites()
{
    static const std::vector<std::string> tables = {"权限"};
    return tables;
}

std::vector<std::string> newOperatorRights()
{
    std::vector<std::string> rights = app::allRights();
    std::erase_if(rights, [](const std::string& r) { return r == "证照列表" || r == "工资变更"; });
    return rights;
}

void createOffice(const db::ServerTarget& admin, const std::string& database, const std::string& firstOperator,
                  const std::string& password)
{
    db::createOffice(admin, database, officeGrants(), firstOperator, password);
}

void dropOffice(const db::ServerTarget& admin, const std::string& database) { db::dropOffice(admin, database, officeGrants()); }

int upgradeOffice(const db::ServerTarget& adminInOffice) { return db::upgradeOffice(adminInOffice, officeGrants()); }

bool isOperatorPassword(app::TDM& dm, const std::string& typed)
{
    if (typed.empty()) return false;
    if (!dm.DMADO.isServer()) {
        const std::string stored = dm.zh.active() && !dm.zh.isEmpty() ? dm.zh.asString("密码") : std::string();
        return app::verifyPassword(stored, typed);
    }
    db::ServerTarget again = *dm.DMADO.server();
    again.password = typed;
    try {
        db::Connection check(again);
        check.open();
        return true;
    } catch (const db::DbError& e) {
        if (e.kind() == db::DbError::Kind::Denied) return false;
        throw;
    }
}

}  // namespace rsgz::admin
