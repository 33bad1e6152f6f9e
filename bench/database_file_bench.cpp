// What the database file costs at login and while writing, on a 20,000-employee database read warm
// (from the system's cache) and cold (from the disk): the login until its window may close (the
// checks of what it reads, the operator's row, the password), the full structural check that
// follows it on a thread of its own, and the price of folding the log into the file once writes
// settle, per committed row.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <filesystem>
#include <optional>
#include <string>

#include "SampleData.h"
#include "admin/LoginForm.h"
#include "app/PasswordHash.h"
#include "app/IdleCheckpoint.h"
#include "app/MainFrame.h"
#include "app/TDM.h"
#include "db/Connection.h"
#include "db/DataSet.h"
#include "db/LoginCheck.h"

using namespace rsgz;

namespace {

// A program directory with the template in init/ and the sample organisation in data/vesk.db.
struct SampleFile {
    QTemporaryDir dir;
    std::string programDir, templatePath, path;
    SampleFile()
    {
        programDir = dir.path().toStdString() + "/";
        for (const char* sub : {"init", "data", "bak", "set"}) std::filesystem::create_directory(programDir + sub);
        templatePath = programDir + "init/vesk.db";
        path = programDir + "data/vesk.db";
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

// Asks the system to forget the file's pages, so the next read comes from the disk: the whole page
// cache where the benchmark may (as root), else the pages of this one file. Says which it did.
const char* dropFromCache(const std::string& path)
{
    ::sync();
    if (const int all = ::open("/proc/sys/vm/drop_caches", O_WRONLY); all >= 0) {
        const bool dropped = ::write(all, "3\n", 2) == 2;
        ::close(all);
        if (dropped) return "cold: page cache dropped";
    }
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return "warm";
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
    return "cold: the file's pages dropped";
}

// From the login window's creation until 登录 lets it close, as the operator meets it.
void LoginReady(benchmark::State& state)
{
    const bool cold = state.range(0) != 0;
    const SampleFile& sample = sampleFile();
    app::TDM dm;
    app::MainFrame frame(dm);
    frame.create(sample.programDir);
    const char* how = "warm";
    for (auto _ : state) {
        state.PauseTiming();
        dm.fileCheck.stop();
        dm.zh.close();
        dm.DMADO.close();
        if (cold) how = dropFromCache(sample.path);
        state.ResumeTiming();
        admin::LoginForm form(frame);
        form.name = app::kDefaultOperator;
        form.password = app::kDefaultPassword;
        form.login();
        if (!form.closed || frame.LoginFailed) state.SkipWithError("the login failed");
    }
    dm.fileCheck.stop();
    state.SetLabel(how);
}

// One file check timed over and over, with the file dropped from the page cache before each run
// when the benchmark's argument asks for a cold file.
template <class Check>
const char* timeCheck(benchmark::State& state, const std::string& path, Check check)
{
    const bool cold = state.range(0) != 0;
    const char* how = "warm";
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            how = dropFromCache(path);
            state.ResumeTiming();
        }
        if (!check().empty()) state.SkipWithError("the sample database is damaged");
    }
    return how;
}

// The part of the check the login waits for: the header, the schema and the operators' table.
void CheapCheck(benchmark::State& state)
{
    const std::string& path = sampleFile().path;
    state.SetLabel(timeCheck(state, path, [&] { return db::cheapCheckFile(path, {"权限"}); }));
}

// The operator's password test, which the login also waits for: a deliberately slow hash.
void PasswordTest(benchmark::State& state)
{
    const std::string h = app::hashPassword("admin");
    for (auto _ : state) benchmark::DoNotOptimize(app::verifyPassword(h, "admin"));
}

// The full structural check the login no longer waits for; it runs after the login.
void FullCheck(benchmark::State& state)
{
    const std::string& path = sampleFile().path;
    state.SetLabel(timeCheck(state, path, [&] { return db::quickCheckFile(path); }));
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
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

BENCHMARK(LoginReady)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(PasswordTest)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(CheapCheck)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(FullCheck)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(PostsWithIdleCheckpoint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
