// The report engine's windows as a user meets them. With RSGZ_SCREENSHOT_DIR set, the preview and
// the designer are saved there as pictures and the PDF is kept beside them.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>

#include "db/Connection.h"
#include "db/DataSet.h"
#include "db/SqlText.h"
#include "print/ReportEngine.h"
#include "print/ReportFile.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"
#include "support/TestDatabase.h"
#include "widgets/ColorButton.h"
#include "print/windows/ReportDesignerWindow.h"
#include "print/windows/ReportPreviewWindow.h"
#include "shell/ReportWindows.h"
#include "widgets/WindowRegistry.h"

using namespace rsgz;

namespace {

// The résumé rows of one employee, long enough for three pages, in the live database.
void fillResume(db::Connection& conn)
{
    const char* places[] = {"城东第一小学", "城东中学", "师范大学中文系", "市第三中学", "区教育局", "市人事局"};
    for (int i = 0; i < 90; ++i) {
        const int y = 1980 + i / 2;
        const bool work = i % 6 >= 3;
        conn.exec("insert into 个人经历 (起始日期,结束日期,学校或者工作单位,部门,职务,备注,员工编号1) values (" +
                  db::sqlQuote(std::to_string(y) + "-09-" + (i % 2 ? "15" : "01")) + "," +
                  db::sqlQuote(std::to_string(y + 1) + "-07-01") + "," + db::sqlQuote(places[i % 6]) + "," +
                  db::sqlQuote(work ? "办公室" : "") + "," + db::sqlQuote(work ? "科员" : "学生") + "," +
                  db::sqlQuote(i % 5 == 0 ? "表现优秀，多次获得表彰" : "") + ",'YG000001')");
    }
}

// The definition a user would have made for the résumé page.
void designResume(const std::string& path)
{
    print::ReportDefinition d = print::defaultDefinition();
    d.bands.front().text = "个人简历（张明华）";
    d.bands.push_back({"共 |RECORDCOUNT| 条", {}, print::Alignment::Left, 1, print::BandType::PageFooter});
    for (const char* f : {"序号", "起始日期", "结束日期", "学校或者工作单位", "部门", "职务", "备注"})
        d.columns.push_back(print::columnForField(f));
    d.columns[0].width = 12;
    d.columns[3].width = 40;
    d.columns[6].width = 38;
    d.columns[6].wrap = true;
    d.columns[0].expression = "COUNT";
    d.columns[0].title.text = {"序", "号"};
    d.colsTitle.titleArray = {"|在校或在职时间||单位与职务"};
    ASSERT_EQ(print::saveReportDefinition(d, path), "");
}

void useResume()
{
    print::ReportEngine& e = print::reportEngine();
    e.reset();
    print::ReportTable t;
    t.fields = {"学校或者工作单位", "职务"};
    e.setSource(t, "个人简历");
    e.definition().bands.front().text = "个人简历（张明华）";
}

QString shotDir() { return qEnvironmentVariable("RSGZ_SCREENSHOT_DIR"); }

QAction* action(QWidget* w, const char* name)
{
    return w->findChild<QAction*>(QString::fromUtf8(name));
}

}  // namespace

TEST(ReportWindowsTest, PreviewPagesAndIsReusedAndWritesOnePdfWithEveryPage)
{
    test::ScriptedInteraction user;
    test::TempDir dir;
    test::TestDatabase database;
    db::Connection conn(database.livePath());
    fillResume(conn);
    db::DataSet grjl(&conn, "grjl", db::splitSqlLines("select * from 个人经历\r\nwhere 员工编号1='YG000001'\r\norder by 起始日期"));
    grjl.setRowNumberField(true);
    grjl.open();
    const std::string definition = database.programDir() + "baobiao/个人简历报表.dat";
    designResume(definition);

    // The employee window's 打印: the caption reaches the registered window, which stays open.
    shell::registerReportWindows();
    user.onWindow("打印预览", [] { ASSERT_TRUE(widgets::openRegisteredWindow("打印预览", nullptr)); });
    print::reportEngine().reset();
    ASSERT_TRUE(print::previewGrid(grjl, definition, "个人简历"));
    auto* w = print::ReportPreviewWindow::open(nullptr);
    EXPECT_EQ(w->windowTitle(), "打印预览 - 个人简历");
    const int pages = w->pageCount();
    ASSERT_GE(pages, 3);
    auto* label = w->findChild<QLabel*>("pageLabel");
    EXPECT_EQ(label->text(), QString("第 1 页 / 共 %1 页").arg(pages));
    action(w, "▶")->trigger();
    EXPECT_EQ(w->pageIndex(), 1);
    action(w, "▶|")->trigger();
    action(w, "▶")->trigger();
    EXPECT_EQ(w->pageIndex(), pages - 1) << "paging stops at the last page";
    action(w, "|◀")->trigger();
    action(w, "◀")->trigger();
    EXPECT_EQ(w->pageIndex(), 0);
    EXPECT_EQ(print::ReportPreviewWindow::open(nullptr), w) << "an open preview is reused";

    const QString out = shotDir().isEmpty() ? QString::fromStdString(dir.file("简历")) : shotDir() + "/report_preview";
    user.fileNames.push_back(out.toStdString());
    action(w, "PDF…")->trigger();
    QFile pdf(out + ".pdf");
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << "the .pdf ending is added";
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(QString::fromLatin1(bytes).count(QRegularExpression("/Type\\s*/Page[^s]")), pages) << "one job, every page";
    EXPECT_TRUE(user.errors.empty());

    if (!shotDir().isEmpty()) {
        w->resize(900, 760);
        w->setZoom(print::ReportPreviewWindow::Zoom::FitWidth);
        QApplication::processEvents();
        w->grab().save(shotDir() + "/report_preview.png");
    }
    w->close();
    QApplication::processEvents();
}

TEST(ReportWindowsTest, DesignerHandsTheUsersChangesBackToTheEngine)
{
    test::ScriptedInteraction user;
    useResume();
    print::reportEngine().definition().columns.clear();
    print::ReportDesignerWindow d;
    d.findChild<QComboBox*>("方向")->setCurrentIndex(1);
    d.findChild<QComboBox*>("字段名")->setCurrentText("学校或者工作单位");
    d.findChild<QPushButton*>("新增")->click();
    d.findChild<QComboBox*>("字段名")->setCurrentText("职务");
    d.findChild<QPushButton*>("新增")->click();
    d.findChild<QPushButton*>("上移")->click();
    EXPECT_EQ(d.findChild<QListWidget*>("columnList")->count(), 2);
    if (!shotDir().isEmpty()) {
        d.findChild<QTabWidget*>()->setCurrentIndex(4);
        d.grab().save(shotDir() + "/report_designer.png");
    }
    d.accept();
    const print::ReportDefinition& def = print::reportEngine().definition();
    EXPECT_EQ(def.page.orientation, print::Orientation::Landscape);
    ASSERT_EQ(def.columns.size(), 2u);
    EXPECT_EQ(def.columns[0].fieldName, "职务");
    EXPECT_EQ(def.columns[1].fieldName, "学校或者工作单位");
    EXPECT_EQ(def.columns[1].title.text, std::vector<std::string>{"学校或者工作单位"}) << "the title follows the field";
    EXPECT_EQ(def.bands.front().text, "个人简历（张明华）") << "what the user did not touch stays";
}

// The pens of the title row and the detail (style, width, colour), the font colours and the column
// colours reach the definition the designer hands back.
TEST(ReportWindowsTest, DesignerSetsPensAndColours)
{
    test::ScriptedInteraction user;
    useResume();
    print::reportEngine().definition().columns = {print::columnForField("职务")};
    print::ReportDesignerWindow d;
    d.findChild<QComboBox*>("明细竖线")->setCurrentIndex(1);  // 虚线
    d.findChild<QDoubleSpinBox*>("明细竖线宽度")->setValue(2.5);
    d.findChild<widgets::ColorButton*>("明细竖线颜色")->pick("#FF0000");
    d.findChild<QComboBox*>("列标题边框")->setCurrentIndex(2);  // 底线
    d.findChild<widgets::ColorButton*>("列标题边框线颜色")->pick("#0000FF");
    d.findChild<widgets::ColorButton*>("明细字体颜色")->pick("#008000");
    d.findChild<widgets::ColorButton*>("标题栏字体颜色")->pick("#800080");
    d.findChild<widgets::ColorButton*>("颜色")->pick("#FFFF00");
    d.findChild<widgets::ColorButton*>("标题字体颜色")->pick("#00FFFF");
    d.findChild<QPushButton*>("更新")->click();
    if (!shotDir().isEmpty()) {
        d.findChild<QTabWidget*>()->setCurrentIndex(3);
        d.grab().save(shotDir() + "/report_designer_lines.png");
    }
    d.accept();

    const print::ReportDefinition& def = print::reportEngine().definition();
    EXPECT_EQ(def.detail.colsLine, (print::PenSpec{"#FF0000", 2.5, print::PenStyle::Dash}));
    EXPECT_EQ(def.colsTitle.frame.shape, print::FrameShape::BottomLine);
    EXPECT_EQ(def.colsTitle.frame.pen.color, "#0000FF");
    EXPECT_EQ(def.detail.font.color, "#008000");
    EXPECT_EQ(def.bands.front().font.color, "#800080");
    ASSERT_EQ(def.columns.size(), 1u);
    EXPECT_EQ(def.columns[0].color, "#FFFF00");
    EXPECT_EQ(def.columns[0].title.font.color, "#00FFFF");
    EXPECT_EQ(def.detail.rowsLine, print::PenSpec{}) << "untouched pens stay";
}
