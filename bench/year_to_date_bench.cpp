// December of 5,000 employees paid from two sets, with January to November closed: the salary view
// of the month with every row's cumulative tax, and the year-to-date figures alone (one query over
// the year and the walk of each employee's months), against the bare select of the month and the
// bare grouped query over the year.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <string>

#include "SeededDatabase.h"
#include "db/Connection.h"
#include "db/DataSet.h"
#include "payroll/SalaryView.h"
#include "payroll/YearToDate.h"

using namespace rsgz;
using payroll::tax::PayUnit;
using payroll::tax::YearToDate;

namespace {

constexpr int kEmployees = 5000;

// 管理: three pay items, the annual bonus, four contributions, 应发, the tax on 应发 and the net pay.
// 补贴: one allowance, its tax, its net pay.
void seedItems(db::Connection& conn)
{
    conn.exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理'), ('02', '补贴')");
    for (const char* set : {"管理", "补贴"}) payroll::tax::setTaxMethod(conn, set, payroll::tax::TaxMethod::Cumulative);
    conn.exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 个税起征点, 个税关联, 项目类别) values "
              "('01', 'gz01', '基本工资', '', '否', 0, '', '收入'), ('01', 'gz02', '岗位工资', '', '否', 0, '', '收入'), "
              "('01', 'gz03', '绩效', '', '否', 0, '', '收入'), ('01', 'gz04', '年终奖', '', '否', 0, '', '全年一次性奖金'), "
              "('01', 'gz05', '养老', '', '否', 0, '', '养老保险'), ('01', 'gz06', '医疗', '', '否', 0, '', '医疗保险'), "
              "('01', 'gz07', '失业', '', '否', 0, '', '失业保险'), ('01', 'gz08', '公积金', '', '否', 0, '', '住房公积金'), "
              "('01', 'gz09', '应发', 'gz01+gz02+gz03', '否', 0, '', '其他'), "
              "('01', 'gz10', '个税', '', '是', 5000, '应发', '个税'), "
              "('01', 'gz11', '实发', 'gz09+gz04-gz05-gz06-gz07-gz08-gz10', '否', 0, '', '实发'), "
              "('02', 'gz01', '补贴', '', '否', 0, '', '收入'), ('02', 'gz02', '个税', '', '是', 0, '补贴', '个税'), "
              "('02', 'gz03', '实发', 'gz01-gz02', '否', 0, '', '实发')");
}

void seed(db::Connection& conn)
{
    db::Transaction t(conn);
    seedItems(conn);
    const std::string n = std::to_string(kEmployees);
    conn.exec("with recursive n(i) as (select 1 union all select i + 1 from n where i < " + n +
              ") insert into 员工基本情况 (员工编号, 姓名, 工资帐套名称, 工资核算, 一级部门, 入职日期) "
              "select printf('E%05d', i), '员工' || i, '管理', '是', '总部', "
              "case when i % 10 = 0 then '2026-05-01' else '2019-03-01' end from n");
    // Every third employee declared a child, every seventh a loan.
    conn.exec("with recursive n(i) as (select 1 union all select i + 1 from n where i < " + n +
              ") insert into 专项附加扣除 (员工编号1, 扣除类别, 子女人数, 起始年月, 每月金额) "
              "select printf('E%05d', i), '子女教育', 1, '2025-01', 2000 from n where i % 3 = 0 "
              "union all select printf('E%05d', i), '住房贷款利息', 0, '2024-01', 1000 from n where i % 7 = 0");
    for (const char* set : {"管理", "补贴"}) {
        const bool main = std::string(set) == "管理";
        const std::string cols = main ? "gz01, gz02, gz03, gz04, gz05, gz06, gz07, gz08, gz09, gz10, gz11"
                                      : "gz01, gz02, gz03";
        const std::string vals = main ? "6000 + i % 9000, 2000, 500, case when m = 1 then 20000 else 0 end, 800, 200, "
                                        "50, 1000, 8500 + i % 9000, 300, 6150 + i % 9000"
                                      : "1000, 30, 970";
        conn.exec("with recursive n(i) as (select 1 union all select i + 1 from n where i < " + n +
                  "), m(m) as (select 1 union all select m + 1 from m where m < 12) "
                  "insert into 工资表 (员工编号, 姓名, 年, 月, 工资帐套, 结帐状态, " + cols + ") "
                  "select printf('E%05d', i), '员工' || i, '2026', printf('%02d', m), '" + set +
                  "', case when m < 12 then '是' else '否' end, " + vals + " from n, m");
    }
    t.commit();
}

const bench::SeededDatabase& fixture()
{
    static const bench::SeededDatabase f("ytd.db", seed);
    return f;
}

void BareSelectOfDecember(benchmark::State& state)
{
    db::Connection conn(fixture().path);
    db::DataSet ds(&conn, "bare", {"select * from 工资表", "where 工资帐套='管理' and 年='2026' and 月='12'"});
    for (auto _ : state) {
        ds.close();
        ds.open();
        if (ds.recordCount() != kEmployees) state.SkipWithError("not every row was read");
    }
    state.counters["rows"] = kEmployees;
}

// The year's rows summed per employee, month and set, every row stepped through.
void BareGroupedYearQuery(benchmark::State& state)
{
    db::Connection conn(fixture().path);
    for (auto _ : state) {
        db::Statement st = conn.prepareNative(
            "select 员工编号, 月, 工资帐套, count(*), sum(gz01+gz02+gz03), sum(gz04), sum(gz05), sum(gz06), sum(gz07), "
            "sum(gz08), sum(gz10) from 工资表 where 年='2026' and cast(月 as integer) between 1 and 12 "
            "group by 员工编号, 月, 工资帐套");
        int64_t groups = 0;
        while (st.step()) ++groups;
        if (groups != kEmployees * 12 * 2) state.SkipWithError("groups missing");
    }
    state.counters["rows"] = kEmployees * 24;
}

// What the view of December adds: the year read once, then the figures of every row of 管理.
void YearToDateOfDecember(benchmark::State& state)
{
    db::Connection conn(fixture().path);
    for (auto _ : state) {
        const YearToDate ytd = YearToDate::read(conn, 2026, 12, "管理");
        if (!ytd.openMonths().empty()) state.SkipWithError("an earlier month is open");
        PayUnit row;
        row.month = 12;
        row.set = "管理";
        row.setOrder = ytd.setOrder("管理");
        row.pay.income = db::Money::fromUnits(10000 * db::Money::kScale);
        db::Money sum;
        for (const std::string& no : ytd.employees()) sum = sum + ytd.withRow(no, row).tax;
        benchmark::DoNotOptimize(sum);
    }
    state.counters["rows"] = kEmployees;
}

// The salary view of December of 管理 with every row's cumulative tax.
void SalaryViewOfDecember(benchmark::State& state)
{
    db::Connection conn(fixture().path);
    db::DataSet gzb(&conn, "gzb");
    payroll::SalaryView view(conn, gzb);
    for (auto _ : state) {
        view.build("管理");
        view.filter().nodes = {{"月", "12"}, {"年", "2026"}};
        view.open();
        if (gzb.recordCount() != kEmployees || !view.withholding()) state.SkipWithError("not every row was read");
    }
    state.counters["rows"] = kEmployees;
}

}  // namespace

BENCHMARK(SalaryViewOfDecember)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1);
BENCHMARK(BareSelectOfDecember)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1);
BENCHMARK(BareGroupedYearQuery)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1);
BENCHMARK(YearToDateOfDecember)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1);

BENCHMARK_MAIN();
