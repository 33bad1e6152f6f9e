// Moving the 20,000-employee sample (about two million sub-records) between a database file and a
// database on a server, as the window does it: every table copied in one transaction on the
// target, then read back and compared table by table. The file-to-file copy beside them is the
// same work without a server, for comparison. The server is named as for the tests
// (RSGZ_TEST_PGHOST, RSGZ_TEST_PGPORT, RSGZ_TEST_PGUSER, RSGZ_TEST_PGPASSWORD); without it the
// server benchmarks report themselves skipped.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <optional>
#include <string>

#include "SampleOrganisation.h"
#include "db/Connection.h"
#include "db/TableCopy.h"

using namespace rsgz;

namespace {

constexpr int kEmployees = 20000;

std::optional<db::ServerTarget> benchServer()
{
    const char* host = std::getenv("RSGZ_TEST_PGHOST");
    if (!host || !*host) return std::nullopt;
    db::ServerTarget t;
    t.host = host;
    if (const char* port = std::getenv("RSGZ_TEST_PGPORT")) t.port = std::atoi(port);
    const char* user = std::getenv("RSGZ_TEST_PGUSER");
    t.user = user && *user ? user : "postgres";
    if (const char* password = std::getenv("RSGZ_TEST_PGPASSWORD")) t.password = password;
    t.database = "postgres";
    return t;
}

std::string serverName(const char* what) { return "rsgzb_" + std::to_string(::getpid()) + "_" + what; }

const std::string& sampleFile()
{
    static const std::string path = bench::sampleOrganisation(kEmployees).programDir + "data/vesk.db";
    return path;
}

void reportRows(benchmark::State& state, const db::TableCopy::Result& result)
{
    int64_t rows = 0;
    for (const db::TableCheck& c : result.checks) rows += c.source.rows;
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["tables"] = static_cast<double>(result.checks.size());
    if (!result.committed) state.SkipWithError("the copy did not agree with its source");
}

void BM_FileToServer(benchmark::State& state)
{
    const auto admin = benchServer();
    if (!admin) return state.SkipWithError("no server: set RSGZ_TEST_PGHOST");
    const std::string& file = sampleFile();
    for (auto _ : state) {
        state.PauseTiming();
        const std::string name = serverName("to");
        db::createServerDatabase(*admin, name);
        db::ServerTarget target = *admin;
        target.database = name;
        state.ResumeTiming();
        {
            db::Connection source(file);
            db::Connection server(target);
            db::TableCopy copy(source, server);
            reportRows(state, copy.run());
        }
        state.PauseTiming();
        db::dropServerDatabase(*admin, name);
        state.ResumeTiming();
    }
}

void BM_ServerToFile(benchmark::State& state)
{
    const auto admin = benchServer();
    if (!admin) return state.SkipWithError("no server: set RSGZ_TEST_PGHOST");
    const std::string name = serverName("from");
    db::createServerDatabase(*admin, name);
    db::ServerTarget target = *admin;
    target.database = name;
    {
        db::Connection source(sampleFile());
        db::Connection server(target);
        db::TableCopy(source, server).run();
    }
    QTemporaryDir dir;
    int n = 0;
    for (auto _ : state) {
        const std::string path = dir.filePath(QString::number(++n) + QStringLiteral(".db")).toStdString();
        db::createDatabaseFile(path);
        db::Connection server(target);
        db::Connection file(path);
        db::TableCopy copy(server, file);
        reportRows(state, copy.run());
    }
    db::dropServerDatabase(*admin, name);
}

void BM_FileToFile(benchmark::State& state)
{
    const std::string& file = sampleFile();
    QTemporaryDir dir;
    int n = 0;
    for (auto _ : state) {
        const std::string path = dir.filePath(QString::number(++n) + QStringLiteral(".db")).toStdString();
        db::createDatabaseFile(path);
        db::Connection source(file);
        db::Connection target(path);
        db::TableCopy copy(source, target);
        reportRows(state, copy.run());
    }
}

}  // namespace

BENCHMARK(BM_FileToServer)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_ServerToFile)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_FileToFile)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

BENCHMARK_MAIN();
