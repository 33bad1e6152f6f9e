// Import of a 10,000-row, 30-column workbook (.xlsx; .xls when LibreOffice is there to make one or
// RSGZ_BENCH_XLS names one, read by the reader process and, for the comparison, in this process; the
// .xlsx once more through the reader process), read, checked and written into the employee
// table; export of 20,000 employees × 60 columns.
#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <sys/resource.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>

#include "SampleOrganisation.h"
#include "app/Interaction.h"
#include "app/MainFrame.h"
#include "db/SqlText.h"
#include "exchange/ExcelExport.h"
#include "exchange/ImportSession.h"
#include "exchange/ReaderProcess.h"
#include "support/RecordRules.h"

using namespace rsgz;

namespace {

constexpr int kImportRows = 10000;
constexpr int kExportEmployees = 20000;

// Thirty employee columns of every kind: text, numbers, dates.
const char* const kColumns[] = {"员工编号", "姓名", "性别", "职务", "行政级别", "一级部门", "二级部门", "三级部门",
                                "四级部门", "岗位工种", "职称", "手机", "联系电话", "政治面貌", "用工形式", "特长",
                                "在职状况", "入党日期", "爱好", "出生年月", "婚姻状况", "籍贯", "民族", "身份证号",
                                "家庭住址", "身高", "体重", "学历", "专业", "入职日期"};

void writeCell(lxw_worksheet* ws, lxw_format* date, int r, int c)
{
    const std::string name = kColumns[c];
    const auto row = static_cast<lxw_row_t>(r + 1);
    const auto col = static_cast<lxw_col_t>(c);
    if (name == "员工编号") worksheet_write_string(ws, row, col, ("B" + std::to_string(100000 + r)).c_str(), nullptr);
    else if (name == "性别") worksheet_write_string(ws, row, col, r % 2 ? "男" : "女", nullptr);
    else if (name == "手机") worksheet_write_number(ws, row, col, 13800000000.0 + r, nullptr);
    else if (name == "身高") worksheet_write_number(ws, row, col, 1.5 + (r % 50) / 100.0, nullptr);
    else if (name == "体重") worksheet_write_number(ws, row, col, 45 + r % 50, nullptr);
    else if (name.find("日期") != std::string::npos || name == "出生年月")
        worksheet_write_number(ws, row, col, 25000 + r % 15000, date);
    else worksheet_write_string(ws, row, col, ("测试" + std::to_string(r % 997)).c_str(), nullptr);
}

struct Workbooks {
    QTemporaryDir dir;
    std::string xlsx, xls;
    Workbooks()
    {
        xlsx = dir.filePath(QStringLiteral("import.xlsx")).toStdString();
        lxw_workbook* wb = workbook_new(xlsx.c_str());
        lxw_worksheet* ws = workbook_add_worksheet(wb, "人员");
        lxw_format* date = workbook_add_format(wb);
        format_set_num_format(date, "yyyy-mm-dd");
        for (int c = 0; c < 30; ++c) worksheet_write_string(ws, 0, static_cast<lxw_col_t>(c), kColumns[c], nullptr);
        for (int r = 0; r < kImportRows; ++r)
            for (int c = 0; c < 30; ++c) writeCell(ws, date, r, c);
        workbook_close(wb);
        // The older format is made by LibreOffice, when it is installed, or given ready made (the
        // same rows saved as .xls by another program) in RSGZ_BENCH_XLS.
        if (const QString given = qEnvironmentVariable("RSGZ_BENCH_XLS"); !given.isEmpty() && QFile::exists(given)) {
            xls = given.toStdString();
            return;
        }
        if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty()) return;
        QProcess::execute(QStringLiteral("soffice"), {QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                                                      QStringLiteral("xls"), QStringLiteral("--outdir"), dir.path(),
                                                      QString::fromStdString(xlsx)});
        const QString made = dir.filePath(QStringLiteral("import.xls"));
        if (QFile::exists(made)) xls = made.toStdString();
    }
};

const Workbooks& workbooks()
{
    static const Workbooks w;
    return w;
}

struct Program {
    bench::SampleOrganisation organisation;
    std::unique_ptr<app::TDM> dm = std::make_unique<app::TDM>();
    std::unique_ptr<app::MainFrame> frame;
    explicit Program(int employees) : organisation(employees)
    {
        app::setDM(dm.get());
        test::bindRecordRules(*dm);
        frame = std::make_unique<app::MainFrame>(*dm);
        frame->create(organisation.programDir);
        // The default operator, who holds 档案管理: importing needs it.
        dm->zh.setSql({"select * from 权限", "where 姓名=" + db::sqlQuote(app::kDefaultOperator)});
        dm->zh.open();
        dm->CurrentModule = 1;
        dm->rszl.open();
    }
    ~Program() { app::setDM(nullptr); }
};

enum class Source { Xlsx, Xls, XlsInProcess, XlsxThroughReader };

// Processor time of this process and of the reader processes it waited for: on a machine shared
// with other work the wall clock says more about the neighbours than about the import.
double cpuSeconds()
{
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    rusage self{}, children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    return seconds(self.ru_utime) + seconds(self.ru_stime) + seconds(children.ru_utime) + seconds(children.ru_stime);
}

// From the chosen table to the rows stored: reading the sheet, checking every value and number,
// writing through the employee list with its rules. The .xls workbook is read by the reader
// process; the .xlsx read by it too shows what that process costs on the same rows when there is
// no .xls to read.
void ImportWorkbook(benchmark::State& state, Source source)
{
    const bool xls = source == Source::Xls || source == Source::XlsInProcess;
    const std::string path = xls ? workbooks().xls : workbooks().xlsx;
    if (path.empty()) {
        state.SkipWithError("soffice is not installed and RSGZ_BENCH_XLS names no file, so there is no .xls");
        return;
    }
    // The .xls read in this process, as before there was a reader process, for the comparison.
    auto open = [&] {
        if (source == Source::XlsxThroughReader) return exchange::openContainedFile(path);
        if (source == Source::XlsInProcess) return exchange::openSourceFileHere(path);
        return exchange::openSourceFile(path);
    };
    Program program(0);
    double cpu = 0;
    for (auto _ : state) {
        const double before = cpuSeconds();
        exchange::ImportSession session(*program.dm, open(), exchange::ImportSession::Kind::Excel);
        session.chooseTable("人员");
        if (session.importRows() != kImportRows) state.SkipWithError("the import was refused");
        cpu += cpuSeconds() - before;
        state.PauseTiming();
        program.dm->DMADO.exec("delete from 员工基本情况");
        program.dm->rszl.requery();
        state.ResumeTiming();
    }
    state.counters["cpu_ms"] = benchmark::Counter(cpu * 1000, benchmark::Counter::kAvgIterations);
}

// Only the reading of the sheet, the part the reader process changes.
void ReadSheet(benchmark::State& state, Source source)
{
    const std::string path = workbooks().xlsx;
    double cpu = 0;
    for (auto _ : state) {
        const double before = cpuSeconds();
        auto file = source == Source::XlsxThroughReader ? exchange::openContainedFile(path) : exchange::openSourceFile(path);
        benchmark::DoNotOptimize(file->read("人员").rows.size());
        cpu += cpuSeconds() - before;
    }
    state.counters["cpu_ms"] = benchmark::Counter(cpu * 1000, benchmark::Counter::kAvgIterations);
}
BENCHMARK_CAPTURE(ReadSheet, xlsx, Source::Xlsx)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK_CAPTURE(ReadSheet, xlsx_through_reader, Source::XlsxThroughReader)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK_CAPTURE(ImportWorkbook, xlsx, Source::Xlsx)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_CAPTURE(ImportWorkbook, xls, Source::Xls)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_CAPTURE(ImportWorkbook, xls_in_process, Source::XlsInProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_CAPTURE(ImportWorkbook, xlsx_through_reader, Source::XlsxThroughReader)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void ExportEmployees(benchmark::State& state)
{
    Program program(kExportEmployees);
    std::vector<std::string> columns = program.dm->rszl.fieldNames();
    columns.resize(60);
    QTemporaryDir out;
    const std::string path = out.filePath(QStringLiteral("export.xlsx")).toStdString();
    for (auto _ : state) exchange::exportDataSet(program.dm->rszl, columns, path);
    state.counters["rows"] = program.dm->rszl.recordCount();
}
BENCHMARK(ExportEmployees)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
