// The four lists of the wage-tax windows and what each refuses before a row is stored.
#include <algorithm>

#include "db/Connection.h"
#include "db/BoundStatement.h"
#include "payroll/TaxListForm.h"
#include "payroll/TaxRules.h"

namespace rsgz::payroll {

namespace {

namespace tax = payroll::tax;

std::string textAt(const db::DataSet& ds, int row, const char* column)
{
    return ds.valueAt(row, ds.fieldIndex(column)).toString();
}

tax::AdditionalDeduction deductionAt(const db::DataSet& ds, int row)
{
    tax::AdditionalDeduction d;
    d.category = textAt(ds, row, "扣除类别");
    d.detail = textAt(ds, row, "扣除方式");
    d.children = static_cast<int>(ds.valueAt(row, ds.fieldIndex("子女人数")).toInt());
    d.from = textAt(ds, row, "起始年月");
    d.to = textAt(ds, row, "结束年月");
    d.monthly = ds.valueAt(row, ds.fieldIndex("每月金额")).toMoney();
    return d;
}

std::string checkAdditional(const db::DataSet& ds)
{
    if (ds.asString("员工编号1").empty()) return "请先选择员工！";
    const tax::AdditionalDeduction d = deductionAt(ds, ds.currentRow());
    if (std::string refusal = tax::checkAdditionalDeduction(d); !refusal.empty()) return refusal;
    std::vector<tax::AdditionalDeduction> others;
    for (int r = 0; r < ds.rowCount(); ++r)
        if (r != ds.currentRow()) others.push_back(deductionAt(ds, r));
    return tax::checkAgainstOthers(d, others);
}

bool listed(const std::vector<std::string>& list, const std::string& s)
{
    return std::find(list.begin(), list.end(), s) != list.end();
}

std::string choices(const std::vector<std::string>& list)
{
    std::string out;
    for (const std::string& s : list) out += (out.empty() ? "" : "、") + s;
    return out;
}

std::string checkOther(const db::DataSet& ds)
{
    if (ds.asString("员工编号1").empty()) return "请先选择员工！";
    const std::string month = ds.asString("年月"), category = ds.asString("扣除类别");
    if (!tax::parseYearMonth(month)) return "年月“" + month + "”无效，应为“年-月”，如2026-01！";
    if (!listed(tax::otherDeductionCategories(), category))
        return "扣除类别“" + category + "”无效，应为：" + choices(tax::otherDeductionCategories()) + "！";
    if (ds.asMoney("金额") < db::Money()) return "“" + category + "”的金额不能为负数！";
    return {};
}

std::string checkRate(const db::DataSet& ds, const char* column, const std::string& kind)
{
    const double rate = ds.asDouble(column);
    if (rate < 0 || rate > 100) return "“" + kind + "”的" + column + "应在0到100之间！";
    return {};
}

std::string checkScheme(const db::DataSet& ds)
{
    const std::string kind = ds.asString("险种");
    if (ds.asString("方案名称").empty()) return "请填写方案名称！";
    if (kind.empty()) return "请填写险种！";
    for (const char* c : {"个人比例", "单位比例"})
        if (std::string r = checkRate(ds, c, kind); !r.empty()) return r;
    for (const char* c : {"个人附加额", "单位附加额", "基数下限", "基数上限"})
        if (ds.asMoney(c) < db::Money()) return "“" + kind + "”的" + c + "不能为负数！";
    const db::Money floor = ds.asMoney("基数下限"), ceiling = ds.asMoney("基数上限");
    if (ceiling != db::Money() && floor > ceiling) return "“" + kind + "”的基数下限高于基数上限！";
    if (!tax::roundUnitFrom(ds.asString("舍入单位"))) return "“" + kind + "”的舍入单位应为：分、角、元！";
    if (!tax::roundModeFrom(ds.asString("舍入方式"))) return "“" + kind + "”的舍入方式应为：四舍五入、进位！";
    if (!tax::parseYearMonth(ds.asString("起始年月")))
        return "“" + kind + "”的起始年月“" + ds.asString("起始年月") + "”无效，应为“年-月”，如2026-01！";
    return {};
}

bool employeeExists(db::Connection& conn, const std::string& number)
{
    db::BoundStatement st(conn, "select 1 from 员工基本情况 where 员工编号=?");
    st.bind(1, std::string_view(number));
    return st.step();
}

std::string checkBase(const db::DataSet& ds)
{
    const std::string number = ds.asString("员工编号1");
    const int64_t year = ds.asInt("年度");
    if (number.empty() || !employeeExists(*ds.connection(), number)) return "没有员工编号为“" + number + "”的员工！";
    if (year < 1900 || year > 2999) return "年度应在1900到2999之间！";
    if (ds.asMoney("社保基数") < db::Money() || ds.asMoney("公积金基数") < db::Money())
        return "员工“" + number + "”的缴费基数不能为负数！";
    for (int r = 0; r < ds.rowCount(); ++r)
        if (r != ds.currentRow() && textAt(ds, r, "员工编号1") == number
            && ds.valueAt(r, ds.fieldIndex("年度")).toInt() == year)
            return "员工“" + number + "”" + std::to_string(year) + "年的缴费基数已经录入过了！";
    return {};
}

}  // namespace

const TaxListSetup& additionalDeductionList()
{
    static const TaxListSetup s{"专项附加扣除", "专项附加扣除", "工资表管理",
                               {"扣除类别", "扣除方式", "子女人数", "起始年月", "结束年月", "每月金额", "备注"},
                               "起始年月, 编号", {}, checkAdditional};
    return s;
}

const TaxListSetup& otherDeductionList()
{
    static const TaxListSetup s{"其他扣除", "其他扣除", "工资表管理", {"年月", "扣除类别", "金额", "备注"}, "年月, 编号",
                               {}, checkOther};
    return s;
}

const TaxListSetup& contributionSchemeList()
{
    static const TaxListSetup s{"缴费方案",
                               "缴费方案",
                               "帐套管理",
                               {"方案名称", "险种", "个人比例", "单位比例", "个人附加额", "单位附加额", "基数下限", "基数上限",
                                "舍入单位", "舍入方式", "起始年月"},
                               "方案名称, 起始年月, 编号",
                               {{"舍入单位", db::Value("分")}, {"舍入方式", db::Value("四舍五入")}},
                               checkScheme};
    return s;
}

const TaxListSetup& contributionBaseList()
{
    static const TaxListSetup s{"缴费基数", "缴费基数", "工资表管理", {"员工编号1", "姓名", "年度", "社保基数", "公积金基数"},
                               "员工编号1", {}, checkBase, true};
    return s;
}

}  // namespace rsgz::payroll
