#include <gtest/gtest.h>

#include <QDir>

#include "db/Gbk.h"
#include "print/PrintRange.h"
#include "print/TableDesigner.h"
#include "print/TablePreview.h"
#include "BlankRows.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"

using namespace rsgz::print;

TEST(TableDesignerTest, ColumnsMoveAndGoByListPosition)
{
    rsgz::test::ScriptedInteraction ui;
    TableLayout l = TableLayout::defaults({"姓名", "部门"});
    TableDesigner d(l, {"姓名", "部门", "基本工资"});

    EXPECT_EQ(d.moveUp(0), 0);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"无法移动！"}));
    EXPECT_EQ(d.moveDown(1), 1) << "the last line stays";
    EXPECT_EQ(d.moveDown(0), 1);
    EXPECT_EQ(l.columns[0].item, "部门");

    l.columns[1].width = 333, l.columns[1].sum = true, l.columns[1].format = "0.00";
    EXPECT_EQ(d.deleteColumn(1), 0);
    // A new column starts from the defaults, not from what the deleted one left in its slot.
    EXPECT_EQ(d.addColumn("基本工资"), 1);
    EXPECT_EQ(l.columns[1], TableLayout::defaultColumn("基本工资"));
    EXPECT_EQ(d.addColumn("基本工资"), 2) << "an item may be printed twice";

    ui.clear();
    EXPECT_EQ(d.deleteColumn(-1), -1);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"请在右边的列表中选择一个字段！"}));
    for (int i = 2; i >= 0; --i) d.deleteColumn(i);
    EXPECT_TRUE(l.columns.empty());
}

TEST(TableDesignerTest, NumbersAreCheckedBeforeTheyAreStored)
{
    rsgz::test::ScriptedInteraction ui;
    TableLayout l = TableLayout::defaults({"姓名"});
    TableDesigner d(l, {});
    for (const char* bad : {"8a", "", "1.5", "9999999999"}) {
        EXPECT_FALSE(d.setWidth(0, bad)) << bad;
        EXPECT_EQ(l.columns[0].width, 100) << bad;
    }
    EXPECT_EQ(ui.messages.size(), 4u);
    EXPECT_EQ(ui.messages[0], "请输入数字！");
    EXPECT_TRUE(d.setWidth(0, " 250 "));
    EXPECT_EQ(l.columns[0].width, 250);
    EXPECT_FALSE(d.setNumber(l.leftMargin, "abc"));
    EXPECT_EQ(l.leftMargin, 150);
}

TEST(TableDesignerTest, TitlesStartFromDefaultsAndAreCapped)
{
    rsgz::test::ScriptedInteraction ui;
    TableLayout l = TableLayout::defaults({"姓名"});
    TableDesigner d(l, {});
    l.titles[0].font = {"宋体", 40};
    l.titles[0].x = 900;
    EXPECT_EQ(d.deleteTitle(0), -1);
    EXPECT_EQ(d.addTitle("工资表"), 0);
    EXPECT_EQ(l.titles[0], TableLayout::defaultTitle("工资表"));
    d.replaceTitle(0, "");
    EXPECT_EQ(l.titles[0].text, "工资表") << "an empty box changes nothing";
    for (int i = 1; i < TableLayout::kMaxTitles; ++i) d.addTitle("标题" + std::to_string(i));
    EXPECT_EQ(d.addTitle("多余"), -1);
    EXPECT_EQ(l.titles.size(), 49u);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(d.deleteTitle(48), 47) << "the new last line is selected";
}

TEST(TableDesignerTest, AnUnprintableLayoutKeepsTheDesignerOpen)
{
    rsgz::test::ScriptedInteraction ui;
    TableLayout l = TableLayout::defaults({"姓名"});
    TableDesigner d(l, {});
    l.orientation = "横向";
    l.rowHeight = 1000;
    EXPECT_FALSE(d.mayClose());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("一页放不下一行数据"), std::string::npos);
    l.rowHeight = 80;
    EXPECT_TRUE(d.mayClose());
}

TEST(PrintRangeTest, PagesOfTheChoice)
{
    using K = PrintRange::Kind;
    struct Case {
        PrintRange range;
        int current, count, first, last;
    } const cases[] = {
        {{K::All, 1, 1}, 2, 5, 1, 5},     {{K::All, 1, 1}, 1, 0, 1, 0},    {{K::Current, 1, 1}, 4, 5, 4, 4},
        {{K::Range, 3, 99}, 1, 5, 3, 5},  {{K::Range, 7, 9}, 1, 5, 5, 5},  {{K::Range, 3, 3}, 1, 5, 3, 3},
        {{K::Current, 1, 1}, 1, 0, 1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.range.pages(c.current, c.count), std::make_pair(c.first, c.last)) << c.range.from << "-" << c.range.to;

    EXPECT_EQ(chooseRange(K::Range, "5", "3").message, "打印范围设定错误！");
    EXPECT_FALSE(chooseRange(K::Range, "x", "3").range);
    EXPECT_EQ(chooseRange(K::Range, "3", "3").range->to, 3);
}

// A stored range the window could not have chosen is no range.
TEST(PrintRangeTest, AStoredRangeOutsideItsBoundsIsNotRead)
{
    rsgz::test::TempDir dir;
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("set"))));
    const std::string programDir = dir.path() + "/";
    for (const auto& [from, to, read] : {std::tuple{"2", "9", true}, {"-5", "3", false}, {"0", "0", false},
                                         {"5", "3", false}, {"1", "99999999999", false}}) {
        rsgz::db::writeSettingsLines(printRangePath(programDir), {"选择范围", from, to});
        EXPECT_EQ(readPrintRange(programDir).has_value(), read) << from << "-" << to;
    }
}

// The range reaches the preview through set/printPage; closing the window without 确认 prints
// nothing, whatever an earlier print left in the file.
TEST(PrintRangeTest, ClosingTheRangeWindowCancels)
{
    rsgz::test::TempDir dir;
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("set"))));
    const std::string programDir = dir.path() + "/";
    rsgz::test::ScriptedInteraction ui;
    rsgz::test::BlankRows rows;
    rows.rows = 100;
    TablePreview preview(programDir, "员工报表.tbl", rows, {"姓名"});
    ASSERT_TRUE(preview.open());
    ASSERT_EQ(preview.pageCount(), 4);

    ui.onWindow("打印表格", [&] { writePrintRange(programDir, {PrintRange::Kind::Range, 2, 9}); });
    EXPECT_EQ(preview.askPrintRange(), std::make_pair(2, 4));
    EXPECT_EQ(rsgz::db::readSettingsLines(printRangePath(programDir)), (std::vector<std::string>{"选择范围", "2", "9"}));

    ui.onWindow("打印表格", [] {});
    EXPECT_FALSE(preview.askPrintRange());
}
