#include "db/SchemaUpgrade.h"
#include "db/SqlText.h"

namespace rsgz::db {

namespace {

ColumnDef text(const char* name, int n) { return {name, FieldType::Text, n}; }
ColumnDef integer(const char* name) { return {name, FieldType::Integer, 0}; }
ColumnDef dbl(const char* name) { return {name, FieldType::Double, 0}; }
ColumnDef money(const char* name) { return {name, FieldType::Currency, 0}; }
ColumnDef autoInc(const char* name) { return {name, FieldType::AutoInc, 0}; }

std::vector<TableDef> taxLawTables()
{
    return {
        // What each employee declared, per category, for the months from 起始年月 to 结束年月
        // (yyyy-mm; an empty end lasts).
        {"专项附加扣除",
         {autoInc("编号"), text("员工编号1", 20), text("扣除类别", 20), text("扣除方式", 30), integer("子女人数"),
          text("起始年月", 7), text("结束年月", 7), money("每月金额"), text("备注", 50)}},
        // 个人养老金, 企业(职业)年金, 商业健康保险, 税延养老保险 … and 减免税额, per employee and month.
        {"其他扣除",
         {autoInc("编号"), text("员工编号1", 20), text("年月", 7), text("扣除类别", 20), money("金额"),
          text("备注", 50)}},
        // One row per kind and start month; a set names its scheme in 帐套设置.
        {"缴费方案",
         {autoInc("编号"), text("方案名称", 50), text("险种", 20), dbl("个人比例"), dbl("单位比例"),
          money("个人附加额"), money("单位附加额"), money("基数下限"), money("基数上限"), text("舍入单位", 2),
          text("舍入方式", 10), text("起始年月", 7)}},
        {"缴费基数", {autoInc("编号"), text("员工编号1", 20), integer("年度"), money("社保基数"), money("公积金基数")}},
        {"个税年度选项",
         {autoInc("编号"), text("员工编号1", 20), integer("年度"), integer("减除起始月"), text("六万元扣除", 2),
          text("奖金计税方式", 10)}},
    };
}

std::string uniqueIndex(const std::string& table, const std::string& name, const std::string& columns)
{
    return "create unique index if not exists " + sqlIdent(name) + " on " + sqlIdent(table) + " (" + columns + ")";
}

}  // namespace

// The tables and columns that withholding under the wage-tax law needs: declared deductions,
// contribution schemes and bases, per-year choices, the kind of every salary item.
SchemaAdditions taxLawSchemaAdditions()
{
    SchemaAdditions a;
    a.tables = taxLawTables();
    a.columns = {{"工资帐套明细", text("项目类别", 20)}};
    a.statements = {
        uniqueIndex("缴费基数", "缴费基数_员工年度", "[员工编号1], [年度]"),
        uniqueIndex("个税年度选项", "个税年度选项_员工年度", "[员工编号1], [年度]"),
        // The sets kept so far were taxed by the month bracket table: they go on that way until the
        // office switches them. Sets made from now on withhold cumulatively (no row).
        "insert into [帐套设置] ([帐套名称], [设置项], [设置值]) select distinct [帐套名称], '计税方法', '按月计税' "
        "from [帐套] where [帐套名称] is not null and [帐套名称]<>'' and not exists (select 1 from [帐套设置] s "
        "where s.[帐套名称]=[帐套].[帐套名称] and s.[设置项]='计税方法')",
    };
    return a;
}

}  // namespace rsgz::db
