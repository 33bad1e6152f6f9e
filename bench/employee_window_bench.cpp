// The employee window over a large organisation: opening it on the employee list, and moving to
// the next employee while a list page is shown (the page's records re-read, fields and photo shown).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <filesystem>

#include "SampleOrganisation.h"
#include "WidgetBenchMain.h"
#include "app/MainFrame.h"
#include "app/TDM.h"
#include "personnel/EmployeeStore.h"
#include "personnel/windows/Trszlw.h"
#include "support/RecordRules.h"

using namespace rsgz;

namespace {

constexpr int kEmployees = 20000;

const bench::SampleOrganisation& organisation()
{
    static const bench::SampleOrganisation o(kEmployees);
    return o;
}

// The data module as the records module leaves it: the employee list open over everyone.
struct Program {
    std::unique_ptr<app::TDM> dm = std::make_unique<app::TDM>();
    std::unique_ptr<app::MainFrame> frame;
    Program()
    {
        app::setDM(dm.get());
        test::bindRecordRules(*dm);
        frame = std::make_unique<app::MainFrame>(*dm);
        frame->create(organisation().programDir);
        dm->CurrentModule = 1;
        dm->rszl.open();
    }
    ~Program() { app::setDM(nullptr); }
};

void OpenEmployeeWindow(benchmark::State& state)
{
    Program program;
    for (auto _ : state) {
        personnel::Trszlw w(*program.dm);
        w.show();
        benchmark::DoNotOptimize(w.windowTitle());
    }
}
BENCHMARK(OpenEmployeeWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

void NextEmployeeOnTransfersPage(benchmark::State& state)
{
    Program program;
    // Every employee has a photo, so each step loads and scales one.
    QImage img(300, 400, QImage::Format_RGB32);
    img.fill(Qt::gray);
    QDir().mkpath(QString::fromStdString(organisation().programDir + "照片"));
    for (int i = 0; i < 200; ++i) {
        program.dm->rszl.moveToRow(i);
        img.save(QString::fromStdString(personnel::employeePhotoPath(*program.dm, program.dm->rszl.asString("员工编号"))), "JPG");
    }
    program.dm->rszl.first();
    personnel::Trszlw w(*program.dm);
    w.show();
    w.pages()->setCurrentIndex(6);
    auto* next = w.findChild<QToolButton*>(QStringLiteral("后一条记录"));
    for (auto _ : state) {
        if (program.dm->rszl.recNo() >= 200) {
            state.PauseTiming();
            program.dm->rszl.first();
            state.ResumeTiming();
        }
        next->click();
        benchmark::DoNotOptimize(program.dm->ddjl.recordCount());
    }
}
BENCHMARK(NextEmployeeOnTransfersPage)->Unit(benchmark::kMillisecond)->Iterations(150);

}  // namespace

RSGZ_WIDGET_BENCHMARK_MAIN()
