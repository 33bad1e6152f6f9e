// The report engine's windows as a user meets them. With RSGZ_SCREENSHOT_DIR set, the preview and
// the designer are saved there as pictures and the PDF is kept beside them.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>

#include "print/ReportEngine.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"
#include "ui/ReportDesignerWindow.h"
#include "ui/ReportPreviewWindow.h"

using namespace rsgz;

namespace {

// A résumé grid of one employee, long enough for three pages.
print::ReportTable resume()
{
    print::ReportTable t;
    t.fields = {"序号", "起始日期", "结束日期", "学校或者工作单位", "部门", "职务", "备注"};
    const char* places[] = {"城东第一小学", "城东中学", "师范大学中文系", "市第三中学", "区教育局", "市人事局"};
    for (int i = 0; i < 90; ++i) {
        const int y = 1980 + i / 2;
        t.rows.push_back({db::Value(i + 1), db::Value(std::to_string(y) + "-09-01"),
                          db::Value(std::to_string(y + 1) + "-07-01"), db::Value(places[i % 6]),
                          db::Value(i % 6 < 3 ? "" : "办公室"), db::Value(i % 6 < 3 ? "学生" : "科员"),
                          db::Value(i % 5 == 0 ? "表现优秀，多次获得表彰" : "")});
    }
    return t;
}

void useResume()
{
    print::ReportEngine& e = print::reportEngine();
    e.reset();
    e.setSource(resume(), "个人简历");
    print::startNewDefinition(e.definition());
    e.definition().bands.front().text = "个人简历（张明华）";
    e.definition().bands.push_back({"共 |RECORDCOUNT| 条", {}, print::Alignment::Left, 1, print::BandType::PageFooter});
    for (const char* f : {"序号", "起始日期", "结束日期", "学校或者工作单位", "部门", "职务", "备注"})
        e.definition().columns.push_back(print::columnForField(f));
    e.definition().columns[0].width = 12;
    e.definition().columns[3].width = 40;
    e.definition().columns[6].width = 38;
    e.definition().columns[6].wrap = true;
    e.definition().columns[0].expression = "COUNT";
    e.definition().columns[0].title.text = {"序", "号"};
    e.definition().colsTitle.titleArray = {"|在校或在职时间||单位与职务"};
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
    useResume();
    auto* w = ui::ReportPreviewWindow::open(nullptr);
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
    EXPECT_EQ(ui::ReportPreviewWindow::open(nullptr), w) << "an open preview is reused";

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
        w->setZoom(ui::ReportPreviewWindow::Zoom::FitWidth);
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
    ui::ReportDesignerWindow d;
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
