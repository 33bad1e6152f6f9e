// The salary view of one month of 5,000 employees with 39 items (10 formula items building on each
// other, a tax item and a net-pay item) against a bare select of the same rows and columns read into
// a record set; closing that month with its displayed values written; scrolling that view, and the
// view ordered by the net pay; and a month of 50,000 employees generated and then shown.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "app/TDM.h"
#include "SeededDatabase.h"
#include "db/Connection.h"
#include "db/Native.h"
#include "db/DataSet.h"
#include "payroll/MonthTable.h"
#include "payroll/SalaryView.h"

using namespace rsgz;

namespace {

constexpr int kEmployees = 5000;
constexpr const char* kBrackets =
    "insert into 所得税设置 (起始额, 结束额, 税率, 速扣) values (0, 500, 5, 0), (500, 2000, 10, 25), (2000, 5000, 15, 125)";

std::string code(int i) { return (i < 10 ? "gz0" : "gz") + std::to_string(i); }

// gz01 … gz27 entered; gz28 … gz37 formulas, each building on the ones before it: the gross pay,
// four insurances from it, their sum, the pay before tax, less two deductions, a levy on what is
// above 5000 and the taxable pay; gz38 the tax on gz37, gz39 the net pay.
const char* const kFormulas[10] = {
    "gz01+gz02+gz03+gz04+gz05+gz06+gz07+gz08+gz09+gz10",
    "Round(gz28*0.08,2)",
    "gz28*0.02",
    "gz28*0.005",
    "Round(gz28*0.07,0)",
    "gz29+gz30+gz31+gz32",
    "gz28-gz33",
    "gz34-gz11-gz12",
    "IIf(gz35>5000,(gz35-5000)*0.01,0)",
    "gz35-gz36",
};

void seedSet(db::Connection& conn, int employees)
{
    db::Transaction t(conn);
    conn.exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理')");
    for (int i = 1; i <= 39; ++i) {
        std::string formula, tax = "否", link;
        if (i >= 28 && i <= 37) formula = kFormulas[i - 28];
        if (i == 38) { tax = "是"; link = "项目37"; }
        if (i == 39) formula = "gz37-gz38+gz13";
        conn.exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 初始值, 计算公式, 是否所得税, 个税起征点, 个税关联) values "
                  "('01', '" + code(i) + "', '项目" + std::to_string(i) + "', " + std::to_string(100 + i) + ", '" + formula +
                  "', '" + tax + "', 1600, '" + link + "')");
    }
    conn.exec(kBrackets);
    db::Statement st = conn.prepareNative(
        "insert into 员工基本情况 (员工编号, 姓名, 工资帐套名称, 工资核算, 一级部门) values (?, ?, '管理', '是', '总部')");
    for (int i = 1; i <= employees; ++i) {
        char no[16];
        std::snprintf(no, sizeof no, "E%05d", i);
        st.bind(1, no).bind(2, "员工" + std::to_string(i)).run();
    }
    t.commit();
}

void seed(db::Connection& conn)
{
    seedSet(conn, kEmployees);
    payroll::MonthTable(conn).generateFromSet(payroll::Period::of("管理", 2024, 3));
    conn.exec("update 工资表 set gz01 = 1000 + (编号 % 3000) + 0.33");
}

const bench::SeededDatabase& fixture()
{
    static const bench::SeededDatabase f("salary.db", seed);
    return f;
}

void narrowToMarch(payroll::SalaryView& view)
{
    view.build("管理");
    view.filter().nodes = {{"月", "03"}, {"年", "2024"}};
}

const bench::SeededServerDatabase* serverFixture()
{
    static const bench::SeededServerDatabase f(seed);
    return &f;
}

// With a first argument 1 the view is ordered by the displayed net pay, which the program does
// after the rows are read; the second is the engine (0 the file, 1 the server).
void SalaryViewOfOneMonth(benchmark::State& state)
{
    if (!bench::engineAvailable(state, 1)) return;
    const auto engine = bench::engineOf(state, 1);
    const auto c = bench::connectTo(engine, fixture(), engine == bench::Engine::Server ? serverFixture() : nullptr);
    db::Connection& conn = *c;
    db::DataSet gzb(&conn, "gzb");
    payroll::SalaryView view(conn, gzb);
    narrowToMarch(view);
    view.reopenRows();  // open rows, whatever an earlier run left
    for (auto _ : state) {
        narrowToMarch(view);
        if (state.range(0) == 1) {
            view.filter().sortField = "gz39";
            view.filter().descending = true;
        }
        view.open();
        if (gzb.recordCount() != kEmployees) state.SkipWithError("not every row was read");
    }
    state.counters["rows"] = kEmployees;
}

// The floor: every column of the same rows, stored values only.
void BareSelectOfOneMonth(benchmark::State& state)
{
    db::Connection conn(fixture().path);
    db::DataSet ds(&conn, "bare", {"select * from 工资表", "where 工资帐套='管理' and 年='2024' and 月='03'"});
    for (auto _ : state) {
        ds.close();
        ds.open();
        if (ds.recordCount() != kEmployees) state.SkipWithError("not every row was read");
    }
    state.counters["rows"] = kEmployees;
}

void CloseOneMonth(benchmark::State& state)
{
    db::Connection conn(fixture().path);
    db::DataSet gzb(&conn, "gzb");
    payroll::SalaryView view(conn, gzb);
    narrowToMarch(view);
    view.open();
    for (auto _ : state) {
        state.PauseTiming();
        view.reopenRows();
        state.ResumeTiming();
        if (view.closeRows() != kEmployees) state.SkipWithError("not every row was closed");
    }
    state.counters["rows"] = kEmployees;
}

int countStatements(unsigned, void* counter, void*, void*)
{
    ++*static_cast<int64_t*>(counter);
    return 0;
}

// Scrolling: every cell of the view read a screen of 30 rows at a time, top to bottom, with the
// cursor following, as the grid does. The brackets are emptied behind the view's back first: a tax
// worked out again while scrolling would come out 0 and be counted.
void ScrollSalaryView(benchmark::State& state)
{
    db::Connection conn(fixture().path);
    db::DataSet gzb(&conn, "gzb");
    payroll::SalaryView view(conn, gzb);
    narrowToMarch(view);
    view.reopenRows();  // closing above left the month closed: its tax would be the stored one
    conn.exec("delete from 所得税设置");
    int64_t statements = 0, taxChanged = 0;
    sqlite3_trace_v2(db::Native::handle(conn), SQLITE_TRACE_STMT, countStatements, &statements);
    constexpr int kScreen = 30;
    const int taxIdx = gzb.fieldIndex("gz38"), idIdx = gzb.fieldIndex("编号");
    for (auto _ : state) {
        for (int top = 0; top < gzb.rowCount(); top += kScreen) {
            gzb.moveToRow(top);
            for (int r = top; r < std::min(top + kScreen, gzb.rowCount()); ++r) {
                for (int c = 0; c < gzb.fieldCount(); ++c) benchmark::DoNotOptimize(gzb.valueAt(r, c));
                if (gzb.valueAt(r, taxIdx).toMoney() != view.taxOf(gzb.valueAt(r, idIdx).toInt())) ++taxChanged;
            }
        }
    }
    sqlite3_trace_v2(db::Native::handle(conn), 0, nullptr, nullptr);
    conn.exec(kBrackets);
    state.counters["statements_run"] = static_cast<double>(statements);
    state.counters["tax_recomputed"] = static_cast<double>(taxChanged);
    state.counters["rows"] = kEmployees;
}

constexpr int kLargeMonth = 50000;

void seedLarge(db::Connection& conn) { seedSet(conn, kLargeMonth); }

// Generating the month of 50,000 employees and showing it: the rows written from the set, then the
// view read with every formula, the tax and the net pay worked out.
void GenerateAndShowLargeMonth(benchmark::State& state)
{
    static const bench::SeededDatabase large("salary50k.db", seedLarge);
    db::Connection conn(large.path);
    db::DataSet gzb(&conn, "gzb");
    payroll::SalaryView view(conn, gzb);
    payroll::MonthTable months(conn);
    const payroll::Period march = payroll::Period::of("管理", 2024, 3);
    double viewSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        gzb.close();
        months.remove(march);
        state.ResumeTiming();
        months.generateFromSet(march);
        const auto shown = std::chrono::steady_clock::now();
        narrowToMarch(view);
        view.open();
        viewSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - shown).count();
        if (gzb.recordCount() != kLargeMonth) state.SkipWithError("not every row was read");
    }
    state.counters["rows"] = kLargeMonth;
    // The share of the view in the time, per run.
    state.counters["view_ms"] = 1000 * viewSeconds / static_cast<double>(state.iterations());
}

}  // namespace

BENCHMARK(BareSelectOfOneMonth)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(SalaryViewOfOneMonth)->ArgNames({"by_net_pay", "server"})->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(CloseOneMonth)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1);
BENCHMARK(ScrollSalaryView)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(GenerateAndShowLargeMonth)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

BENCHMARK_MAIN();
