#pragma once
#include <map>
#include <string>
#include <vector>

#include "payroll/TaxRules.h"

namespace rsgz::db {
class Connection;
}

// What the tax-law tables hold, read and written for the windows, the declaration and the salary
// view. The tables:
//   专项附加扣除  员工编号1, 扣除类别, 扣除方式, 子女人数, 起始年月, 结束年月 (yyyy-mm), 每月金额, 备注
//   其他扣除      员工编号1, 年月, 扣除类别 (otherDeductionCategories()), 金额, 备注
//   缴费方案      方案名称, 险种, 个人比例, 单位比例 (per cent), 个人附加额, 单位附加额, 基数下限, 基数上限
//                 (0: none), 舍入单位 (分/角/元), 舍入方式 (四舍五入/进位), 起始年月
//   缴费基数      员工编号1, 年度, 社保基数, 公积金基数 (one row per employee and year)
//   个税年度选项  员工编号1, 年度, 减除起始月 (1–12, empty: from 入职日期), 六万元扣除 (是/否),
//                 奖金计税方式 (单独计税/并入综合所得)
//   工资帐套明细.项目类别   the kind of every salary item (fixedItemKinds() or a scheme's kind)
//   帐套设置 (帐套名称, 设置项, 设置值): 计税方法 = 累计预扣/按月计税, 缴费方案 = a 方案名称
namespace rsgz::payroll::tax {

// --- per set ---------------------------------------------------------------------------------------

// A set made in the program is given 累计预扣 when it is first saved (the record rule of 帐套); the
// sets kept before the tax-law tables were given 按月计税 by the upgrade. A set without a 计税方法
// row is taxed by the month table, as every set was before.
TaxMethod taxMethodOf(db::Connection& conn, const std::string& set);
void setTaxMethod(db::Connection& conn, const std::string& set, TaxMethod method);
// Gives a set without a 计税方法 row that method; a set that has one keeps it.
void giveTaxMethod(db::Connection& conn, const std::string& set, TaxMethod method);
// A renamed set's settings under its new name (unless the new name has settings of its own).
void moveSetSettings(db::Connection& conn, const std::string& from, const std::string& to);
// The 方案名称 the set computes its contributions with; empty when none.
std::string schemeOfSet(db::Connection& conn, const std::string& set);
void setSchemeOfSet(db::Connection& conn, const std::string& set, const std::string& scheme);

// The kinds an item may hold: the fixed kinds with every kind of every scheme.
std::vector<std::string> itemKindChoices(db::Connection& conn);

// --- contributions ---------------------------------------------------------------------------------

// The rule of each kind of a scheme in force in a month: per kind, the row with the latest 起始年月
// not after the month. In the order the kinds were first entered.
std::vector<ContributionRule> schemeRules(db::Connection& conn, const std::string& scheme, YearMonth month);

struct EmployeeBases {
    Money socialInsurance, housingFund;
};
// Every employee's bases of a year (employees without a row are missing).
std::map<std::string, EmployeeBases> basesOfYear(db::Connection& conn, int year);

// The employee's and the employer's amount of every kind of the set's scheme for a month.
std::vector<ContributionAmount> contributionsOf(db::Connection& conn, const std::string& employee,
                                                const std::string& set, YearMonth month);
// The same for every employee with bases in that year, read once (the cost report, the declaration).
std::map<std::string, std::vector<ContributionAmount>> contributionsOfAll(db::Connection& conn,
                                                                          const std::string& set, YearMonth month);

// Writes each employee's part of every contribution kind an item of the set holds into the month's
// open salary rows of the set (employees with bases in that year; the others keep what they have),
// in one transaction. The caller checks the right 工资表管理 first, as the month's generation does.
// Returns the rows changed.
int fillContributions(db::Connection& conn, const std::string& set, YearMonth month);

// --- declared deductions and choices -----------------------------------------------------------------

// The employee's declarations that reach into the year.
std::vector<AdditionalDeduction> additionalDeductionsOf(db::Connection& conn, const std::string& employee, int year);
// Every employee's, read once.
std::map<std::string, std::vector<AdditionalDeduction>> additionalDeductionsOfYear(db::Connection& conn, int year);

// Other lawful deductions (and 减免税额) of a year: per employee, per month 1–12, per category.
using MonthlyCategories = std::map<int, std::map<std::string, Money>>;
std::map<std::string, MonthlyCategories> otherDeductionsOfYear(db::Connection& conn, int year);

inline constexpr const char* kBonusOnItsOwn = "单独计税";
inline constexpr const char* kBonusAdded = "并入综合所得";

struct YearChoices {
    int firstMonth = 0;          // 减除起始月 override, 0: from 入职日期
    bool sixtyThousand = false;  // 六万元扣除
    bool bonusOnItsOwn = true;   // 奖金计税方式
};
std::map<std::string, YearChoices> yearChoices(db::Connection& conn, int year);
YearChoices yearChoicesOf(db::Connection& conn, const std::string& employee, int year);

}  // namespace rsgz::payroll::tax
