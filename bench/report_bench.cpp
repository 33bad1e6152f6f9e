// Laying out the pages of a large grid: the preview and every print compute the whole report
// before painting, so this is the wait after 打印 on a long list.
#include <benchmark/benchmark.h>

#include "print/ReportPages.h"

using namespace rsgz;

namespace {

print::ReportTable table(int rows)
{
    print::ReportTable t;
    t.fields = {"序号", "调动日期", "调动前单位", "调动后单位", "调动原因", "晋升后工资"};
    for (int i = 0; i < rows; ++i)
        t.rows.push_back({db::Value(i + 1), db::Value("2020-03-01"), db::Value("市第三中学"), db::Value("区教育局"),
                          db::Value("工作需要，经研究同意调入区教育局办公室担任科员"),
                          db::Value(db::Money::fromUnits(35000000 + i))});
    return t;
}

void BM_LayoutReport(benchmark::State& state)
{
    const print::ReportTable t = table(static_cast<int>(state.range(0)));
    print::ReportDefinition d = print::defaultDefinition();
    for (const std::string& f : t.fields)
        d.columns.push_back(print::columnForField(f));
    d.columns[4].wrap = true;
    d.columns[5].expression = "SUM";
    d.columns[5].format = "#,##0.00";
    for (auto _ : state)
        benchmark::DoNotOptimize(print::layoutReport(d, t).pages.size());
}
BENCHMARK(BM_LayoutReport)->Arg(200)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
