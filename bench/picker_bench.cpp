// The employee picker over 20,000 employees: opening it (every employee as candidate, the
// personnel tree of four levels read from its file, the chosen list emptied) with the candidate
// grid shown, and a click on a root node of its tree.
#include <benchmark/benchmark.h>

#include "SampleOrganisation.h"
#include "app/MainFrame.h"
#include "app/TDM.h"
#include "personnel/EmployeePicker.h"
#include "query/QueryPages.h"
#include "support/RecordRules.h"
#include "widgets/DataSetModel.h"

using namespace rsgz;

namespace {

constexpr int kEmployees = 20000;

// The program as the picker finds it: data module with its rules, the personnel tree built and saved.
struct Program {
    app::TDM dm;
    app::MainFrame frame{dm};
    query::QueryPages pages{dm, frame.navigation()};
    Program()
    {
        static const bench::SampleOrganisation organisation(kEmployees);
        app::setDM(&dm);
        test::bindRecordRules(dm);
        frame.create(organisation.programDir);
        const std::vector<std::string> levels = {"一级部门", "二级部门", "三级部门", "职称"};
        pages.trees().saveFieldList(1, levels);
        pages.trees().build(1, levels);
    }
    ~Program() { app::setDM(nullptr); }
};

void OpenPickerOver20000Employees(benchmark::State& state)
{
    Program program;
    widgets::DataSetModel grid(&program.dm.s4);
    for (auto _ : state) {
        personnel::EmployeePicker picker(program.dm, "选择受培训人员");
        picker.open();
        benchmark::DoNotOptimize(grid.data(grid.index(0, 0)));
        state.counters["rows"] = program.dm.s4.recordCount();
        state.counters["nodes"] = picker.tree().size();
    }
}
BENCHMARK(OpenPickerOver20000Employees)->Unit(benchmark::kMillisecond);

void ClickRootNodeInPicker(benchmark::State& state)
{
    Program program;
    personnel::EmployeePicker picker(program.dm, "选择批准人");
    picker.open();
    for (auto _ : state) {
        picker.clickNode(0);
        state.counters["rows"] = program.dm.s4.recordCount();
    }
}
BENCHMARK(ClickRootNodeInPicker)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
