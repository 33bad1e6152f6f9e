// What the database file costs at login and while writing: the structural check of a
// 20,000-employee database read warm (from the system's cache) and cold (from the disk), and the
// price of folding the log into the file once writes settle, per committed row.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <filesystem>
#include <optional>
#include <string>

#include "SampleData.h"
#include "app/IdleCheckpoint.h"
#include "app/TDM.h"
#include "db/Connection.h"
#include "db/DataSet.h"

using namespace rsgz;

namespace {

struct SampleFile {
    QTemporaryDir dir;
    std::string templatePath, path;
    SampleFile()
    {
        templatePath = dir.filePath("init.db").toStdString();
        path = dir.filePath("vesk.db").toStdString();
        app::createTemplateDatabase(templatePath);
        std::filesystem::copy_file(templatePath, path);
        db::Connection conn(path);
        sample::fillSampleData(conn, 20000, 2024);
    }
};

const SampleFile& sampleFile()
{
    static const SampleFile f;
    return f;
}

// Asks the system to forget the file's pages, so the next read comes from the disk.
void dropFromCache(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return;
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

void LoginCheck(benchmark::State& state)
{
    const bool cold = state.range(0) != 0;
    const std::string& path = sampleFile().path;
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            dropFromCache(path);
            state.ResumeTiming();
        }
        if (!db::quickCheckFile(path).empty()) state.SkipWithError("the sample database is damaged");
    }
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
    state.SetLabel(cold ? "cold" : "warm");
}

// 10,000 rows posted one by one, with and without the checkpoint that waits for writes to settle.
void PostsWithIdleCheckpoint(benchmark::State& state)
{
    int argc = 1;
    char name[] = "bench";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    const bool idle = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        const std::string path = dir.filePath("vesk.db").toStdString();
        std::filesystem::copy_file(sampleFile().templatePath, path);
        db::Connection conn(path);
        std::optional<app::IdleCheckpoint> checkpoint;
        if (idle) checkpoint.emplace(conn);
        db::DataSet ds(&conn, "gz_zt", {"select * from 帐套"});
        state.ResumeTiming();
        ds.open();
        for (int i = 0; i < 10000; ++i) {
            ds.append();
            ds.setValue("帐套编号", db::Value(std::to_string(i)));
            ds.setValue("帐套名称", db::Value("帐套" + std::to_string(i)));
            ds.post();
        }
        QCoreApplication::processEvents();
    }
    state.SetLabel(idle ? "with idle checkpoint" : "without");
}

}  // namespace

BENCHMARK(LoginCheck)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(PostsWithIdleCheckpoint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
