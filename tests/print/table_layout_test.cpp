#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <random>

#include "db/Gbk.h"
#include "print/TableLayout.h"
#include "print/TablePreview.h"
#include "BlankRows.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"

using namespace rsgz::print;

namespace {

int32_t int32At(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24);
}

std::string textAt(const std::vector<uint8_t>& b, size_t at)
{
    return rsgz::db::fromGbk(std::string(reinterpret_cast<const char*>(&b[at + 1]), b[at]));
}

TableLayout sample()
{
    TableLayout l = TableLayout::defaults({"姓名", "部门", "基本工资"});
    l.titles.push_back(TableLayout::defaultTitle("二〇二四年三月工资表"));
    l.titles[1].font = {"宋体", 12};
    l.titles[1].x = -5;
    l.columns[2].sum = true;
    l.columns[2].format = "#,##0.00";
    l.columns[2].dataAlign = "右齐";
    l.orientation = "横向";
    l.grandTotal = true;
    return l;
}

void setInt32(std::vector<uint8_t>& b, size_t at, int32_t v)
{
    for (size_t i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& b)
{
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(b.data()), static_cast<qint64>(b.size()));
}

}  // namespace

TEST(TableLayoutTest, FieldsSitAtTheirOffsets)
{
    const std::vector<uint8_t> b = sample().toBytes();
    ASSERT_EQ(b.size(), 57568u);
    EXPECT_EQ(textAt(b, 0), "黑体");
    EXPECT_EQ(int32At(b, 32), 22);
    EXPECT_EQ(int32At(b, 52), 150);
    EXPECT_EQ(textAt(b, 60), "新表格顶标题");
    EXPECT_EQ(int32At(b, 264 + 52), -5);
    EXPECT_EQ(int32At(b, 13200), 2) << "title count";
    EXPECT_EQ(textAt(b, 18488), "A4");
    EXPECT_EQ(int32At(b, 18596), 2970);
    EXPECT_EQ(int32At(b, 18608), 250);
    EXPECT_EQ(textAt(b, 18616), "表格下部居中");
    EXPECT_EQ(textAt(b, 18667), "横向");
    EXPECT_EQ(b[18698], 1);
    EXPECT_EQ(textAt(b, 18700), "宋体");
    EXPECT_EQ(int32At(b, 18756), 80);
    EXPECT_EQ(b[18762], 1);
    const size_t col3 = 18764 + 2 * 388;
    EXPECT_EQ(textAt(b, col3), "基本工资");
    EXPECT_EQ(textAt(b, col3 + 156), "居中");
    EXPECT_EQ(textAt(b, col3 + 187), "基本工资");
    EXPECT_EQ(textAt(b, col3 + 292), "右齐");
    EXPECT_EQ(int32At(b, col3 + 332), 100);
    EXPECT_EQ(textAt(b, col3 + 336), "#,##0.00");
    EXPECT_EQ(b[col3 + 387], 1);
    EXPECT_EQ(int32At(b, 57564), 3) << "column count";
}

// A file from another installation carries bytes this program never sets (reserved areas, bytes
// after a text, old entries beyond the counts, a flag stored as 2): reading and writing it back
// changes none of them.
TEST(TableLayoutTest, FileRoundTripsByteForByte)
{
    TableLayout l = sample();
    std::mt19937 gen(7);
    for (uint8_t& byte : l.raw) byte = static_cast<uint8_t>(gen());
    std::vector<uint8_t> original = l.toBytes();
    original[18760] = 2;

    rsgz::test::TempDir dir;
    const std::string path = dir.file("员工报表.tbl");
    writeBytes(path, original);
    const TableLayout read = TableLayout::read(path);
    EXPECT_TRUE(read.pageSubtotal);
    EXPECT_EQ(read.columns, l.columns);
    EXPECT_EQ(read.titles, l.titles);
    read.write(path);
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray back = f.readAll();
    EXPECT_EQ(std::vector<uint8_t>(back.begin(), back.end()), original);
}

TEST(TableLayoutTest, DamagedRecordsAreRefusedWithAReason)
{
    const std::vector<uint8_t> good = sample().toBytes();
    struct Case {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> damage;
        const char* reason;
    };
    const Case cases[] = {
        {"short file", [](auto& b) { b.resize(18000); }, "不足"},
        {"empty file", [](auto& b) { b.clear(); }, "不足"},
        {"50 titles", [](auto& b) { b[13200] = 50; }, "标题数"},
        {"negative title count", [](auto& b) { b[13203] = 0xff; }, "标题数"},
        {"100 columns", [](auto& b) { b[57564] = 100; }, "列数"},
        {"title text beyond 200", [](auto& b) { b[264 + 60] = 201; }, "超过了容量"},
        {"font name beyond 30", [](auto& b) { b[18700] = 31; }, "超过了容量"},
        {"item name beyond 50", [](auto& b) { b[18764 + 187] = 51; }, "超过了容量"},
        {"text not GBK", [](auto& b) { b[18489] = 0xff, b[18490] = 0xff; }, "不是有效的文字"},
        // Sizes and positions: the paper at most A0 either way, everything else within the paper.
        {"paper 19 km high", [](auto& b) { setInt32(b, 18596, 190000000); }, "纸张大小"},
        {"no paper width", [](auto& b) { setInt32(b, 18592, 0); }, "纸张大小"},
        {"square beyond A0", [](auto& b) { setInt32(b, 18592, 9000), setInt32(b, 18596, 9000); }, "纸张大小"},
        {"margin that overflows a sum", [](auto& b) { setInt32(b, 18600, INT32_MAX); }, "左边距"},
        {"margins wider than the page", [](auto& b) { setInt32(b, 18600, 1500), setInt32(b, 18604, 1500); }, "页边距"},
        {"no row height", [](auto& b) { setInt32(b, 18756, 0); }, "表格行距"},
        {"column wider than the page", [](auto& b) { setInt32(b, 18764 + 332, 2971); }, "宽度"},
        {"columns whose sum overflows", [](auto& b) { setInt32(b, 18764 + 332, INT32_MAX); }, "宽度"},
        {"no column width", [](auto& b) { setInt32(b, 18764 + 388 + 332, 0); }, "宽度"},
        {"title far below", [](auto& b) { setInt32(b, 264 + 56, 5000); }, "纵向位置"},
        {"negative font size", [](auto& b) { setInt32(b, 18700 + 32, -9); }, "字号"},
        {"huge title font", [](auto& b) { setInt32(b, 32, 100000); }, "字号"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> b = good;
        c.damage(b);
        try {
            TableLayout::fromBytes(b);
            ADD_FAILURE() << c.what << " was read";
        } catch (const LayoutFileError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << c.what << ": " << e.what();
        }
    }
}

// The largest sheet either way, and a column as wide as the (landscape) page, are still layouts.
TEST(TableLayoutTest, SizesAtTheirLimitsAreRead)
{
    for (auto [width, height] : {std::pair{8410, 11890}, {11890, 8410}, {1, 1000}}) {
        std::vector<uint8_t> b = sample().toBytes();
        setInt32(b, 18592, width);
        setInt32(b, 18596, height);
        for (size_t at : {18600, 18604, 18608, 18612}) setInt32(b, at, 0);
        setInt32(b, 18764 + 332, height);  // the sample lies in landscape: the page is as wide as the paper is high
        EXPECT_NO_THROW(TableLayout::fromBytes(b)) << width << "×" << height;
    }
}

TEST(TableLayoutTest, TextsAreCutToTheirCapacityWithoutSplittingACharacter)
{
    EXPECT_EQ(fitToCapacity("工资表", 5), "工资");
    EXPECT_EQ(fitToCapacity("ab工资", 4), "ab工");
    EXPECT_EQ(fitToCapacity("abc", 3), "abc");
    EXPECT_EQ(fitToCapacity("王𠀀", 5), "王");  // four bytes in the file
    EXPECT_EQ(fitToCapacity("王𠀀", 6), "王𠀀");
    TableLayout l = TableLayout::defaults({std::string(60, 'x')});
    EXPECT_EQ(l.columns[0].item.size(), 50u);
    l.titles[0].text = std::string(150, 'a') + std::string(40, 'b') + "一二三四五六七八九十";
    EXPECT_EQ(TableLayout::fromBytes(l.toBytes()).titles[0].text, std::string(150, 'a') + std::string(40, 'b') + "一二三四五");
    l.titles.push_back(TableTitle{.text = "王䶮𠀀的工资"});
    EXPECT_EQ(TableLayout::fromBytes(l.toBytes()).titles.back().text, "王䶮𠀀的工资");
}

// A damaged layout never blocks the preview for good: the user is told why and may go on with
// the default layout, the damaged file kept beside it.
TEST(TableLayoutTest, PreviewOffersTheDefaultForADamagedFile)
{
    rsgz::test::TempDir dir;
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("set"))));
    const std::string path = dir.file("set/员工报表.tbl");
    std::vector<uint8_t> damaged = sample().toBytes();
    damaged[57564] = 120;
    writeBytes(path, damaged);
    rsgz::test::BlankRows rows;
    rsgz::test::ScriptedInteraction ui;

    TablePreview declined(dir.path() + "/", "员工报表.tbl", rows, {"姓名"});
    EXPECT_FALSE(declined.open());
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_NE(ui.questions[0].find("列数 120"), std::string::npos) << ui.questions[0];

    ui.answer(true);
    TablePreview accepted(dir.path() + "/", "员工报表.tbl", rows, {"姓名"});
    ASSERT_TRUE(accepted.open());
    EXPECT_EQ(accepted.layout().columns.size(), 1u);
    EXPECT_EQ(accepted.pageCount(), 0);
    EXPECT_EQ(accepted.currentPage(), 1);
    EXPECT_EQ(TableLayout::read(path).columns.size(), 1u) << "the default layout was saved";
    QFile kept(QString::fromStdString(path + ".损坏"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.size(), static_cast<qint64>(damaged.size()));
}

TEST(TableLayoutTest, LayoutFileNamesOfThePrintEntries)
{
    EXPECT_EQ(tableLayoutFile("打印员工报表"), "员工报表.tbl");
    EXPECT_EQ(tableLayoutFile("打印工资条"), "工资条.tbl");
    EXPECT_EQ(tableLayoutFile("打印工资表", "一车间"), "一车间工资表.tbl");
    EXPECT_EQ(tableLayoutFile("打印工资表", "../../a:b*c"), ".._.._a_b_c工资表.tbl");
    EXPECT_EQ(tableLayoutFile("打印员工档案表"), "");
    EXPECT_EQ(safeFileNamePart(".."), "_..");
    EXPECT_EQ(safeFileNamePart("a\nb"), "a_b");
}
