// The rules of the payroll sets and their items that keep the configuration sound: a set number is
// used once, a set that other rows name keeps its name, a deleted set takes its items with it, an
// item's code is a real salary column used once per set, and an item's formula can be read, names
// only columns of its set and leads back to itself through no chain of formulas.
#include <memory>
#include <string>
#include <vector>

#include "app/rules/RecordRules.h"
#include "app/rules/RuleHelpers.h"
#include "db/BoundStatement.h"
#include "payroll/Formula.h"
#include "payroll/PayrollRules.h"
#include "payroll/SalaryCalculation.h"
#include "payroll/SalaryColumns.h"
#include "payroll/TaxLaw.h"

namespace rsgz::payroll {
using namespace rsgz::db;
using namespace rsgz::app::rules;
using rsgz::app::appendRule;

namespace {

// The row's own key, so a row never collides with itself; -1 while it is being inserted.
int64_t ownKey(const DataSet& ds) { return ds.isNull("编号") ? -1 : ds.asInt("编号"); }

int64_t count(Connection& conn, const std::string& sql, std::string_view a, std::string_view b = {}, int64_t key = 0)
{
    db::BoundStatement st(conn, sql);
    st.bind(1, a);
    if (sql.find("?2") != std::string::npos) st.bind(2, b);
    if (sql.find("?3") != std::string::npos) st.bind(3, key);
    st.step();
    return st.integer(0);
}

// The other sets than the row's own with the number. The parameters are numbered without a gap:
// a server types each parameter by its use and refuses one that is never used.
int64_t otherSetsNumbered(Connection& conn, std::string_view number, int64_t key)
{
    BoundStatement st(conn, "select count(*) from 帐套 where 帐套编号=? and 编号<>?");
    st.bind(1, number).bind(2, key);
    st.step();
    return st.integer(0);
}

std::string storedText(Connection& conn, const std::string& sql, int64_t key)
{
    db::BoundStatement st(conn, sql);
    st.bind(1, key);
    return st.step() ? st.textOrEmpty(0) : std::string();
}

void refuse(TDM& dm, const std::string& message)
{
    dm.ShowMessage_jd(message);
    abortSilently();
}

// Rows elsewhere find a set by its name: renaming it would lose them.
void refuseRenameWhileReferred(TDM& dm, const DataSet& d)
{
    if (d.state() != DataSet::State::Edit) return;
    Connection& conn = dm.DMADO;
    const std::string old = storedText(conn, "select 帐套名称 from 帐套 where 编号=?1", ownKey(d));
    if (old == d.asString("帐套名称")) return;
    struct Referrer {
        const char* what;
        const char* sql;
    };
    static constexpr Referrer referrers[] = {
        {"员工档案", "select count(*) from 员工基本情况 where 工资帐套名称=?1"},
        {"工资表", "select count(*) from 工资表 where 工资帐套=?1"},
        {"银行代发格式", "select count(*) from 代发工资格式 where 工资帐套=?1"},
    };
    std::string users;
    for (const Referrer& r : referrers)
        if (const int64_t n = count(conn, r.sql, old); n > 0)
            users += (users.empty() ? "" : "、") + std::string(r.what) + "（" + std::to_string(n) + "条）";
    if (!users.empty()) refuse(dm, "帐套“" + old + "”已被" + users + "使用，不能改名！");
}

// Items find their set by its number: a new number would leave them behind.
void refuseRenumberWithItems(TDM& dm, const DataSet& d)
{
    if (d.state() != DataSet::State::Edit) return;
    Connection& conn = dm.DMADO;
    const std::string old = storedText(conn, "select 帐套编号 from 帐套 where 编号=?1", ownKey(d));
    if (old == d.asString("帐套编号")) return;
    if (count(conn, "select count(*) from 工资帐套明细 where 帐套编号1=?1", old) > 0)
        refuse(dm, "帐套编号“" + old + "”下已有工资项目，不能修改帐套编号！");
}

void checkSet(TDM& dm, DataSet& d)
{
    const std::string number = d.asString("帐套编号");
    if (otherSetsNumbered(dm.DMADO, number, ownKey(d)) > 0)
        refuse(dm, "帐套编号“" + number + "”已经存在，帐套编号不能重复！");
    refuseRenameWhileReferred(dm, d);
    refuseRenumberWithItems(dm, d);
}

// After the question: the items go with the set, unless another set still carries the number.
void deleteItemsOfSet(TDM& dm, DataSet& d)
{
    const std::string number = d.asString("帐套编号");
    if (otherSetsNumbered(dm.DMADO, number, ownKey(d)) > 0) return;
    db::BoundStatement drop(dm.DMADO, "delete from 工资帐套明细 where 帐套编号1=?");
    drop.bind(1, std::string_view(number)).run();
}

// The items of the row's set with the row as it is about to be written.
std::vector<payroll::SalaryItem> itemsAsSaved(Connection& conn, const DataSet& d)
{
    std::vector<payroll::SalaryItem> items;
    db::BoundStatement st(conn, "select 工资代码, 工资项目, 计算公式, 是否所得税, 个税关联 from 工资帐套明细 "
                            "where 帐套编号1=? and 编号<>? order by 工资代码");
    st.bind(1, std::string_view(d.asString("帐套编号1"))).bind(2, ownKey(d));
    auto item = [](std::string code, std::string name, std::string formula, const std::string& tax, std::string link) {
        payroll::SalaryItem it;
        it.code = std::move(code);
        it.name = std::move(name);
        it.formula = std::move(formula);
        it.taxFlag = tax == "是";
        it.taxLink = std::move(link);
        return it;
    };
    while (st.step())
        items.push_back(item(st.textOrEmpty(0), st.textOrEmpty(1), st.textOrEmpty(2), st.textOrEmpty(3), st.textOrEmpty(4)));
    items.push_back(item(d.asString("工资代码"), d.asString("工资项目"), d.asString("计算公式"), d.asString("是否所得税"),
                         d.asString("个税关联")));
    return items;
}

void checkItem(TDM& dm, DataSet& d)
{
    if (d.asString("初始值").empty()) d.setValue("初始值", 0);
    if (d.asString("个税起征点").empty()) d.setValue("个税起征点", 1600);

    const std::string typed = d.asString("工资代码");
    const std::string code = payroll::normalSalaryCode(typed);
    if (code.empty()) refuse(dm, "工资代码“" + typed + "”无效，只能是gz01到gz39之一！");
    if (code != typed) d.setValue("工资代码", code);
    const std::string set = d.asString("帐套编号1");
    if (count(dm.DMADO, "select count(*) from 工资帐套明细 where 帐套编号1=?1 and 工资代码=?2 and 编号<>?3", set, code,
              ownKey(d)) > 0)
        refuse(dm, "工资代码“" + code + "”在本帐套中已经使用，不能重复！");

    const std::string formula = d.asString("计算公式");
    if (formula.find_first_not_of(" \t") != std::string::npos) {
        const payroll::FormulaResult r = payroll::readFormula(formula);
        if (!r.ok) refuse(dm, "计算公式有误，" + r.message());
    }
    const std::string fault = payroll::formulaDependencyFault(itemsAsSaved(dm.DMADO, d), code);
    if (!fault.empty()) refuse(dm, fault);
}

// A set made from now on withholds wage tax cumulatively; the sets kept before go on as they were.
// The settings of a set (its tax method, its scheme) are kept under its name.
void bindNewSetTaxMethod(TDM& dm)
{
    struct Posting {
        bool inserting = false;
        std::string oldName;
    };
    auto p = std::make_shared<Posting>();
    appendRule(dm.gz_zt.rules().beforePost, [&dm, p](DataSet& d) {
        p->inserting = d.state() == DataSet::State::Insert;
        p->oldName = p->inserting ? std::string() : storedText(dm.DMADO, "select 帐套名称 from 帐套 where 编号=?1", ownKey(d));
    });
    appendRule(dm.gz_zt.rules().afterPost, [&dm, p](DataSet& d) {
        const std::string name = d.asString("帐套名称");
        if (p->inserting) payroll::tax::giveTaxMethod(dm.DMADO, name, payroll::tax::TaxMethod::Cumulative);
        // A set renamed (no rows name it yet) takes its settings along.
        else if (!p->oldName.empty() && p->oldName != name) payroll::tax::moveSetSettings(dm.DMADO, p->oldName, name);
        *p = Posting();
    });
}

}  // namespace

void bindPayrollSetRules(TDM& dm)
{
    appendRule(dm.gz_zt.rules().beforePost, [&dm](DataSet& d) { checkSet(dm, d); });
    bindNewSetTaxMethod(dm);
    // Bound after the question, so the items go only when the operator said 是.
    appendRule(dm.gz_zt.rules().beforeDelete, [&dm](DataSet& d) { deleteItemsOfSet(dm, d); });

    DataSet& items = dm.zt_mx;
    appendRule(items.rules().afterInsert, [&dm](DataSet& d) {
        copyCurrent(d, dm.gz_zt, {{"帐套编号1", "帐套编号"}});
        d.setValue("初始值", 0);
        d.setValue("个税起征点", 1600);
        d.setValue("是否所得税", "否");
        openEditor(dm.editorOpen.ztmx, app::WindowId::SalaryItems);
    });
    appendRule(items.rules().beforePost, [&dm](DataSet& d) { checkItem(dm, d); });
}

}  // namespace rsgz::payroll
