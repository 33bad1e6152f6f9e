// Choosing 人员档案管理 over a large organisation, and scrolling its grid: the list opens once
// (records, field lists, field list file) and the grid reads cells from the dataset in place.
#include <benchmark/benchmark.h>

#include "SampleOrganisation.h"
#include "ServerDatabase.h"
#include "app/MainFrame.h"
#include "app/TDM.h"
#include "db/Native.h"
#include "support/RecordRules.h"
#include "widgets/DataSetModel.h"

using namespace rsgz;

namespace {

constexpr int kEmployees = 20000;

using Organisation = bench::SampleOrganisation;

const Organisation& organisation()
{
    static const Organisation o(kEmployees);
    return o;
}

// The same organisation on the server, copied from the file once per program.
const bench::ServerDatabase& serverOrganisation()
{
    static const auto copy = [] {
        auto db = std::make_unique<bench::ServerDatabase>();
        db->copyFrom(organisation().programDir + "data/vesk.db");
        return db;
    }();
    return *copy;
}

// A fresh start each time: data module with its rules, frame, and the first choice of module 1;
// on the file (argument 0) or on the server (1).
void ChooseEmployeeModule(benchmark::State& state)
{
    if (!bench::engineAvailable(state)) return;
    const bool server = bench::engineOf(state) == bench::Engine::Server;
    if (server) serverOrganisation();
    for (auto _ : state) {
        state.PauseTiming();
        auto dm = std::make_unique<app::TDM>();
        app::setDM(dm.get());
        test::bindRecordRules(*dm);
        app::MainFrame frame(*dm);
        frame.create(organisation().programDir);
        if (server) dm->DMADO.setServer(serverOrganisation().target());
        state.ResumeTiming();
        frame.navigation().chooseModule(1);
        if (dm->rszl.recordCount() != kEmployees) state.SkipWithError("not every employee was listed");
        state.PauseTiming();
        app::setDM(nullptr);
        dm.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(ChooseEmployeeModule)->ArgName("server")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

int countStatements(unsigned, void* counter, void*, void*)
{
    ++*static_cast<int64_t*>(counter);
    return 0;
}

// Scrolling: the view asks for the cells of one screen (30 rows) at a time, from the top to the
// bottom, and the dataset's cursor follows. Counts the statements run while scrolling (must be 0).
void ScrollEmployeeGrid(benchmark::State& state)
{
    app::TDM dm;
    app::setDM(&dm);
    test::bindRecordRules(dm);
    app::MainFrame frame(dm);
    frame.create(organisation().programDir);
    frame.navigation().chooseModule(1);
    widgets::DataSetModel model(&dm.rszl);
    int64_t statements = 0;
    sqlite3_trace_v2(db::Native::handle(dm.DMADO), SQLITE_TRACE_STMT, countStatements, &statements);
    const size_t heldBefore = dm.rszl.heldBytes();
    constexpr int kScreen = 30;
    for (auto _ : state) {
        for (int top = 0; top + kScreen <= model.rowCount(); top += kScreen) {
            dm.rszl.moveToRow(top);
            for (int r = top; r < top + kScreen; ++r)
                for (int c = 0; c < model.columnCount(); ++c) benchmark::DoNotOptimize(model.index(r, c).data());
        }
    }
    sqlite3_trace_v2(db::Native::handle(dm.DMADO), 0, nullptr, nullptr);
    state.counters["statements_run"] = static_cast<double>(statements);
    state.counters["held_MB_change"] =
        (static_cast<double>(dm.rszl.heldBytes()) - static_cast<double>(heldBefore)) / (1024.0 * 1024.0);
    state.counters["screens"] = static_cast<double>(model.rowCount() / kScreen);
    app::setDM(nullptr);
}
BENCHMARK(ScrollEmployeeGrid)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
