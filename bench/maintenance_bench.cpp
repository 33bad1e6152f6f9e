// Backup and compaction of a 20,000-employee database with all its sub-records, as the operator
// starts them: the online copy into a chosen file, and the rewrite into data/new.db with its check
// and the rename over the live file, the connection closed and opened again around it.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <filesystem>
#include <string>

#include "SampleData.h"
#include "admin/Maintenance.h"
#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/Connection.h"

using namespace rsgz;

namespace {

// Answers as the operator would: the file chosen, 是 to every question; keeps the last notice.
class Operator : public app::Interaction {
public:
    std::string file, lastMessage;
    void showMessage(const std::string& text) override { lastMessage = text; }
    bool ask(const std::string&) override { return true; }
    void showError(const std::string& text) override { lastMessage = text; }
    std::string openFileName(const std::string&, const std::string&) override { return file; }
    std::string saveFileName(const std::string&, const std::string&) override { return file; }
    void openWindow(app::WindowId) override {}
    bool openUrl(const std::string&) override { return false; }
};

struct Program {
    QTemporaryDir dir;
    std::string root;
    app::TDM dm;
    Operator user;
    Program()
    {
        root = dir.path().toStdString() + "/";
        for (const char* sub : {"init", "data", "bak"}) QDir(dir.path()).mkpath(QString::fromUtf8(sub));
        app::createTemplateDatabase(root + "init/vesk.db");
        std::filesystem::copy_file(root + "init/vesk.db", root + "data/vesk.db");
        {
            db::Connection conn(root + "data/vesk.db");
            sample::fillSampleData(conn, 20000, 2024);
        }
        dm.setProgramDir(root);
        dm.zh.setSql(db::SqlLines{"Select * from 权限", "where 姓名 = 'admin'"});
        dm.zh.open();
        app::setInteraction(&user);
    }
    ~Program() { app::setInteraction(nullptr); }
};

Program& program()
{
    static Program p;
    return p;
}

void run(benchmark::State& state, void (admin::Maintenance::*operation)(), const std::string& success)
{
    Program& p = program();
    admin::Maintenance m(p.dm);
    p.user.file = p.root + "bak/copy.db";
    for (auto _ : state) {
        (m.*operation)();
        if (p.user.lastMessage != success) state.SkipWithError(p.user.lastMessage.c_str());
    }
    state.counters["file_MB"] =
        static_cast<double>(std::filesystem::file_size(p.dm.livePath())) / (1024.0 * 1024.0);
}

void Backup(benchmark::State& state) { run(state, &admin::Maintenance::backup, "备份成功！"); }
void Compaction(benchmark::State& state) { run(state, &admin::Maintenance::compact, "操作成功"); }

}  // namespace

BENCHMARK(Backup)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(Compaction)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
