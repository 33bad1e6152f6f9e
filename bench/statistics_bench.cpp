// Personnel statistics and the personnel combined query over 20,000 employees: a count by one item
// against a bare grouped count of the same column with its rows read (一级部门 with a few values,
// 身份证号 with one value per employee), and 查询 with all sixty boxes of the personnel window filled.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "SampleOrganisation.h"
#include "app/MainFrame.h"
#include "app/TDM.h"
#include "query/CombinedQuery.h"
#include "query/DefaultQueryFiles.h"
#include "query/PersonnelStatistics.h"
#include "query/QueryPages.h"
#include "support/RecordRules.h"

using namespace rsgz;

namespace {

constexpr int kEmployees = 20000;
const char* const kItems[] = {"一级部门", "身份证号"};

const bench::SampleOrganisation& organisation() { return bench::sampleOrganisation(kEmployees); }

struct Program {
    app::TDM dm;
    app::MainFrame frame{dm};
    query::QueryPages pages{dm, frame.navigation()};
    explicit Program(int module)
    {
        app::setDM(&dm);
        test::bindRecordRules(dm);
        frame.create(organisation().programDir);
        query::writeMissingQueryFiles(organisation().programDir + "set/");
        frame.navigation().chooseModule(module);
    }
    ~Program() { app::setDM(nullptr); }
};

void BareGroupedCount(benchmark::State& state)
{
    Program p(6);
    const std::string item = kItems[state.range(0)];
    db::DataSet& s = p.dm.s3;
    for (auto _ : state) {
        s.close();
        s.setSql({"select " + item + ", count(*) from 员工基本情况 group by " + item});
        s.open();
        for (int r = 0; r < s.rowCount(); ++r) {
            benchmark::DoNotOptimize(s.rowValue(r, 0).toString());
            benchmark::DoNotOptimize(s.rowValue(r, 1).toInt());
        }
        state.counters["rows"] = s.rowCount();
        s.close();
    }
    state.SetLabel(item);
}
BENCHMARK(BareGroupedCount)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The whole run: the item checked, the grouped count in pinyin order, 其他, the result list filled.
void Statistics(benchmark::State& state)
{
    Program p(6);
    const std::string item = kItems[state.range(0)];
    query::PersonnelStatistics statistics(p.dm, p.pages.trees());
    for (auto _ : state) {
        if (!statistics.run(item, -1)) state.SkipWithError("not counted");
        state.counters["rows"] = p.dm.rytongji.rowCount();
    }
    state.SetLabel(item);
}
BENCHMARK(Statistics)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// 查询 in the personnel window with every one of its sixty boxes filled: with the values of one
// employee (a box that employee leaves empty gets a text found in no row, so that all sixty
// conditions are written; then nobody matches), or with that employee's values alone (arg 1).
void CombinedQueryAllBoxes(benchmark::State& state)
{
    const bool ownValuesOnly = state.range(0) == 1;
    Program p(1);
    query::CombinedQuery window(p.dm, p.pages.queries(), 1);
    window.load();
    std::vector<std::string> values;
    const int middle = p.dm.rszl.rowCount() / 2;
    for (const query::QueryBox& b : window.boxes()) {
        const std::string v = p.dm.rszl.rowValue(middle, p.dm.rszl.fieldIndex(b.column)).toString();
        values.push_back(v.empty() && !ownValuesOnly ? "无此值" : v);
    }
    state.counters["filled"] = static_cast<double>(std::count_if(values.begin(), values.end(), [](const std::string& v) { return !v.empty(); }));
    for (auto _ : state) {
        window.run(values);
        state.counters["rows"] = p.dm.rszl.rowCount();
    }
}
BENCHMARK(CombinedQueryAllBoxes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
