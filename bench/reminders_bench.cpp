// The reminders of the desktop over 20,000 employees: every count, one statement per kind, as the
// desktop shows them after the login (the budget is 0.2 s); and the same without the indexes on the
// status and the date columns (arg 1), to show what they are worth.
#include <benchmark/benchmark.h>

#include "SampleOrganisation.h"
#include "app/MainFrame.h"
#include "app/TDM.h"
#include "personnel/Reminders.h"
#include "support/RecordRules.h"

using namespace rsgz;

namespace {

constexpr int kEmployees = 20000;

void ReminderCounts(benchmark::State& state)
{
    const bench::SampleOrganisation& o = bench::sampleOrganisation(kEmployees);
    app::TDM dm;
    app::MainFrame frame{dm};
    app::setDM(&dm);
    test::bindRecordRules(dm);
    frame.create(o.programDir);
    const bool withoutIndexes = state.range(0) == 1;
    const char* const dates[] = {"合同到期", "退休日期"};  // the indexed ones
    if (withoutIndexes)
        for (const char* d : dates) dm.DMADO.execNative(std::string("drop index if exists \"员工基本情况_在职_") + d + "\"");
    const personnel::Reminders reminders(dm, personnel::ReminderSettings{}, dm.now().date());
    int total = 0;
    for (auto _ : state) {
        total = 0;
        for (const personnel::ReminderCount& c : reminders.counts()) total += c.count;
    }
    state.counters["reminded"] = total;
    state.SetLabel(withoutIndexes ? "without the date indexes" : "with the date indexes");
    // Put the indexes back for whatever runs next on the same file.
    if (withoutIndexes) {
        for (const char* d : dates)
            dm.DMADO.execNative(std::string("create index if not exists \"员工基本情况_在职_") + d +
                                "\" on \"员工基本情况\" (\"在职状况\",\"" + d + "\")");
    }
    app::setDM(nullptr);
}
BENCHMARK(ReminderCounts)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
