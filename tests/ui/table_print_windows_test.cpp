// The table print windows as a user meets them. With RSGZ_SCREENSHOT_DIR set, the salary table
// preview and the designer are saved there as pictures, and the pay slips PDF beside them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>

#include "db/Connection.h"
#include "db/DataSet.h"
#include "db/Gbk.h"
#include "payroll/SalaryView.h"
#include "print/PrintRange.h"
#include "print/TablePreview.h"
#include "app/TDM.h"
#include "shell/Tmain.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"
#include "support/TestDatabase.h"
#include "print/windows/PrintRangeWindow.h"
#include "print/windows/ReportPainter.h"
#include "print/windows/TableDesignerWindow.h"
#include "shell/NavigationBar.h"
#include "print/windows/TablePreviewWindow.h"
#include "shell/TablePrintWindows.h"
#include "widgets/WindowRegistry.h"

using namespace rsgz;
using namespace rsgz::print;
using namespace rsgz::shell;
using namespace rsgz::widgets;

namespace {

QString shotDir() { return qEnvironmentVariable("RSGZ_SCREENSHOT_DIR"); }

// One month of the set 管理 for 40 employees: base pay and allowance entered, gross, tax and net computed.
class TablePrintWindowsTest : public ::testing::Test {
protected:
    TablePrintWindowsTest()
    {
        QDir().mkpath(QString::fromStdString(db.programDir() + "set"));
        conn.exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理')");
        conn.exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 个税起征点, 个税关联) values "
                  "('01', 'gz01', '基本工资', '', '否', 0, ''), ('01', 'gz02', '岗位津贴', '', '否', 0, ''), "
                  "('01', 'gz03', '应发工资', 'gz01+gz02', '否', 0, ''), ('01', 'gz04', '个人所得税', '', '是', 1600, '应发工资'), "
                  "('01', 'gz05', '实发工资', 'gz03-gz04', '否', 0, '')");
        conn.exec("insert into 所得税设置 (起始额, 结束额, 税率, 速扣) values (0, 500, 5, 0), (500, 2000, 10, 25), (2000, 5000, 15, 125)");
        const char* names[] = {"张明华", "李秀英", "王建国", "刘芳", "陈志强", "杨丽", "赵军", "黄晓燕", "周涛", "吴静"};
        for (int i = 0; i < 40; ++i)
            conn.exec("insert into 工资表 (姓名, 员工编号, 工资帐套, 年, 月, 结帐状态, 一级部门, gz01, gz02) values ('" +
                      std::string(names[i % 10]) + (i >= 10 ? std::to_string(i / 10) : "") + "', 'YG" + std::to_string(1000 + i) +
                      "', '管理', '2024', '03', '否', '" + (i % 3 ? "财务部" : "人事部") + "', " + std::to_string(1500 + i * 37) +
                      ".50, " + std::to_string(200 + (i % 4) * 150) + ")");
        gzb.setRowNumberField(true);  // as the program's record rules number every list
        view.build("管理");
        view.open();
        for (const std::string& f : view.gridColumns()) grid.push_back({f, view.titleOf(f)});
    }

    print::TableLayout salaryLayout()
    {
        print::TableLayout l = print::TableLayout::defaults({"序号", "姓名", "一级部门", "基本工资", "岗位津贴", "应发工资", "个人所得税", "实发工资"});
        l.titles[0].text = "二〇二四年三月工资表";
        l.titles[0].x = 250;
        l.columns[0].width = 100;
        l.columns[1].width = 180;
        l.columns[2].width = 200;
        for (size_t c = 3; c < 8; ++c) {
            l.columns[c].width = 220;
            l.columns[c].sum = c != 4;
            l.columns[c].format = "#,##0.00";
            l.columns[c].dataAlign = "右齐";
        }
        l.pageSubtotal = l.grandTotal = true;
        return l;
    }

    std::string programDir() { return db.programDir(); }

    test::TestDatabase db;
    db::Connection conn{db.livePath()};
    db::DataSet gzb{&conn, "gzb"};
    payroll::SalaryView view{conn, gzb};
    std::vector<print::PrintItem> grid;
    test::ScriptedInteraction user;
};

int pdfPages(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    return static_cast<int>(QString::fromLatin1(f.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

// Accepts the next modal window (the designer) as soon as it is open; gives up after a second.
void acceptNextModal(int tries = 100)
{
    QTimer::singleShot(10, [tries] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->accept();
        else if (tries > 0) acceptNextModal(tries - 1);
    });
}

}  // namespace

TEST_F(TablePrintWindowsTest, SalaryTablePreviewPagesAndWritesTheWholeJobToOnePdf)
{
    const print::DataSetSource source(gzb, grid);
    print::TablePreview preview(programDir(), "管理工资表.tbl", source, source.gridTitles());
    ASSERT_TRUE(preview.open());
    preview.layout() = salaryLayout();
    preview.designed();
    preview.refresh();
    TablePreviewWindow w(preview, source.gridTitles());
    w.show();
    ASSERT_EQ(preview.pageCount(), 2);
    auto* page = w.findChild<QLineEdit*>(QStringLiteral("currentPage"));
    auto* count = w.findChild<QLineEdit*>(QStringLiteral("pageCount"));
    w.nextPage();
    EXPECT_EQ(page->text(), "2");
    EXPECT_EQ(count->text(), "2");
    w.nextPage();
    EXPECT_EQ(page->text(), "2") << "no page after the last";
    w.setZoom(1);
    EXPECT_EQ(w.paper()->width(), 420);
    w.setZoom(3);
    EXPECT_EQ(w.paper()->width(), 794);
    if (!shotDir().isEmpty()) w.grab().save(shotDir() + "/table-preview-salary.png");

    test::TempDir out;
    const QString pdf = QString::fromStdString(out.file("工资表.pdf"));
    EXPECT_EQ(w.writePdf(pdf), QString());
    EXPECT_EQ(pdfPages(pdf), 2) << "both pages in one file";
    EXPECT_EQ(preview.currentPage(), 2);
}

TEST_F(TablePrintWindowsTest, PaySlipsGoToOnePdf)
{
    const print::DataSetSource source(gzb, grid);
    print::TablePreview preview(programDir(), "工资条.tbl", source, source.gridTitles());
    ASSERT_TRUE(preview.open());
    preview.layout() = salaryLayout();
    preview.layout().titles.clear();
    preview.layout().payStubs = true;
    preview.designed();
    TablePreviewWindow w(preview, {});
    ASSERT_EQ(preview.pageCount(), 3);  // 14 slips a page

    const QString dir = shotDir().isEmpty() ? QString() : shotDir();
    test::TempDir out;
    const QString pdf = dir.isEmpty() ? QString::fromStdString(out.file("工资条.pdf")) : dir + "/pay-slips.pdf";
    user.fileNames.push_back(pdf.toStdString());
    EXPECT_TRUE(w.exportPdf());
    EXPECT_EQ(pdfPages(pdf), 3);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_NE(user.messages[0].find("已将 3 页"), std::string::npos);
    EXPECT_EQ(user.progressSteps, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(user.overProgress.empty()) << "the notice came while the progress window was open";
    if (!dir.isEmpty())
        QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"),
                                                       QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                                       QStringLiteral("1"), QStringLiteral("-singlefile"), pdf,
                                                       dir + "/pay-slips-page"});
}

TEST_F(TablePrintWindowsTest, EachPaySlipGoesToAFileNamedAfterTheEmployee)
{
    conn.exec("update 工资表 set 姓名='王/芳' where 员工编号='YG1003'");
    conn.exec("update 工资表 set 员工编号='YG1000', 姓名='张明华' where 员工编号='YG1010'");
    view.open();
    const print::DataSetSource source(gzb, grid);
    print::TablePreview preview(programDir(), "工资条.tbl", source, source.gridTitles());
    ASSERT_TRUE(preview.open());
    preview.layout().payStubs = true;
    preview.designed();
    TablePreviewWindow w(preview, {});
    test::TempDir out;
    user.fileNames.push_back(out.path());
    ASSERT_TRUE(w.exportSlips());
    const QStringList files = QDir(QString::fromStdString(out.path())).entryList(QDir::Files);
    EXPECT_EQ(files.size(), 40);
    EXPECT_TRUE(files.contains(QStringLiteral("YG1003王_芳.pdf"))) << "a name is made safe for a file name";
    EXPECT_TRUE(files.contains(QStringLiteral("YG1000张明华.pdf")) && files.contains(QStringLiteral("YG1000张明华_2.pdf")))
        << "a second slip of one employee keeps the first";
    EXPECT_EQ(pdfPages(QString::fromStdString(out.file("YG1000张明华.pdf"))), 1);
    // The progress window counted the slips and was closed before the notice said they were done.
    EXPECT_EQ(user.progressTexts, std::vector<std::string>{"正在输出工资条…"});
    EXPECT_EQ(user.progressSteps.size(), 40u);
    EXPECT_FALSE(user.progressOpen);
    EXPECT_TRUE(user.overProgress.empty()) << user.overProgress.front();
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_NE(user.messages[0].find("已将 40 张工资条"), std::string::npos);
}

// Back from 设计表格 the page shows the ruled grid, the column headers and the page number, and
// the titles only as the labels to drag: no data rows, and no painted title under a label.
TEST_F(TablePrintWindowsTest, PlacementModeShowsTheGridAndTheTitleLabelsOnly)
{
    const print::DataSetSource source(gzb, grid);
    print::TablePreview preview(programDir(), "管理工资表.tbl", source, source.gridTitles());
    ASSERT_TRUE(preview.open());
    preview.layout() = salaryLayout();
    preview.refresh();
    TablePreviewWindow w(preview, source.gridTitles());
    w.resize(1000, 760);
    w.show();
    w.setZoom(1);
    acceptNextModal();
    QTest::mouseClick(w.findChild<QToolButton*>(QStringLiteral("设计表格")), Qt::LeftButton);
    EXPECT_EQ(w.zoom(), print::kPreviewPixelsPerMm);
    ASSERT_TRUE(preview.placingTitles());

    const print::ReportPage shown = preview.shownPage();
    EXPECT_TRUE(shown.textsOf(print::TextRole::Cell).empty()) << "data rows in placement mode";
    EXPECT_TRUE(shown.records.empty());
    const std::vector<std::string> band = shown.textsOf(print::TextRole::Band);
    EXPECT_EQ(band, std::vector<std::string>{print::TablePrinter::pageNumberText(1, 2)}) << "a title is painted";
    EXPECT_EQ(shown.textsOf(print::TextRole::ColumnTitle).size(), 8u);
    QLabel* title = nullptr;
    for (QLabel* l : w.paper()->findChildren<QLabel*>())
        if (l->text() == QStringLiteral("二〇二四年三月工资表")) title = l;
    ASSERT_TRUE(title);
    EXPECT_TRUE(title->isVisible());
    EXPECT_EQ(title->pos(), QPoint(250, 50));
    QApplication::processEvents();
    if (!shotDir().isEmpty()) w.grab().save(shotDir() + "/table-preview-placement.png");

    w.nextPage();
    EXPECT_FALSE(preview.placingTitles());
    EXPECT_FALSE(preview.shownPage().textsOf(print::TextRole::Cell).empty());
}

TEST_F(TablePrintWindowsTest, DesignerRefusesToCloseOnALayoutWithoutRoomForARow)
{
    print::TableLayout layout = salaryLayout();
    const print::DataSetSource source(gzb, grid);
    TableDesignerWindow w(layout, source.gridTitles());
    w.show();
    EXPECT_EQ(w.printList()->count(), 8);
    EXPECT_EQ(w.titleList()->item(0)->text(), "二〇二四年三月工资表");
    if (!shotDir().isEmpty()) w.grab().save(shotDir() + "/table-designer.png");

    layout.orientation = "横向";
    layout.rowHeight = 1000;
    w.reject();
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(user.messages.size(), 1u);
    layout.rowHeight = 80;
    w.reject();
    EXPECT_FALSE(w.isVisible());
}

TEST_F(TablePrintWindowsTest, RangeWindowWritesTheChoiceOrNothing)
{
    PrintRangeWindow w(programDir());
    w.findChild<QRadioButton*>()->parentWidget()->findChildren<QRadioButton*>()[2]->setChecked(true);
    w.findChild<QLineEdit*>(QStringLiteral("from"))->setText(QStringLiteral("5"));
    w.findChild<QLineEdit*>(QStringLiteral("to"))->setText(QStringLiteral("3"));
    w.confirm();
    EXPECT_EQ(user.messages, (std::vector<std::string>{"打印范围设定错误！"}));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(print::printRangePath(programDir()))));
    w.findChild<QLineEdit*>(QStringLiteral("from"))->setText(QStringLiteral("3"));
    w.confirm();
    EXPECT_EQ(db::readSettingsLines(print::printRangePath(programDir())), (std::vector<std::string>{"选择范围", "3", "3"}));
    w.reject();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(print::printRangePath(programDir())))) << "closing cancels";
}

// The menu entry prints the module's list as its grid shows it: the columns in the order the user
// dragged them to, and the list's cursor stays where it was.
TEST(TablePrintEntries, EmployeeReportFollowsTheGridAndLeavesTheCursor)
{
    test::ProgramLayout p{{.liveDatabase = true}};
    app::TDM& dm = p.dm();
    for (int i = 0; i < 50; ++i)
        dm.DMADO.exec("insert into 员工基本情况 (员工编号,姓名) values ('" + std::to_string(100 + i) + "','职员" + std::to_string(i) + "')");
    shell::Tmain w(p.frame(), false);
    w.navigationBar()->button(QStringLiteral("人员档案管理"))->click();
    auto* grid = w.panel(1)->findChild<QTableView*>(QStringLiteral("moduleGrid"));
    ASSERT_NE(grid, nullptr);
    const QHeaderView* header = grid->horizontalHeader();
    const QString third = grid->model()->headerData(header->logicalIndex(2), Qt::Horizontal).toString();
    grid->horizontalHeader()->moveSection(2, 0);
    dm.rszl.moveToRow(7);

    registerTablePrintWindows();
    std::vector<std::string> items;
    int pages = -1;
    QTimer::singleShot(0, [&] {
        auto* preview = qobject_cast<TablePreviewWindow*>(QApplication::activeModalWidget());
        if (!preview) return;
        for (const auto& c : preview->preview().layout().columns) items.push_back(c.item);
        pages = preview->preview().pageCount();
        preview->nextPage();
        preview->accept();
    });
    ASSERT_TRUE(openRegisteredWindow("打印员工报表", &w));
    ASSERT_FALSE(items.empty()) << "the preview did not open";
    EXPECT_EQ(QString::fromStdString(items[0]), third);
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(dm.rszl.currentRow(), 7);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(p.path("set/员工报表.tbl"))));
}

namespace {

// The box around the dark pixels of an image's region.
QRect inkIn(const QImage& img, const QRect& region)
{
    QRect ink;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (qGray(img.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
    return ink;
}

}  // namespace

// "19996" in a narrow 序号 column must not print as "1999": a number wider than its cell is
// printed smaller until it fits, while text keeps its size and is cut at the cell.
TEST(TableCellPainting, ANumberIsPrintedSmallerRatherThanCut)
{
    constexpr double dotsPerMm = print::kPreviewPixelsPerMm;
    print::ReportPage page;
    const struct {
        const char* text;
        bool number;
    } cells[] = {{"19996", true}, {"19", true}, {"张三丰王五赵六", false}};
    for (int i = 0; i < 3; ++i) {
        print::PageText t;
        t.x = 10 + 30 * i, t.y = 10, t.w = 10, t.h = 8;
        t.text = cells[i].text;
        t.font.name = "宋体";
        t.font.size = 12;
        t.shrinkToFit = cells[i].number;
        page.texts.push_back(t);
    }
    QImage img(400, 120, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        paintReportPage(p, page, dotsPerMm);
    }
    auto cellRect = [&](int i) {
        const print::PageText& t = page.texts[static_cast<size_t>(i)];
        return QRectF(t.x * dotsPerMm, t.y * dotsPerMm, t.w * dotsPerMm, t.h * dotsPerMm).toAlignedRect();
    };
    const QRect wide = inkIn(img, cellRect(0)), narrow = inkIn(img, cellRect(1)), text = inkIn(img, cellRect(2));
    const double innerRight = (10 + 10 - 0.8) * dotsPerMm;
    ASSERT_FALSE(wide.isEmpty());
    EXPECT_LT(wide.height(), narrow.height()) << "the long number is printed smaller";
    EXPECT_LT(wide.right(), innerRight);
    EXPECT_GE(text.height(), narrow.height()) << "text keeps its size";

    QFont font = reportFont(page.texts[0].font);
    font.setPixelSize(16);
    const double room = (10 - 1.6) * dotsPerMm;
    const QFont fitted = fittedFont(font, QStringLiteral("19996"), room, &img);
    const double advance = QFontMetricsF(fitted, &img).horizontalAdvance(QStringLiteral("19996"));
    EXPECT_LE(advance, room);
    EXPECT_GT(advance, room * 0.75) << "no smaller than it needs to be";
    EXPECT_EQ(fittedFont(font, QStringLiteral("19"), room, &img).pixelSize(), 16);
}
