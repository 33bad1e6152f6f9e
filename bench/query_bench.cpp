// The query trees and the sort bar of the personnel page over 20,000 employees: building a
// four-level tree from one query against a bare distinct read of the same columns, a click on a
// root node with the grid shown again, loading a tree file of 20,000 nodes, and sorting by a text
// column in pinyin order.
#include <benchmark/benchmark.h>

#include "SampleOrganisation.h"
#include "app/MainFrame.h"
#include "app/TDM.h"
#include "query/QueryPages.h"
#include "support/RecordRules.h"
#include "widgets/DataSetModel.h"

using namespace rsgz;

namespace {

constexpr int kEmployees = 20000;
const std::vector<std::string> kLevels = {"一级部门", "二级部门", "三级部门", "职称"};

const bench::SampleOrganisation& organisation()
{
    static const bench::SampleOrganisation o(kEmployees);
    return o;
}

// The personnel page as the program shows it: data module with its rules, frame, query side,
// module 1 chosen.
struct Page {
    app::TDM dm;
    app::MainFrame frame{dm};
    query::QueryPages pages{dm, frame.navigation()};
    Page()
    {
        app::setDM(&dm);
        test::bindRecordRules(dm);
        frame.create(organisation().programDir);
        frame.navigation().chooseModule(1);
    }
    ~Page() { app::setDM(nullptr); }
};

// What the tree build is measured against: one distinct read of the four columns, rows read.
void BareDistinctOfFourColumns(benchmark::State& state)
{
    Page page;
    db::DataSet& s = page.dm.s1;
    for (auto _ : state) {
        s.close();
        s.setSql({"select distinct 一级部门,二级部门,三级部门,职称 from 员工基本情况"});
        s.open();
        for (int r = 0; r < s.rowCount(); ++r)
            for (int c = 0; c < 4; ++c) benchmark::DoNotOptimize(s.rowValue(r, c).toString());
        state.counters["rows"] = s.rowCount();
        s.close();
    }
}
BENCHMARK(BareDistinctOfFourColumns)->Unit(benchmark::kMillisecond);

// The whole build: the distinct paths in pinyin order, the tree in memory, the tree file written.
void BuildFourLevelTree(benchmark::State& state)
{
    Page page;
    for (auto _ : state) page.pages.trees().build(1, kLevels);
    state.counters["nodes"] = page.pages.trees().tree(1).size();
}
BENCHMARK(BuildFourLevelTree)->Unit(benchmark::kMillisecond);

// A click on the largest root node, and the grid's first screen drawn from the new rows.
void ClickRootNodeAndShowGrid(benchmark::State& state)
{
    Page page;
    page.pages.trees().saveFieldList(1, kLevels);
    page.pages.trees().build(1, kLevels);
    widgets::DataSetModel model(&page.dm.rszl);
    const query::QueryTree& tree = page.pages.trees().tree(1);
    for (auto _ : state) {
        page.pages.nodeClicked(1, 0);
        for (int r = 0; r < std::min(30, model.rowCount()); ++r)
            for (int c = 0; c < model.columnCount(); ++c) benchmark::DoNotOptimize(model.index(r, c).data());
    }
    state.counters["rows"] = page.dm.rszl.recordCount();
    state.counters["root"] = static_cast<double>(tree.node(0).text.size());
}
BENCHMARK(ClickRootNodeAndShowGrid)->Unit(benchmark::kMillisecond);

// A tree with every employee at its second level (more than 20,000 nodes), read from its file.
void LoadTreeFileOf20000Nodes(benchmark::State& state)
{
    Page page;
    page.pages.trees().build(1, {"一级部门", "员工编号"});
    const std::string path = organisation().programDir + "set/rszl.list";
    query::QueryTree tree;
    for (auto _ : state) benchmark::DoNotOptimize(tree.load(path).ok);
    state.counters["nodes"] = tree.size();
}
BENCHMARK(LoadTreeFileOf20000Nodes)->Unit(benchmark::kMillisecond);

// What a sort costs beyond reading the list again: the same list re-read without an order.
void ReopenEmployeeList(benchmark::State& state)
{
    Page page;
    for (auto _ : state) page.dm.rszl.requery();
    state.counters["rows"] = page.dm.rszl.recordCount();
}
BENCHMARK(ReopenEmployeeList)->Unit(benchmark::kMillisecond);

// The sort box on 姓名, both directions in turn, over the whole list.
void SortByName(benchmark::State& state)
{
    Page page;
    bool descending = false;
    for (auto _ : state) {
        page.pages.sortChosen(1, "姓名", descending ? "降序" : "升序");
        descending = !descending;
    }
    state.counters["rows"] = page.dm.rszl.recordCount();
}
BENCHMARK(SortByName)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
