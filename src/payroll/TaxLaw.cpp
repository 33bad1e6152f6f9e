#include "payroll/TaxLaw.h"

#include <algorithm>

#include "db/Connection.h"
#include "db/BoundStatement.h"
#include "payroll/SalaryColumns.h"

namespace rsgz::payroll::tax {

namespace {

const char* const kMethodKey = "计税方法";
const char* const kSchemeKey = "缴费方案";

std::string setting(db::Connection& conn, const std::string& set, const char* key, bool* found = nullptr)
{
    db::BoundStatement st(conn, "select 设置值 from 帐套设置 where 帐套名称=? and 设置项=? order by 编号 limit 1");
    st.bind(1, std::string_view(set)).bind(2, std::string_view(key));
    const bool has = st.step();
    if (found) *found = has;
    return has ? st.textOrEmpty(0) : std::string();
}

void setSetting(db::Connection& conn, const std::string& set, const char* key, const std::string& value)
{
    db::Transaction t(conn);
    db::BoundStatement drop(conn, "delete from 帐套设置 where 帐套名称=? and 设置项=?");
    drop.bind(1, std::string_view(set)).bind(2, std::string_view(key)).run();
    db::BoundStatement add(conn, "insert into 帐套设置 (帐套名称, 设置项, 设置值) values (?, ?, ?)");
    add.bind(1, std::string_view(set)).bind(2, std::string_view(key)).bind(3, std::string_view(value)).run();
    t.commit();
}

std::string yearPattern(int year) { return std::to_string(year) + "-%"; }

AdditionalDeduction deductionFrom(const db::BoundStatement& st, int first)
{
    AdditionalDeduction d;
    d.category = st.textOrEmpty(first);
    d.detail = st.textOrEmpty(first + 1);
    d.children = static_cast<int>(st.integer(first + 2));
    d.from = st.textOrEmpty(first + 3);
    d.to = st.textOrEmpty(first + 4);
    d.monthly = st.money(first + 5);
    return d;
}

const char* const kDeductionColumns = "扣除类别, 扣除方式, 子女人数, 起始年月, 结束年月, 每月金额";
// A declaration reaches into the year when it starts before its end and lasts past its start.
const char* const kReachesYear = "起始年月<=? and (结束年月 is null or 结束年月='' or 结束年月>=?)";

}  // namespace

// --- per set ---------------------------------------------------------------------------------------

TaxMethod taxMethodOf(db::Connection& conn, const std::string& set)
{
    return setting(conn, set, kMethodKey) == kCumulativeMethod ? TaxMethod::Cumulative : TaxMethod::Monthly;
}

void giveTaxMethod(db::Connection& conn, const std::string& set, TaxMethod method)
{
    bool found = false;
    setting(conn, set, kMethodKey, &found);
    if (!found && !set.empty()) setTaxMethod(conn, set, method);
}

void setTaxMethod(db::Connection& conn, const std::string& set, TaxMethod method)
{
    setSetting(conn, set, kMethodKey, taxMethodName(method));
}

void moveSetSettings(db::Connection& conn, const std::string& from, const std::string& to)
{
    db::BoundStatement st(conn, "update 帐套设置 set 帐套名称=?1 where 帐套名称=?2 and not exists "
                            "(select 1 from 帐套设置 where 帐套名称=?1)");
    st.bind(1, std::string_view(to)).bind(2, std::string_view(from)).run();
}

std::string schemeOfSet(db::Connection& conn, const std::string& set) { return setting(conn, set, kSchemeKey); }

void setSchemeOfSet(db::Connection& conn, const std::string& set, const std::string& scheme)
{
    setSetting(conn, set, kSchemeKey, scheme);
}

std::vector<std::string> itemKindChoices(db::Connection& conn)
{
    std::vector<std::string> kinds = fixedItemKinds();
    const auto extraAt = std::find(kinds.begin(), kinds.end(), kKindOtherDeduction) - kinds.begin();
    std::vector<std::string> extra;
    db::BoundStatement st(conn, "select 险种 from 缴费方案 group by 险种 order by min(编号)");
    while (st.step()) {
        const std::string k = st.textOrEmpty(0);
        if (!k.empty() && std::find(kinds.begin(), kinds.end(), k) == kinds.end()) extra.push_back(k);
    }
    kinds.insert(kinds.begin() + extraAt, extra.begin(), extra.end());
    return kinds;
}

// --- contributions ---------------------------------------------------------------------------------

std::vector<ContributionRule> schemeRules(db::Connection& conn, const std::string& scheme, YearMonth month)
{
    db::BoundStatement st(conn,
                      "select 险种, 个人比例, 单位比例, 个人附加额, 单位附加额, 基数下限, 基数上限, 舍入单位, 舍入方式, "
                      "起始年月 from 缴费方案 where 方案名称=? and (起始年月 is null or 起始年月='' or 起始年月<=?) "
                      "order by 编号");
    st.bind(1, std::string_view(scheme)).bind(2, std::string_view(month.text()));
    std::vector<ContributionRule> rules;
    while (st.step()) {
        ContributionRule r;
        r.kind = st.textOrEmpty(0);
        if (r.kind.empty()) continue;
        r.employeeRate = st.number(1);
        r.employerRate = st.number(2);
        r.employeeAddOn = st.money(3);
        r.employerAddOn = st.money(4);
        r.floor = st.money(5);
        r.ceiling = st.money(6);
        r.unit = roundUnitFrom(st.textOrEmpty(7)).value_or(RoundUnit::Fen);
        r.mode = roundModeFrom(st.textOrEmpty(8)).value_or(RoundMode::HalfUp);
        r.validFrom = st.textOrEmpty(9);
        // The latest start not after the month wins; equal starts: the later row.
        auto same = std::find_if(rules.begin(), rules.end(), [&](const ContributionRule& o) { return o.kind == r.kind; });
        if (same == rules.end()) rules.push_back(std::move(r));
        else if (same->validFrom <= r.validFrom) *same = std::move(r);
    }
    return rules;
}

std::map<std::string, EmployeeBases> basesOfYear(db::Connection& conn, int year)
{
    db::BoundStatement st(conn, "select 员工编号1, 社保基数, 公积金基数 from 缴费基数 where 年度=?");
    st.bind(1, int64_t{year});
    std::map<std::string, EmployeeBases> out;
    while (st.step()) out[st.textOrEmpty(0)] = {st.money(1), st.money(2)};
    return out;
}

namespace {
std::vector<ContributionAmount> amountsOf(const std::vector<ContributionRule>& rules, const EmployeeBases& b)
{
    std::vector<ContributionAmount> out;
    out.reserve(rules.size());
    for (const ContributionRule& r : rules)
        out.push_back(contributionOf(r, usesHousingFundBase(r.kind) ? b.housingFund : b.socialInsurance));
    return out;
}
}  // namespace

std::vector<ContributionAmount> contributionsOf(db::Connection& conn, const std::string& employee,
                                                const std::string& set, YearMonth month)
{
    const std::vector<ContributionRule> rules = schemeRules(conn, schemeOfSet(conn, set), month);
    db::BoundStatement st(conn, "select 社保基数, 公积金基数 from 缴费基数 where 员工编号1=? and 年度=?");
    st.bind(1, std::string_view(employee)).bind(2, int64_t{month.year});
    EmployeeBases b;
    if (st.step()) b = {st.money(0), st.money(1)};
    return amountsOf(rules, b);
}

std::map<std::string, std::vector<ContributionAmount>> contributionsOfAll(db::Connection& conn,
                                                                          const std::string& set, YearMonth month)
{
    const std::vector<ContributionRule> rules = schemeRules(conn, schemeOfSet(conn, set), month);
    std::map<std::string, std::vector<ContributionAmount>> out;
    for (const auto& [employee, bases] : basesOfYear(conn, month.year)) out[employee] = amountsOf(rules, bases);
    return out;
}

int fillContributions(db::Connection& conn, const std::string& set, YearMonth month)
{
    // The items of the set that hold a kind of its scheme: column → kind.
    const std::vector<ContributionRule> rules = schemeRules(conn, schemeOfSet(conn, set), month);
    std::vector<std::pair<std::string, size_t>> fed;
    db::BoundStatement items(conn, "select 工资代码, 项目类别 from 帐套, 工资帐套明细 where 帐套编号1=帐套编号 and 帐套名称=? "
                               "and (计算公式 is null or 计算公式='') order by 工资代码");
    items.bind(1, std::string_view(set));
    while (items.step()) {
        const std::string code = normalSalaryCode(items.textOrEmpty(0)), kind = items.textOrEmpty(1);
        for (size_t r = 0; r < rules.size(); ++r)
            if (!code.empty() && rules[r].kind == kind) fed.emplace_back(code, r);
    }
    if (fed.empty()) return 0;
    std::string sql = "update 工资表 set ";
    for (size_t i = 0; i < fed.size(); ++i) sql += (i ? ", " : "") + fed[i].first + "=?";
    sql += " where 工资帐套=? and 年=? and 月=? and 员工编号=? and (结帐状态 is null or 结帐状态<>'是')";
    const std::string year = std::to_string(month.year), mm = YearMonth{month.year, month.month}.text().substr(5);
    db::Transaction t(conn);
    db::BoundStatement st(conn, sql);
    int changed = 0;
    for (const auto& [employee, bases] : basesOfYear(conn, month.year)) {
        const std::vector<ContributionAmount> amounts = amountsOf(rules, bases);
        int p = 1;
        for (const auto& [code, r] : fed) st.bind(p++, amounts[r].employee);
        st.bind(p, std::string_view(set)).bind(p + 1, std::string_view(year)).bind(p + 2, std::string_view(mm));
        st.bind(p + 3, std::string_view(employee));
        st.run();
        changed += conn.changedRows();
    }
    t.commit();
    return changed;
}

// --- declared deductions and choices -----------------------------------------------------------------

std::vector<AdditionalDeduction> additionalDeductionsOf(db::Connection& conn, const std::string& employee, int year)
{
    db::BoundStatement st(conn, std::string("select ") + kDeductionColumns + " from 专项附加扣除 where 员工编号1=? and " +
                                kReachesYear + " order by 编号");
    st.bind(1, std::string_view(employee)).bind(2, std::string_view(YearMonth{year, 12}.text())).bind(3, std::string_view(YearMonth{year, 1}.text()));
    std::vector<AdditionalDeduction> out;
    while (st.step()) out.push_back(deductionFrom(st, 0));
    return out;
}

std::map<std::string, std::vector<AdditionalDeduction>> additionalDeductionsOfYear(db::Connection& conn, int year)
{
    db::BoundStatement st(conn, std::string("select 员工编号1, ") + kDeductionColumns + " from 专项附加扣除 where " +
                                kReachesYear + " order by 编号");
    st.bind(1, std::string_view(YearMonth{year, 12}.text())).bind(2, std::string_view(YearMonth{year, 1}.text()));
    std::map<std::string, std::vector<AdditionalDeduction>> out;
    while (st.step()) out[st.textOrEmpty(0)].push_back(deductionFrom(st, 1));
    return out;
}

std::map<std::string, MonthlyCategories> otherDeductionsOfYear(db::Connection& conn, int year)
{
    db::BoundStatement st(conn, "select 员工编号1, 年月, 扣除类别, sum(金额) from 其他扣除 where 年月 like ? "
                            "group by 员工编号1, 年月, 扣除类别");
    st.bind(1, std::string_view(yearPattern(year)));
    std::map<std::string, MonthlyCategories> out;
    while (st.step()) {
        const auto ym = parseYearMonth(st.textOrEmpty(1));
        if (!ym || ym->year != year) continue;
        Money& m = out[st.textOrEmpty(0)][ym->month][st.textOrEmpty(2)];
        m = m + st.money(3);
    }
    return out;
}

namespace {
YearChoices choicesFrom(const db::BoundStatement& st, int first)
{
    YearChoices c;
    const int64_t m = st.integer(first);
    c.firstMonth = m >= 1 && m <= 12 ? static_cast<int>(m) : 0;
    c.sixtyThousand = st.textOrEmpty(first + 1) == "是";
    c.bonusOnItsOwn = st.textOrEmpty(first + 2) != kBonusAdded;
    return c;
}
const char* const kChoiceColumns = "减除起始月, 六万元扣除, 奖金计税方式";
}  // namespace

std::map<std::string, YearChoices> yearChoices(db::Connection& conn, int year)
{
    db::BoundStatement st(conn, std::string("select 员工编号1, ") + kChoiceColumns + " from 个税年度选项 where 年度=?");
    st.bind(1, int64_t{year});
    std::map<std::string, YearChoices> out;
    while (st.step()) out[st.textOrEmpty(0)] = choicesFrom(st, 1);
    return out;
}

YearChoices yearChoicesOf(db::Connection& conn, const std::string& employee, int year)
{
    db::BoundStatement st(conn, std::string("select ") + kChoiceColumns + " from 个税年度选项 where 员工编号1=? and 年度=?");
    st.bind(1, std::string_view(employee)).bind(2, int64_t{year});
    return st.step() ? choicesFrom(st, 0) : YearChoices();
}

}  // namespace rsgz::payroll::tax
