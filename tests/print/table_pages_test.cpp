#include <gtest/gtest.h>

#include <map>

#include "print/NumberFormat.h"
#include "print/TablePages.h"

using namespace rsgz::print;
using rsgz::db::Money;
using rsgz::db::Value;

namespace {

// Two columns: a name and an amount in money.
struct Rows : TableSource {
    std::vector<std::pair<std::string, Money>> rows;
    int rowCount() const override { return static_cast<int>(rows.size()); }
    int fieldOf(const std::string& item) const override { return item == "姓名" ? 0 : item == "实发" ? 1 : -1; }
    bool isNumber(int field) const override { return field == 1; }
    Value value(int row, int field) const override
    {
        const auto& r = rows[static_cast<size_t>(row)];
        return field == 0 ? Value(r.first) : Value(r.second);
    }
    std::string text(int row, int field) const override
    {
        return field == 0 ? rows[static_cast<size_t>(row)].first : rows[static_cast<size_t>(row)].second.toString(2);
    }
};

Rows sevenRows()
{
    Rows r;
    for (int i = 1; i <= 7; ++i) r.rows.push_back({"员工" + std::to_string(i), Money::fromUnits(i * 1000015)});
    return r;
}

// Six grid rows on the page: 850 − 250 − 120 = 480 = 6 × 80.
TableLayout smallPage()
{
    TableLayout l = TableLayout::defaults({"姓名", "实发", "备注"});
    l.paperHeight = 850;
    l.columns[1].sum = true;
    l.columns[1].format = "0.00";
    return l;
}

// The texts of the grid row between horizontal lines row+1 and row+2 (row 0 is the header row).
std::vector<std::string> rowTexts(const ReportPage& p, const TableLayout& l, int row)
{
    std::vector<std::string> out;
    const double y = (l.topMargin + row * l.rowHeight) / 10.0;
    for (const PageText& t : p.texts)
        if (t.role != TextRole::Band && std::abs(t.y - y) < 1e-9) out.push_back(t.text);
    return out;
}

}  // namespace

TEST(TablePagesTest, RowsPerPageFollowTheUsableLength)
{
    struct Case {
        int paperHeight, top, bottom, rowHeight;
        bool subtotal, landscape;
        int gridRows, rowsPerPage;
    } const cases[] = {
        {2970, 250, 120, 80, false, false, 32, 31},  // 2600 / 80 = 32.5: halves go to even
        {2970, 250, 120, 80, true, false, 32, 30},
        {2970, 250, 170, 80, false, false, 32, 31},  // 31.875
        {2970, 210, 120, 80, false, false, 33, 32},  // 33.0
        {2890, 250, 120, 80, false, false, 32, 31},  // 31.5: odd, so up to 32
        {2970, 250, 120, 80, false, true, 22, 21},   // landscape: 2100 − 370 = 1730, 21.6
    };
    for (const Case& c : cases) {
        TableLayout l = TableLayout::defaults({"姓名"});
        l.paperHeight = c.paperHeight, l.topMargin = c.top, l.bottomMargin = c.bottom, l.rowHeight = c.rowHeight;
        l.pageSubtotal = c.subtotal;
        if (c.landscape) l.orientation = "横向";
        Rows none;
        const TablePrinter p(l, none);
        EXPECT_EQ(p.gridRows(), c.gridRows) << c.paperHeight << " " << c.top << " " << c.bottom;
        EXPECT_EQ(p.rowsPerPage(), c.rowsPerPage) << c.paperHeight << " " << c.top << " " << c.bottom;
    }
}

// Seven records on pages of four rows with the page subtotal and the grand total: each page sums
// its own records, each counted with the figure it shows; the total row follows on the last page;
// all of it inside the ruled grid.
TEST(TablePagesTest, PageBreaksWithSubtotalsAndTheTotalRow)
{
    TableLayout l = smallPage();
    l.pageSubtotal = l.grandTotal = true;
    const Rows rows = sevenRows();
    const TablePrinter p(l, rows);
    ASSERT_EQ(p.rowsPerPage(), 3);
    ASSERT_EQ(p.pageCount(), 3);

    const ReportPage first = p.page(1);
    EXPECT_EQ(rowTexts(first, l, 0), (std::vector<std::string>{"姓名", "实发", "备注"}));
    EXPECT_EQ(rowTexts(first, l, 1), (std::vector<std::string>{"员工1", "100.00"}));
    // 100.0015 + 200.003 + 300.0045 would be 600.01; the figures shown above add up to 600.00.
    EXPECT_EQ(rowTexts(first, l, 4), (std::vector<std::string>{"小计", "600.00"}));
    EXPECT_TRUE(rowTexts(first, l, 5).empty()) << "no total before the last page";
    EXPECT_EQ(first.records, (std::vector<int>{0, 1, 2}));

    const ReportPage last = p.page(3);
    EXPECT_EQ(last.records, (std::vector<int>{6}));
    EXPECT_EQ(rowTexts(last, l, 1), (std::vector<std::string>{"员工7", "700.01"}));
    EXPECT_EQ(rowTexts(last, l, 2), (std::vector<std::string>{"小计", "700.01"}));
    EXPECT_EQ(rowTexts(last, l, 3), (std::vector<std::string>{"总计", "2800.04"}));
    EXPECT_EQ(p.grandTotals()[1], Money::fromUnits(28000400)) << "100.00 + 200.00 + 300.00 + 400.01 + 500.01 + 600.01 + 700.01";

    // Every page shows the full ruled grid: 7 horizontal and 4 vertical lines, ending above the bottom margin.
    EXPECT_EQ(last.lines.size(), 7u + 4u);
    for (const PageLine& line : last.lines) EXPECT_LE(line.y2, (850 - 120) / 10.0 + 1e-9);
    EXPECT_EQ(last.textsOf(TextRole::Band), (std::vector<std::string>{"第 3 页  共 3 页", "新表格顶标题"}));
}

TEST(TablePagesTest, TotalRowsNeedASumColumnAndTheirFlags)
{
    TableLayout l = smallPage();
    const Rows rows = sevenRows();
    EXPECT_TRUE(rowTexts(TablePrinter(l, rows).page(2), l, 3).empty()) << "no flags: no sum rows";
    l.grandTotal = true;
    const TablePrinter withTotal(l, rows);
    ASSERT_EQ(withTotal.pageCount(), 2);
    EXPECT_EQ(rowTexts(withTotal.page(2), l, 4), (std::vector<std::string>{"总计", "2800.04"}))
        << "the total row does not need the subtotal flag";
    l.columns[1].sum = false;
    const TablePrinter noSum(l, rows);
    EXPECT_TRUE(rowTexts(noSum.page(2), l, 4).empty());
}

TEST(TablePagesTest, EmptyListShowsTheRuledGridWithoutPages)
{
    const TableLayout l = smallPage();
    const Rows none;
    const TablePrinter p(l, none);
    EXPECT_EQ(p.pageCount(), 0);
    const ReportPage page = p.page(1);
    EXPECT_EQ(page.lines.size(), 7u + 4u);
    EXPECT_EQ(page.textsOf(TextRole::ColumnTitle).size(), 3u);
    EXPECT_TRUE(page.textsOf(TextRole::Cell).empty());
}

TEST(TablePagesTest, PaySlipsPerPage)
{
    TableLayout l = TableLayout::defaults({"姓名", "实发"});
    l.payStubs = true;
    Rows rows;
    for (int i = 0; i < 30; ++i) rows.rows.push_back({"员工" + std::to_string(i), Money::fromUnits(i * 10000)});
    const TablePrinter p(l, rows);
    EXPECT_EQ(p.rowsPerPage(), 14);  // 2600 / (2 × 80 + 20)
    ASSERT_EQ(p.pageCount(), 3);
    const ReportPage last = p.page(3);
    EXPECT_EQ(last.records, (std::vector<int>{28, 29}));
    EXPECT_EQ(last.textsOf(TextRole::ColumnTitle), (std::vector<std::string>{"姓名", "实发", "姓名", "实发"}));
    EXPECT_EQ(last.textsOf(TextRole::Cell), (std::vector<std::string>{"员工28", "28.00", "员工29", "29.00"}));
    EXPECT_EQ(last.lines.size(), 2u * (3 + 3)) << "three rules and three column lines per slip";
    EXPECT_TRUE(last.textsOf(TextRole::Band).size() == 1) << "the title, no page number";
    // The second slip starts two millimetres below the first.
    EXPECT_DOUBLE_EQ(last.lines[6].y1 - last.lines[0].y1, 18.0);

    const Rows none;
    const ReportPage empty = TablePrinter(l, none).page(1);
    EXPECT_EQ(empty.textsOf(TextRole::ColumnTitle).size(), 2u) << "one empty slip shows the layout";
}

TEST(TablePagesTest, LayoutsWithoutRoomForARowAreRefused)
{
    struct Case {
        const char* what;
        std::function<void(TableLayout&)> change;
        const char* message;  // empty: printable
    } const cases[] = {
        {"default", [](TableLayout&) {}, ""},
        {"landscape, row height 1000", [](TableLayout& l) { l.orientation = "横向", l.rowHeight = 1000; }, "一页放不下一行数据"},
        {"row height 1000 portrait", [](TableLayout& l) { l.rowHeight = 1000; }, "一页放不下一行数据"},
        {"row height 1300 with totals", [](TableLayout& l) { l.rowHeight = 1300; }, "不在 10 到 1000 之间"},
        {"row height 0", [](TableLayout& l) { l.rowHeight = 0; }, "不在 10 到 1000 之间"},
        {"pay slips taller than the page",
         [](TableLayout& l) { l.payStubs = true, l.rowHeight = 1000, l.orientation = "横向"; }, "一页放不下一张工资条"},
        {"pay slips of row height 600 fit one", [](TableLayout& l) { l.payStubs = true, l.rowHeight = 600; }, ""},
        {"margins beyond the paper", [](TableLayout& l) { l.topMargin = 2000, l.bottomMargin = 1000; }, "页边距"},
        {"negative margin", [](TableLayout& l) { l.leftMargin = -1; }, "左边距"},
        {"zero paper", [](TableLayout& l) { l.paperWidth = 0; }, "纸张"},
        {"column without width", [](TableLayout& l) { l.columns[0].width = 0; }, "宽度 0 不在 1 到 2100 之间"},
    };
    for (const Case& c : cases) {
        TableLayout l = TableLayout::defaults({"姓名"});
        c.change(l);
        const std::string problem = layoutProblem(l);
        if (*c.message == 0) EXPECT_EQ(problem, "") << c.what;
        else EXPECT_NE(problem.find(c.message), std::string::npos) << c.what << ": " << problem;
    }
}

// A small row height makes many rows a page; nothing caps them.
TEST(TablePagesTest, ManyRowsAndColumnsHaveNoFixedCap)
{
    std::vector<std::string> titles(99, "实发");
    TableLayout l = TableLayout::defaults(titles);
    l.rowHeight = 10;
    Rows rows;
    for (int i = 0; i < 400; ++i) rows.rows.push_back({"x", Money::fromUnits(10000)});
    const TablePrinter p(l, rows);
    EXPECT_EQ(p.rowsPerPage(), 259);
    const ReportPage page = p.page(1);
    EXPECT_EQ(page.records.size(), 259u);
    EXPECT_EQ(page.lines.size(), 261u + 100u);
}

// A cell that holds a number is printed smaller rather than cut; text keeps its size.
TEST(TablePagesTest, NumberCellsShrinkToFitAndTextDoesNot)
{
    const struct {
        const char* text;
        bool number;
    } cases[] = {
        {"19996", true}, {"-1,234.50", true}, {"¥12.00", true}, {"1.5E+03", true}, {"12%", true},
        {"(300.00)", true}, {"2024-03-01", true}, {" 7 ", true}, {"张三", false}, {"12号楼", false},
        {"YG1003", false}, {"", false}, {"-", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isNumberText(c.text), c.number) << c.text;

    Rows rows;
    rows.rows.push_back({"19996", Money::fromUnits(123456789)});
    rows.rows.push_back({"王建国", Money::fromUnits(5)});
    const TableLayout l = smallPage();
    const TablePrinter printer(l, rows);
    std::map<std::string, bool> shrinks;
    for (const PageText& t : printer.page(1).texts) shrinks[t.text] = t.shrinkToFit;
    EXPECT_TRUE(shrinks.at("19996"));
    EXPECT_TRUE(shrinks.at("12345.68"));
    EXPECT_FALSE(shrinks.at("王建国"));
    EXPECT_FALSE(shrinks.at("实发")) << "a header is text";
}

TEST(NumberFormatTest, Patterns)
{
    struct Case {
        const char* format;
        int64_t units;
        const char* text;
    } const cases[] = {
        {"", 12345000, "1234.5"},
        {"", -5, "-0.0005"},
        {"", 0, "0"},
        {"0.00", 12345000, "1234.50"},
        {"0.00", 50001, "5.00"},
        {"0.00", 50050, "5.01"},  // half away from zero
        {"0.00", -50050, "-5.01"},
        {"0.00", -10, "0.00"},    // no minus sign on a shown zero
        {"0", 25000, "3"},
        {"#,##0.00", 12345678912, "1,234,567.89"},
        {"#,##0", -12345678912, "-1,234,568"},
        {"#.##", 5000, ".5"},
        {"0.0#", 12000, "1.2"},
        {"0.0#", 12340, "1.23"},
        {"000", 70000, "007"},
        {"\"¥\"#,##0.00", 12345000, "¥1,234.50"},
        {"0.00元", 10000, "1.00元"},
        {"0.00;(0.00);零", -50000, "(5.00)"},
        {"0.00;(0.00);零", 0, "零"},
        {"0.00;(0.00)", 0, "0.00"},
        {"0.00E+00", 123450000, "1.23E+04"},
        {"0.0E-0", 123450000, "1.2E4"},
        {"0.000000", 12345, "1.234500"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatNumber(Money::fromUnits(c.units), c.format), c.text) << c.format << " " << c.units;
}
