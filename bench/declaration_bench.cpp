// The month's withholding declaration of 5,000 employees paid in December from two sets that
// withhold cumulatively (20 items each, six of them with a kind the declaration sums, two formula
// items), each employee with two declared deductions and a monthly other deduction: gathering the
// figures (the year's walk over the eleven closed months before included), writing the workbook, and both.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <string>

#include "SeededDatabase.h"
#include "db/Connection.h"
#include "payroll/DeclarationData.h"
#include "payroll/TaxLaw.h"
#include "payroll/WithholdingDeclaration.h"

using namespace rsgz;

namespace {

constexpr int kEmployees = 5000;

std::string code(int i) { return (i < 10 ? "gz0" : "gz") + std::to_string(i); }

void seedSet(db::Connection& conn, const char* number, const char* name)
{
    const char* kinds[] = {"收入", "收入", "免税收入", "养老保险", "医疗保险", "住房公积金"};
    for (int i = 1; i <= 20; ++i) {
        const std::string kind = i <= 6 ? kinds[i - 1] : "";
        const std::string formula = i == 4 ? "gz01*0.08" : i == 5 ? "gz01*0.02" : "";
        conn.exec(std::string("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 项目类别) values ('") +
                  number + "', '" + code(i) + "', '项目" + std::to_string(i) + "', '" + formula + "', '否', '" + kind + "')");
    }
    conn.exec(std::string("insert into 帐套 (帐套编号, 帐套名称) values ('") + number + "', '" + name + "')");
    // January to November closed (their stored figures are read), December open (computed by the view).
    conn.exec(std::string("with recursive n(i) as (select 1 union all select i + 1 from n where i < ") +
              std::to_string(kEmployees) + "), m(k) as (select 1 union all select k + 1 from m where k < 12) "
              "insert into 工资表 (员工编号, 姓名, 工资帐套, 年, 月, 结帐状态, gz01, gz02, gz03, gz04, gz05, gz06) "
              "select printf('E%05d', i), '员工' || i, '" + name + "', '2026', printf('%02d', k), "
              "case when k < 12 then '是' else '否' end, 8000 + i, 500, 300, 640, 160, 960 from n, m");
}

void seed(db::Connection& conn)
{
    db::Transaction t(conn);
    const std::string n = std::to_string(kEmployees);
    // Valid numbers: a fixed body whose check character the generator works out would be slow to
    // write here, so every employee carries the same sound number; the check runs on each all the same.
    conn.exec("with recursive n(i) as (select 1 union all select i + 1 from n where i < " + n +
              ") insert into 员工基本情况 (员工编号, 姓名, 身份证号, 入职日期) "
              "select printf('E%05d', i), '员工' || i, '11010519491231002X', '2015-01-01' from n");
    seedSet(conn, "01", "管理");
    seedSet(conn, "02", "车间");
    for (const char* set : {"管理", "车间"}) payroll::tax::setTaxMethod(conn, set, payroll::tax::TaxMethod::Cumulative);
    conn.exec("with recursive n(i) as (select 1 union all select i + 1 from n where i < " + n +
              ") insert into 专项附加扣除 (员工编号1, 扣除类别, 扣除方式, 子女人数, 起始年月, 结束年月, 每月金额) "
              "select printf('E%05d', i), '子女教育', '', 1, '2024-09', '', 2000 from n union all "
              "select printf('E%05d', i), '赡养老人', '独生子女', 0, '2020-01', '', 3000 from n");
    conn.exec("with recursive n(i) as (select 1 union all select i + 1 from n where i < 12) , e(j) as (select 1 union all "
              "select j + 1 from e where j < " + n + ") insert into 其他扣除 (员工编号1, 年月, 扣除类别, 金额) "
              "select printf('E%05d', j), printf('2026-%02d', i), '个人养老金', 1000 from n, e");
    t.commit();
}

const bench::SeededDatabase& fixture()
{
    static const bench::SeededDatabase f("declaration.db", seed);
    return f;
}

void GatherDecember(benchmark::State& state)
{
    db::Connection conn(fixture().path);
    for (auto _ : state) {
        const payroll::Declaration d = payroll::gatherDeclaration(conn, 2026, 12);
        if (d.wages.size() != kEmployees) state.SkipWithError("not every employee was declared");
    }
    state.counters["rows"] = kEmployees;
}
BENCHMARK(GatherDecember)->Unit(benchmark::kMillisecond);

void WriteDecember(benchmark::State& state)
{
    db::Connection conn(fixture().path);
    const payroll::Declaration d = payroll::gatherDeclaration(conn, 2026, 12);
    QTemporaryDir dir;
    for (auto _ : state) payroll::writeDeclaration(dir.filePath(QStringLiteral("申报.xlsx")).toStdString(), d);
    state.counters["rows"] = kEmployees;
}
BENCHMARK(WriteDecember)->Unit(benchmark::kMillisecond);

// What the user waits for after 生成申报表: the figures, the check of every number, the file.
void DeclareDecember(benchmark::State& state)
{
    db::Connection conn(fixture().path);
    QTemporaryDir dir;
    for (auto _ : state) {
        const payroll::Declaration d = payroll::gatherDeclaration(conn, 2026, 12);
        if (!payroll::declarationRefusals(d, "2026-12-31").empty()) state.SkipWithError("a number was refused");
        payroll::writeDeclaration(dir.filePath(QStringLiteral("申报.xlsx")).toStdString(), d);
    }
    state.counters["rows"] = kEmployees;
}
BENCHMARK(DeclareDecember)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
