// Generating and copying a month of 5,000 employees with 39 salary items, against a bare prepared
// insert of the same 5,000 rows in one transaction.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "app/TDM.h"
#include "SeededDatabase.h"
#include "db/Connection.h"
#include "db/Native.h"
#include "payroll/MonthTable.h"

using namespace rsgz;

namespace {

constexpr int kEmployees = 5000;
constexpr int kGrades = 8;

void seed(db::Connection& conn)
{
    db::Transaction t(conn);
    conn.exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理')");
    for (int i = 1; i <= 39; ++i) {
        const std::string code = (i < 10 ? "gz0" : "gz") + std::to_string(i);
        conn.exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 初始值) values ('01', '" + code + "', '项目" +
                  std::to_string(i) + "', " + std::to_string(i) + ")");
        // Every grade but the last has a default for the odd items.
        for (int g = 1; g < kGrades; ++g)
            if (i % 2)
                conn.exec("insert into 默认工资等级值 (工资等级, 工资项目, 金额) values ('等级" + std::to_string(g) + "', '项目" +
                          std::to_string(i) + "', " + std::to_string(100 * g + i) + ".25)");
    }
    db::Statement st = conn.prepareNative("insert into 员工基本情况 (员工编号, 姓名, 工资等级, 工资帐套名称, 工资核算, 一级部门, "
                                          "二级部门) values (?, ?, ?, '管理', '是', '总部', ?)");
    for (int i = 1; i <= kEmployees; ++i) {
        char no[16];
        std::snprintf(no, sizeof no, "E%05d", i);
        st.bind(1, no).bind(2, "员工" + std::to_string(i)).bind(3, "等级" + std::to_string(i % kGrades + 1));
        st.bind(4, "部门" + std::to_string(i % 20)).run();
    }
    t.commit();
}

const bench::SeededDatabase& fixture()
{
    static const bench::SeededDatabase f("payroll.db", seed);
    return f;
}

const bench::SeededServerDatabase* serverFixture()
{
    static const bench::SeededServerDatabase f(seed);
    return &f;
}

const payroll::Period kMarch = payroll::Period::of("管理", 2024, 3);

// On the file (argument 0) or on the server (1).
void GenerateMonthFromGradeDefaults(benchmark::State& state)
{
    if (!bench::engineAvailable(state)) return;
    const auto engine = bench::engineOf(state);
    const auto c = bench::connectTo(engine, fixture(), engine == bench::Engine::Server ? serverFixture() : nullptr);
    db::Connection& conn = *c;
    payroll::MonthTable table(conn);
    for (auto _ : state) {
        state.PauseTiming();
        table.remove(kMarch);
        state.ResumeTiming();
        if (table.generateFromSet(kMarch) != kEmployees) state.SkipWithError("not every employee got a row");
    }
    state.counters["rows"] = kEmployees;
}

void CopyPreviousMonth(benchmark::State& state)
{
    db::Connection conn(fixture().path);
    payroll::MonthTable table(conn);
    table.remove(kMarch.previous());
    table.generateFromSet(kMarch.previous());
    for (auto _ : state) {
        state.PauseTiming();
        table.remove(kMarch);
        state.ResumeTiming();
        if (table.copyPreviousMonth(kMarch) != kEmployees) state.SkipWithError("not every row was copied");
    }
    state.counters["rows"] = kEmployees;
}

// The floor: the same 5,000 rows of 51 bound values through one prepared insert, one transaction.
void BarePreparedInsert(benchmark::State& state)
{
    db::Connection conn(fixture().path);
    payroll::MonthTable table(conn);
    std::string sql = "insert into 工资表 (工资帐套,年,月,员工编号,姓名,工资等级,一级部门,二级部门,三级部门,四级部门,出勤天数,结帐状态";
    for (int i = 1; i <= 39; ++i) sql += (i < 10 ? ",gz0" : ",gz") + std::to_string(i);
    sql += ") values (?";
    for (int i = 1; i < 51; ++i) sql += ",?";
    sql += ")";
    for (auto _ : state) {
        state.PauseTiming();
        table.remove(kMarch);
        state.ResumeTiming();
        db::Transaction t(conn);
        db::Statement st = conn.prepareNative(sql);
        for (int e = 0; e < kEmployees; ++e) {
            const std::string no = "E" + std::to_string(e);
            sqlite3_bind_text(db::Native::statement(st), 1, "管理", -1, SQLITE_STATIC);
            sqlite3_bind_text(db::Native::statement(st), 2, "2024", -1, SQLITE_STATIC);
            sqlite3_bind_text(db::Native::statement(st), 3, "03", -1, SQLITE_STATIC);
            sqlite3_bind_text(db::Native::statement(st), 4, no.c_str(), -1, SQLITE_TRANSIENT);
            for (int c = 5; c <= 10; ++c) sqlite3_bind_text(db::Native::statement(st), c, "总部", -1, SQLITE_STATIC);
            sqlite3_bind_double(db::Native::statement(st), 11, 30);
            sqlite3_bind_text(db::Native::statement(st), 12, "否", -1, SQLITE_STATIC);
            for (int c = 13; c <= 51; ++c) sqlite3_bind_double(db::Native::statement(st), c, 100.25);
            st.step();
            st.reset();
        }
        t.commit();
    }
    state.counters["rows"] = kEmployees;
}

}  // namespace

BENCHMARK(BarePreparedInsert)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(GenerateMonthFromGradeDefaults)->ArgName("server")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(CopyPreviousMonth)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

BENCHMARK_MAIN();
