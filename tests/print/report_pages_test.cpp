#include <gtest/gtest.h>

#include <numeric>

#include "print/ReportExpression.h"
#include "print/ReportPages.h"

using namespace rsgz::print;
using rsgz::db::Money;
using rsgz::db::Value;

namespace {

ReportTable table(int rows)
{
    ReportTable t;
    t.fields = {"姓名", "前", "后"};
    for (int i = 1; i <= rows; ++i)
        t.rows.push_back({Value("员工" + std::to_string(i)), Value(Money::fromUnits(i * 10000)),
                          Value(i % 2 ? Value() : Value(Money::fromUnits(i * 12345)))});
    return t;
}

ReportDefinition withColumns()
{
    ReportDefinition d = defaultDefinition();
    d.bands.push_back({"共|RECORDCOUNT|条 第|#|页", {}, Alignment::Left, 1, BandType::PageHeader});
    for (const char* f : {"姓名", "前", "后"})
        d.columns.push_back(columnForField(f));
    return d;
}

}  // namespace

TEST(ReportPagesTest, RowsRunOverPagesWithBandsOnTheRightPages)
{
    const ReportTable t = table(120);
    const ReportLayout l = layoutReport(withColumns(), t);
    ASSERT_GE(l.pages.size(), 3u);
    std::vector<int> printed;
    for (const ReportPage& p : l.pages) {
        const std::string n = std::to_string(p.number);
        const auto bands = p.textsOf(TextRole::Band);
        EXPECT_EQ(std::count(bands.begin(), bands.end(), "页码[" + n + "]"), 1) << "footer of page " << n;
        EXPECT_EQ(std::count(bands.begin(), bands.end(), "共120条 第" + n + "页"), 1);
        EXPECT_EQ(std::count(bands.begin(), bands.end(), "表格定义窗口标题"), p.number == 1 ? 1 : 0);
        EXPECT_EQ(p.textsOf(TextRole::ColumnTitle), (std::vector<std::string>{"姓名", "前", "后"})) << "titles every page";
        EXPECT_FALSE(p.records.empty());
        printed.insert(printed.end(), p.records.begin(), p.records.end());
        // Nothing runs into the footer or off the paper.
        for (const PageText& x : p.texts)
            EXPECT_LE(x.y + x.h, l.heightMm - 10 + 1e-9) << x.text;
    }
    std::vector<int> all(120);
    std::iota(all.begin(), all.end(), 0);
    EXPECT_EQ(printed, all) << "every record once, in the grid's order";
}

TEST(ReportPagesTest, ColumnTitleRowFollowsItsSwitches)
{
    ReportDefinition d = withColumns();
    d.colsTitle.everyPage = false;
    ReportLayout l = layoutReport(d, table(120));
    EXPECT_EQ(l.pages[0].textsOf(TextRole::ColumnTitle).size(), 3u);
    EXPECT_TRUE(l.pages[1].textsOf(TextRole::ColumnTitle).empty());

    d.colsTitle.everyRow = true;
    l = layoutReport(d, table(4));
    EXPECT_EQ(l.pages[0].textsOf(TextRole::ColumnTitle).size(), 12u);

    d.colsTitle.print = false;
    EXPECT_TRUE(layoutReport(d, table(4)).pages[0].textsOf(TextRole::ColumnTitle).empty());
}

TEST(ReportPagesTest, MultiLineTitlesAndHeaderLinesSpanColumns)
{
    ReportDefinition d = withColumns();
    d.columns[1].title.text = {"晋升前", "工资"};
    d.colsTitle.titleArray = {"人员|工资|"};
    const ReportPage p = layoutReport(d, table(1)).pages[0];
    EXPECT_EQ(p.textsOf(TextRole::ColumnTitle)[1], "晋升前\n工资");
    std::vector<PageText> spans;
    for (const PageText& t : p.texts)
        if (t.role == TextRole::TitleArray)
            spans.push_back(t);
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_DOUBLE_EQ(spans[1].w, 50) << "工资 spans the two money columns of 25 mm";
}

TEST(ReportPagesTest, AGridWithoutRowsOrColumnsStillGivesOnePage)
{
    ReportDefinition d = defaultDefinition();
    d.bands[0].text = "表格标题";
    const ReportLayout l = layoutReport(d, ReportTable{});
    ASSERT_EQ(l.pages.size(), 1u);
    EXPECT_EQ(l.pages[0].textsOf(TextRole::Band), (std::vector<std::string>{"表格标题", "页码[1]"}));
}

TEST(ReportPagesTest, FramesAndLinesFollowThePens)
{
    ReportDefinition d = withColumns();
    ReportLayout l = layoutReport(d, table(3));
    // title: box 4 + 2 column lines; detail: box 4 + 2 column lines + 2 row lines
    EXPECT_EQ(l.pages[0].lines.size(), 14u);
    d.detail.frame.shape = FrameShape::None;
    d.detail.rowsLine.style = PenStyle::None;
    d.colsTitle.colsLine.style = PenStyle::None;
    l = layoutReport(d, table(3));
    EXPECT_EQ(l.pages[0].lines.size(), 6u);
}

TEST(ReportPagesTest, MasterColumnsPrintAValueOnceOrOnARowOfItsOwn)
{
    ReportTable t;
    t.fields = {"部门", "姓名"};
    for (const char* row : {"甲张", "甲李", "乙王"})
        t.rows.push_back({Value(std::string(row, 3)), Value(std::string(row + 3))});
    ReportDefinition d = defaultDefinition();
    d.columns = {columnForField("部门"), columnForField("姓名")};
    d.columns[0].master = true;
    EXPECT_EQ(layoutReport(d, t).pages[0].textsOf(TextRole::Cell),
              (std::vector<std::string>{"甲", "张", "", "李", "乙", "王"}));
    d.columns[0].singleRow = true;
    const ReportPage p = layoutReport(d, t).pages[0];
    EXPECT_EQ(p.textsOf(TextRole::Group), (std::vector<std::string>{"甲", "乙"}));
}

TEST(ReportPagesTest, SummaryExpressions)
{
    const ReportTable t = table(4);  // 前: 1 2 3 4; 后: null 2.469 null 4.938
    struct Case {
        const char* expr;
        const char* format;
        const char* text;
    };
    for (const Case& c : std::vector<Case>{
             {"SUM", "", "10.00"},
             {"sum(后)", "0.0000", "7.4070"},
             {"COUNT", "", "4"},
             {"COUNT(后)", "", "2"},
             {"AVG(后)", "0.0000", "3.7035"},
             {"SUM(后)-SUM(前)", "", "-2.59"},
             {"SUM*2/COUNT", "0.00", "5.00"},
             {"(SUM(前)+1)/3", "0.0000", "3.6667"},
             {"SUM(前)*1000", "#,##0.00", "10,000.00"},
             {"SUM/COUNT(不存在)", "", ""},
             {"SUM/(COUNT-4)", "", ""},
             {"MAX(前)", "", ""},
             {"SUM(前", "", ""},
         }) {
        EXPECT_EQ(summaryText(evaluateSummary(c.expr, t, "前"), c.format), c.text) << c.expr;
    }
    EXPECT_FALSE(evaluateSummary("SUM/(COUNT-4)", t, "前").error.empty());
}

TEST(ReportPagesTest, TotalRowFollowsTheLastRecord)
{
    ReportDefinition d = withColumns();
    d.columns[1].expression = "SUM";
    d.columns[2].expression = "COUNT";
    const ReportLayout l = layoutReport(d, table(120));
    for (size_t i = 0; i + 1 < l.pages.size(); ++i)
        EXPECT_TRUE(l.pages[i].textsOf(TextRole::Total).empty());
    EXPECT_EQ(l.pages.back().textsOf(TextRole::Total), (std::vector<std::string>{"合计", "7260.00", "60"}));
}

TEST(ReportPagesTest, CellFormats)
{
    EXPECT_EQ(formatCell(Value(Money::fromUnits(12345678)), "#,##0.00"), "1,234.57");
    EXPECT_EQ(formatCell(Value(Money::fromUnits(12345678)), "0"), "1235");
    EXPECT_EQ(formatCell(Value("2020-03-04"), "yyyy年mm月dd日"), "2020年03月04日");
    EXPECT_EQ(formatCell(Value("无"), "0.00"), "无");
    EXPECT_EQ(formatCell(Value(), "0.00"), "");
}

TEST(ReportPagesTest, PageRange)
{
    struct Case {
        int start, finish, count, first, last;
    };
    for (const Case& c : std::vector<Case>{{0, 0, 5, 0, 4}, {2, 3, 5, 1, 2}, {2, 0, 5, 1, 4}, {4, 9, 5, 3, 4},
                                           {7, 9, 5, 0, 4}, {3, 2, 5, 0, 4}}) {
        PageSetup p;
        p.pageStart = c.start;
        p.pageFinish = c.finish;
        EXPECT_EQ(pageRange(p, c.count), std::make_pair(c.first, c.last)) << c.start << "-" << c.finish;
    }
}

// A record that does not fit in the space left: moved whole to the next page, or, where a wrapping
// column allows it, begun at the foot of the page and continued; a record taller than a whole page
// is split in either case. No line of a record is lost and nothing runs into the footer.
TEST(ReportPagesTest, RecordsThatDoNotFitMoveOnOrContinueOnTheNextPage)
{
    struct Case {
        const char* what;
        int longLines;  // lines of the middle record's wrapping cell
        bool pagination;
        std::vector<std::vector<int>> records;  // by page
    };
    // Page 60 mm high: 40 mm between the margins and above the footer, enough for about 10 lines.
    const Case cases[] = {
        {"fits", 2, false, {{0, 1, 2}}},
        {"moves whole", 8, false, {{0}, {1, 2}}},
        {"continues", 8, true, {{0, 1}, {1, 2}}},
        {"taller than a page, split", 25, false, {{0}, {1}, {1}, {1, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ReportDefinition d = defaultDefinition();
        d.bands.clear();
        d.colsTitle.print = false;
        d.page.size = PageSize::Custom;
        d.page.width = 100;
        d.page.height = 60;
        d.detail.rowSpace = 0;
        Column note = columnForField("备注");
        note.width = 80;
        note.wrap = true;
        note.pagination = c.pagination;
        d.columns = {columnForField("序号"), note};
        ReportTable t;
        t.fields = {"序号", "备注"};
        std::string text;
        for (int i = 0; i < c.longLines; ++i)
            text += (i ? "\n" : "") + std::string("第") + std::to_string(i + 1) + "行";
        const std::vector<std::string> notes = {"一\n二\n三\n四\n五\n六", text, "末"};
        for (int r = 0; r < 3; ++r)
            t.rows.push_back({Value(std::to_string(r + 1)), Value(notes[static_cast<size_t>(r)])});

        const ReportLayout l = layoutReport(d, t);
        std::vector<std::vector<int>> records;
        std::string printed;
        for (const ReportPage& p : l.pages) {
            records.push_back(p.records);
            for (const PageText& x : p.texts) {
                EXPECT_LE(x.y + x.h, l.heightMm - 10 + 1e-9) << x.text;
                if (x.role == TextRole::Cell && x.x > 20)
                    printed += (printed.empty() ? "" : "\n") + x.text;
            }
        }
        EXPECT_EQ(records, c.records);
        EXPECT_EQ(printed, notes[0] + "\n" + text + "\n" + notes[2]) << "every line once, in order";
    }
}

// Arranged vertically, a record with more fields than a page has lines goes on over the next page.
TEST(ReportPagesTest, AVerticalRecordLongerThanAPageContinuesOnTheNext)
{
    ReportDefinition d = defaultDefinition();
    d.bands.clear();
    d.detail.arrange = Arrange::Vertical;
    d.detail.rowSpace = 0;
    d.page.size = PageSize::Custom;
    d.page.width = 100;
    d.page.height = 60;  // about ten lines between the margins
    ReportTable t;
    for (int f = 1; f <= 15; ++f) {
        t.fields.push_back("字段" + std::to_string(f));
        d.columns.push_back(columnForField(t.fields.back()));
    }
    for (int r = 0; r < 2; ++r) {
        t.rows.emplace_back();
        for (int f = 1; f <= 15; ++f) t.rows.back().push_back(Value(std::to_string(r) + "-" + std::to_string(f)));
    }
    const ReportLayout l = layoutReport(d, t);
    std::vector<std::vector<int>> records;
    std::vector<std::string> cells;
    for (const ReportPage& p : l.pages) {
        records.push_back(p.records);
        for (const PageText& x : p.texts) EXPECT_LE(x.y + x.h, l.heightMm - 10 + 1e-9) << x.text;
        for (const std::string& c : p.textsOf(TextRole::Cell)) cells.push_back(c);
    }
    EXPECT_EQ(records, (std::vector<std::vector<int>>{{0}, {0}, {1}, {1}}));
    ASSERT_EQ(cells.size(), 30u) << "every field of both records once";
    EXPECT_EQ(cells[14], "0-15");
    EXPECT_EQ(cells[15], "1-1");
}
