// Record-set speed over a realistic organisation: reading the whole employee list through a
// dataset against a bare engine loop, and importing employees one post at a time.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "SampleData.h"
#include "ServerDatabase.h"
#include "app/TDM.h"
#include "db/Connection.h"
#include "db/Native.h"
#include "db/DataSet.h"

using namespace rsgz;

namespace {

constexpr int kEmployees = 20000;
constexpr int kImported = 10000;
const char* const kSelectAll = "select * from 员工基本情况";

struct Fixture {
    QTemporaryDir dir;
    std::string templatePath, samplePath;
    Fixture()
    {
        templatePath = dir.filePath("init.db").toStdString();
        samplePath = dir.filePath("sample.db").toStdString();
        app::createTemplateDatabase(templatePath);
        std::filesystem::copy_file(templatePath, samplePath);
        db::Connection conn(samplePath);
        sample::fillSampleData(conn, kEmployees, 2024);
    }
};

const Fixture& fixture()
{
    static const Fixture f;
    return f;
}

double residentMegabytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Opens the dataset and reads every value of every row through its cursor.
void openAndReadEveryField(db::DataSet& ds)
{
    ds.open();
    const int fields = ds.fieldCount();
    for (ds.first(); !ds.eof(); ds.next()) {
        for (int f = 0; f < fields; ++f) {
            db::Value v = ds.value(f);
            benchmark::DoNotOptimize(v);
        }
    }
}

// The employee list is one long-lived dataset of the data module, opened again and again (after a
// save, a search, a change of order); each iteration opens it and reads every value of every row.
void DataSetReadsEveryField(benchmark::State& state)
{
    db::Connection conn(fixture().samplePath);
    db::DataSet ds(&conn, "rszl", {kSelectAll});
    malloc_trim(0);
    const double before = residentMegabytes();
    double firstGrowth = -1;
    for (auto _ : state) {
        openAndReadEveryField(ds);
        if (firstGrowth < 0) firstGrowth = residentMegabytes() - before;
    }
    state.counters["rows"] = ds.recordCount();
    state.counters["held_MB"] = static_cast<double>(ds.heldBytes()) / (1024.0 * 1024.0);
    state.counters["rss_growth_MB"] = firstGrowth;
}

// The same with a dataset made for each read, so that its row storage comes fresh from the system.
void NewDataSetReadsEveryField(benchmark::State& state)
{
    db::Connection conn(fixture().samplePath);
    for (auto _ : state) {
        db::DataSet ds(&conn, "rszl", {kSelectAll});
        openAndReadEveryField(ds);
    }
}

void BareStepReadsEveryField(benchmark::State& state)
{
    db::Connection conn(fixture().samplePath);
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db::Native::handle(conn), kSelectAll, -1, &st, nullptr);
        const int columns = sqlite3_column_count(st);
        size_t seen = 0;
        int rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            ++rows;
            for (int c = 0; c < columns; ++c) {
                const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
                const std::string s(t ? t : "", static_cast<size_t>(sqlite3_column_bytes(st, c)));
                seen += s.size();
            }
        }
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(seen);
        state.counters["rows"] = rows;
    }
}

// The values of kImported sample employees, read once, for the import benchmark.
const std::vector<std::vector<std::pair<std::string, db::Value>>>& importRows()
{
    static const auto rows = [] {
        std::vector<std::vector<std::pair<std::string, db::Value>>> out;
        db::Connection conn(fixture().samplePath);
        db::DataSet ds(&conn, "source", {"select top " + std::to_string(kImported) + " * from 员工基本情况"});
        ds.open();
        for (ds.first(); !ds.eof(); ds.next()) {
            auto& row = out.emplace_back();
            for (int f = 0; f < ds.fieldCount(); ++f)
                if (ds.field(f).type != db::FieldType::AutoInc && !ds.value(f).isNull())
                    row.emplace_back(ds.field(f).name, ds.value(f));
        }
        return out;
    }();
    return rows;
}

// Each run into a new database: a copy of the template file (argument 0) or a new office's database
// on the server (1).
void ImportThroughEmployeeList(benchmark::State& state)
{
    if (!bench::engineAvailable(state)) return;
    const bool server = bench::engineOf(state) == bench::Engine::Server;
    const auto& rows = importRows();
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir program;
        const std::string dir = program.path().toStdString() + "/";
        std::filesystem::create_directories(dir + "data");
        std::filesystem::copy_file(fixture().templatePath, dir + "data/vesk.db");
        std::unique_ptr<bench::ServerDatabase> office;
        app::TDM dm;
        dm.setProgramDir(dir);
        if (server) {
            office = std::make_unique<bench::ServerDatabase>();
            dm.DMADO.setServer(office->target());
        }
        state.ResumeTiming();

        dm.rszl.open();
        for (const auto& row : rows) {
            dm.rszl.append();
            for (const auto& [field, value] : row) dm.rszl.setValue(field, value);
            dm.rszl.post();
        }
        state.PauseTiming();
        if (dm.rszl.recordCount() != kImported) state.SkipWithError("not every employee was written");
        dm.rszl.close();
        dm.DMADO.close();
        office.reset();
        state.ResumeTiming();
    }
    state.counters["employees"] = kImported;
}

}  // namespace

BENCHMARK(DataSetReadsEveryField)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(NewDataSetReadsEveryField)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BareStepReadsEveryField)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(ImportThroughEmployeeList)->ArgName("server")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
