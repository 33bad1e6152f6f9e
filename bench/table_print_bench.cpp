// Printing tables: the preview of 人员档案管理 over 20,000 employees with 15 columns (the first
// page shown, then the last page), and 5,000 pay slips written to one PDF file.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include "SampleOrganisation.h"
#include "WidgetBenchMain.h"
#include "app/MainFrame.h"
#include "app/TDM.h"
#include "db/Connection.h"
#include "db/DataSet.h"
#include "payroll/MonthTable.h"
#include "payroll/SalaryView.h"
#include "print/TablePreview.h"
#include "print/windows/ReportPainter.h"
#include "support/RecordRules.h"

using namespace rsgz;

namespace {

struct EmployeeList {
    bench::SampleOrganisation organisation{20000};
    app::TDM dm;
    std::unique_ptr<app::MainFrame> frame;
    std::vector<print::PrintItem> grid;
    EmployeeList()
    {
        app::setDM(&dm);
        test::bindRecordRules(dm);
        frame = std::make_unique<app::MainFrame>(dm);
        frame->create(organisation.programDir);
        frame->navigation().chooseModule(1);
        for (int f = 0; f < 15 && f < dm.rszl.fieldCount(); ++f) grid.push_back({dm.rszl.field(f).name, dm.rszl.field(f).name});
        dm.rszl.moveToRow(1234);
    }
};

EmployeeList& employees()
{
    static EmployeeList e;
    return e;
}

void paint(const print::TablePrinter& printer, const print::ReportPage& page)
{
    QImage paper(static_cast<int>(printer.pageWidthMm() * print::kPreviewPixelsPerMm),
                 static_cast<int>(printer.pageHeightMm() * print::kPreviewPixelsPerMm), QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter p(&paper);
    print::paintReportPage(p, page, print::kPreviewPixelsPerMm);
}

// From the menu entry to the first page painted: the list is open already, the layout is made and
// saved, the page is made and painted.
void PreviewFirstPage(benchmark::State& state)
{
    EmployeeList& e = employees();
    int pages = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(QString::fromStdString(e.organisation.programDir + "set/员工报表.tbl"));
        state.ResumeTiming();
        const print::DataSetSource source(e.dm.rszl, e.grid);
        print::TablePreview preview(e.organisation.programDir, "员工报表.tbl", source, source.gridTitles());
        if (!preview.open()) state.SkipWithError("the preview did not open");
        paint(preview.printer(), preview.shownPage());
        pages = preview.pageCount();
    }
    state.counters["pages"] = pages;
    state.counters["cursor_row"] = e.dm.rszl.currentRow();
}
BENCHMARK(PreviewFirstPage)->Unit(benchmark::kMillisecond)->Iterations(5);

void PreviewLastPage(benchmark::State& state)
{
    EmployeeList& e = employees();
    const print::DataSetSource source(e.dm.rszl, e.grid);
    print::TablePreview preview(e.organisation.programDir, "员工报表.tbl", source, source.gridTitles());
    preview.open();
    for (auto _ : state) {
        preview.goToPage(1);
        preview.goToPage(preview.pageCount());
        paint(preview.printer(), preview.shownPage());
    }
    state.counters["last_page"] = preview.currentPage();
    state.counters["cursor_row"] = e.dm.rszl.currentRow();
}
BENCHMARK(PreviewLastPage)->Unit(benchmark::kMillisecond)->Iterations(20);

std::string code(int i) { return (i < 10 ? "gz0" : "gz") + std::to_string(i); }

// One month of 5,000 employees: eight entered items, the gross, the tax on it and the net pay.
struct PayMonth {
    QTemporaryDir dir;
    std::unique_ptr<db::Connection> conn;
    std::unique_ptr<db::DataSet> gzb;
    std::unique_ptr<payroll::SalaryView> view;
    std::vector<print::PrintItem> grid;
    PayMonth()
    {
        const std::string path = dir.filePath("pay.db").toStdString();
        app::createTemplateDatabase(path);
        conn = std::make_unique<db::Connection>(path);
        {
            db::Transaction t(*conn);
            conn->exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理')");
            for (int i = 1; i <= 11; ++i) {
                const std::string formula = i == 9 ? "gz01+gz02+gz03+gz04+gz05+gz06+gz07+gz08" : i == 11 ? "gz09-gz10" : "";
                conn->exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 初始值, 计算公式, 是否所得税, 个税起征点, 个税关联) "
                           "values ('01', '" + code(i) + "', '项目" + std::to_string(i) + "', " + std::to_string(100 * i) +
                           ", '" + formula + "', '" + (i == 10 ? "是" : "否") + "', 1600, '" + (i == 10 ? "项目9" : "") + "')");
            }
            conn->exec("insert into 所得税设置 (起始额, 结束额, 税率, 速扣) values (0, 500, 5, 0), (500, 2000, 10, 25), "
                       "(2000, 5000, 15, 125), (5000, 99999999, 20, 375)");
            conn->exec("with recursive n(i) as (select 1 union all select i + 1 from n where i < 5000) "
                       "insert into 员工基本情况 (员工编号, 姓名, 工资帐套名称, 工资核算, 一级部门) "
                       "select printf('E%05d', i), '员工' || i, '管理', '是', '总部' from n");
            t.commit();
        }
        payroll::MonthTable(*conn).generateFromSet(payroll::Period::of("管理", 2024, 3));
        gzb = std::make_unique<db::DataSet>(conn.get(), "gzb");
        gzb->setRowNumberField(true);
        view = std::make_unique<payroll::SalaryView>(*conn, *gzb);
        view->build("管理");
        view->open();
        for (const std::string& f : view->gridColumns()) grid.push_back({f, view->titleOf(f)});
    }
};

void PaySlipsToPdf(benchmark::State& state)
{
    static PayMonth month;
    const print::DataSetSource source(*month.gzb, month.grid);
    std::vector<std::string> titles = {"序号", "姓名"};
    for (int i = 1; i <= 11; ++i) titles.push_back("项目" + std::to_string(i));
    print::TableLayout layout = print::TableLayout::defaults(titles);
    layout.titles.clear();
    layout.payStubs = true;
    for (auto& c : layout.columns) c.width = 140, c.format = c.item == "序号" || c.item == "姓名" ? "" : "#,##0.00";
    layout.orientation = "横向";
    const print::TablePrinter printer(layout, source);
    int pages = 0;
    for (auto _ : state) {
        const QString path = month.dir.filePath("工资条.pdf");
        pages = printer.pageCount();
        const QString err = print::writePdfPages(
            path, [](QPdfWriter& pdf) { pdf.setPageSize(QPageSize(QSizeF(297, 210), QPageSize::Millimeter)); }, 0, pages - 1,
            [&](int i) { return printer.page(i + 1); });
        if (!err.isEmpty()) state.SkipWithError(err.toStdString().c_str());
        state.counters["pdf_MB"] = static_cast<double>(QFileInfo(path).size()) / (1024.0 * 1024.0);
    }
    state.counters["slips"] = source.rowCount();
    state.counters["pages"] = pages;
}
BENCHMARK(PaySlipsToPdf)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

RSGZ_WIDGET_BENCHMARK_MAIN()
