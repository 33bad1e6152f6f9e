// The import window and the export column chooser as a user meets them. With RSGZ_SCREENSHOT_DIR
// set, the import window with its mapped workbook is saved there as a picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <functional>

#include "app/TDM.h"
#include "exchange/windows/Tdrsjw.h"
#include "exchange/windows/Txzdczdw.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

namespace {

using namespace rsgz;

std::string workbook() { return std::string(RSGZ_SOURCE_DIR) + "/tests/data/employees.xlsx"; }

class ExchangeWindows : public ::testing::Test {
protected:
    ExchangeWindows()
    {
        QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 9));
        tdm.CurrentModule = 1;
        tdm.rszl.open();
    }
    test::ScriptedInteraction ui;
    test::ProgramLayout program{{.liveDatabase = true, .recordRules = true}};
    app::TDM& tdm = program.dm();
};

TEST_F(ExchangeWindows, ImportWindowShowsTheSheetMappedAndImportsIt)
{
    exchange::Tdrsjw w(tdm, exchange::openSourceFile(workbook()), exchange::ImportSession::Kind::Excel);
    w.show();
    auto* tables = w.findChild<QListWidget*>(QStringLiteral("tables"));
    ASSERT_EQ(tables->count(), 1);
    EXPECT_EQ(tables->item(0)->text(), QStringLiteral("人员名单"));
    auto* preview = w.findChild<QTableView*>(QStringLiteral("preview"));
    EXPECT_FALSE(preview->isEnabled());

    w.chooseTable(0);
    EXPECT_TRUE(preview->isEnabled());
    EXPECT_EQ(preview->model()->rowCount(), 3);
    EXPECT_EQ(preview->model()->index(0, 6).data().toString(), QStringLiteral("13800138000"));
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("recordCount"))->text(), QStringLiteral("记录数：3"));
    auto* numberBox = w.findChild<QLineEdit*>(QStringLiteral("box0"));
    ASSERT_NE(numberBox, nullptr);
    EXPECT_EQ(numberBox->text(), QStringLiteral("1"));  // 员工编号 is item 1
    // The remarks are left out by typing 0.
    auto* remarks = w.findChild<QLineEdit*>(QStringLiteral("box7"));
    remarks->clear();
    QTest::keyClicks(remarks, QStringLiteral("0"));

    if (const QString dir = qEnvironmentVariable("RSGZ_SCREENSHOT_DIR"); !dir.isEmpty())
        w.grab().save(dir + "/import-window-mapped-xlsx.png");

    w.findChild<QPushButton*>(QStringLiteral("导入数据"))->click();
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"共完成3条数据导入完成"}));
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("progressText"))->text(), QStringLiteral("已经完成导入数据：3条"));
    EXPECT_EQ(program.count("员工基本情况 where 备注 is null"), 3);
}

// A user picks the sheet of an .xls workbook (read by the reader process), looks at its rows and
// leaves with 返回. The window's preview still asks for its headers while it is taken down: that
// must find the rows there (an address-sanitizer build of this test reads freed memory otherwise).
TEST_F(ExchangeWindows, ImportWindowClosesAfterATableWasChosen)
{
    const std::string xls = std::string(RSGZ_SOURCE_DIR) + "/tests/data/employees.xls";
    {
        exchange::Tdrsjw w(tdm, exchange::openSourceFile(xls), exchange::ImportSession::Kind::Excel);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        auto* tables = w.findChild<QListWidget*>(QStringLiteral("tables"));
        ASSERT_EQ(tables->count(), 1);
        QTest::mouseClick(tables->viewport(), Qt::LeftButton, {}, tables->visualItemRect(tables->item(0)).center());
        auto* preview = w.findChild<QTableView*>(QStringLiteral("preview"));
        ASSERT_EQ(preview->model()->rowCount(), 3);
        EXPECT_EQ(preview->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("姓名"));
        QApplication::processEvents();  // the headers painted
        auto* back = w.findChild<QPushButton*>(QStringLiteral("返回"));
        QTest::mouseClick(back, Qt::LeftButton);
        EXPECT_FALSE(w.isVisible());
    }
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(program.count("员工基本情况"), 0);
}

// Two sheets, the second read slowly: while it is read (on a thread of its own, the window
// painting meanwhile) the preview must not be showing the first sheet's rows, which the session
// is about to replace.
class TwoSheets : public exchange::SourceFile {
public:
    std::function<void()> duringRead;
    std::vector<std::string> tables() override { return {"大表", "小表"}; }
    exchange::SourceTable read(const std::string& name) override
    {
        exchange::SourceTable t;
        t.columns = {"姓名"};
        for (int i = 0; i < (name == "大表" ? 300 : 2); ++i) t.rows.push_back({db::Value("甲")});
        if (name == "小表" && duringRead) duringRead();
        exchange::tidyTable(t);
        return t;
    }
};

TEST_F(ExchangeWindows, ThePreviewLetsGoOfASheetBeingReplaced)
{
    auto file = std::make_unique<TwoSheets>();
    TwoSheets* sheets = file.get();
    exchange::Tdrsjw w(tdm, std::move(file), exchange::ImportSession::Kind::Excel);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* tables = w.findChild<QListWidget*>(QStringLiteral("tables"));
    auto* preview = w.findChild<QTableView*>(QStringLiteral("preview"));
    QTest::mouseClick(tables->viewport(), Qt::LeftButton, {}, tables->visualItemRect(tables->item(0)).center());
    ASSERT_EQ(preview->model()->rowCount(), 300);

    int rowsShownWhileReading = -1;
    sheets->duringRead = [&] { rowsShownWhileReading = preview->model()->rowCount(); };
    QTest::mouseClick(tables->viewport(), Qt::LeftButton, {}, tables->visualItemRect(tables->item(1)).center());
    EXPECT_EQ(rowsShownWhileReading, 0);
    EXPECT_EQ(preview->model()->rowCount(), 2);
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("recordCount"))->text(), QStringLiteral("记录数：2"));
}

TEST_F(ExchangeWindows, ColumnChooserKeepsWhatWasChosen)
{
    exchange::ExportColumns columns({"员工编号", "姓名", "性别"});
    exchange::Txzdczdw w(columns);
    w.show();
    auto* offered = w.findChild<QListWidget*>(QStringLiteral("数据库所有字段"));
    auto* chosen = w.findChild<QListWidget*>(QStringLiteral("导出字段"));
    offered->setCurrentRow(1);
    w.findChild<QPushButton*>(QStringLiteral("添加"))->click();
    w.findChild<QPushButton*>(QStringLiteral("添加"))->click();
    EXPECT_EQ(chosen->count(), 1);
    w.findChild<QPushButton*>(QStringLiteral("全选"))->click();
    EXPECT_EQ(chosen->count(), 3);
    w.findChild<QPushButton*>(QStringLiteral("返回"))->click();
    EXPECT_EQ(columns.chosen(), (std::vector<std::string>{"员工编号", "姓名", "性别"}));
}

}  // namespace
