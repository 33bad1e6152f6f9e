#include <gtest/gtest.h>

#include <QFile>

#include "print/PrintFonts.h"
#include "print/ReportDefinition.h"
#include "print/ReportFile.h"
#include "print/ReportPages.h"
#include "support/TempDir.h"

using namespace rsgz::print;
using rsgz::db::Value;

namespace {

// A definition in which every property differs from a new one, so a property the file forgets
// shows up as a difference after the round trip.
ReportDefinition everyPropertyChanged()
{
    ReportDefinition d = defaultDefinition();
    d.language = Language::English;
    d.reportSource = "Grid2";
    d.page = {2, 3, 11.5, 12.5, 13.5, 14.5, PageSize::Custom, 150.5, 120.25, Orientation::Landscape};
    FontSpec f{"黑体", 11.5, true, true, true, true, "#112233", 1};
    PenSpec pen{"#445566", 2.5, PenStyle::DashDot};
    d.bands.push_back({"明细尾 |RECORDCOUNT|", f, Alignment::Left, 3.5, BandType::DetailFooter});
    d.bands.push_back({"页眉", f, Alignment::Right, 1.5, BandType::PageHeader});
    d.bands.push_back({"明细头", f, Alignment::Center, 0.5, BandType::DetailHeader});
    d.colsTitle = {f, {"起止||单位", "第二行"}, false, 7.5, false, true, {FrameShape::TopLine, pen}, pen,
                   {"#778899", 3, PenStyle::Dot}};
    d.detail = {Arrange::Vertical, 6.5, f, 4.5, {FrameShape::LeftLine, pen}, {"#0000FF", 1, PenStyle::Dash}, pen};
    Column c;
    c.fieldName = "晋升后工资";
    c.width = 33;
    c.font = f;
    c.color = "#EEEEEE";
    c.alignment = Alignment::Right;
    c.format = "#,##0.00";
    c.title = {{"晋升后", "工资"}, f, "#DDDDDD", Alignment::Left};
    c.wrap = c.pagination = c.master = c.singleRow = true;
    c.expression = "SUM-SUM(晋升前工资)";
    d.columns = {c, columnForField("备注")};
    return d;
}

ReportTable salaryTable(int rows)
{
    ReportTable t;
    t.fields = {"序号", "晋升前工资", "晋升后工资", "备注"};
    for (int i = 1; i <= rows; ++i)
        t.rows.push_back({Value(i), Value(rsgz::db::Money::fromUnits(i * 10000)),
                          Value(rsgz::db::Money::fromUnits(i * 15000 + 1)), Value("第" + std::to_string(i) + "行")});
    return t;
}

std::vector<std::vector<std::string>> allTexts(const ReportLayout& l)
{
    std::vector<std::vector<std::string>> out;
    for (const ReportPage& p : l.pages) {
        out.emplace_back();
        for (const PageText& t : p.texts)
            out.back().push_back(t.text);
    }
    return out;
}

}  // namespace

TEST(ReportDefinitionTest, DefaultDefinitionHoldsTheStartingState)
{
    const ReportDefinition d = defaultDefinition();
    EXPECT_EQ(d.language, Language::Chinese);
    EXPECT_EQ(d.page.size, PageSize::A4);
    EXPECT_EQ(d.page.orientation, Orientation::Portrait);
    EXPECT_DOUBLE_EQ(pageWidthMm(d.page), 210);
    EXPECT_DOUBLE_EQ(pageHeightMm(d.page), 297);
    EXPECT_EQ(d.page.leftMargin + d.page.rightMargin + d.page.topMargin + d.page.bottomMargin, 40);
    EXPECT_EQ(d.page.pageStart + d.page.pageFinish, 0);
    EXPECT_EQ(d.reportSource, "DBGridSource1");
    EXPECT_TRUE(d.colsTitle.print && d.colsTitle.everyPage && !d.colsTitle.everyRow);
    EXPECT_EQ(d.detail.arrange, Arrange::Horizontal);
    EXPECT_EQ(d.detail.frame.shape, FrameShape::Box);
    EXPECT_EQ(d.detail.font.name, "MS Sans Serif");
    EXPECT_EQ(d.detail.font.size, 8);
    ASSERT_EQ(d.bands.size(), 2u);
    EXPECT_EQ(d.bands[0].text, "表格定义窗口标题");
    EXPECT_EQ(d.bands[0].type, BandType::ReportTitle);
    EXPECT_TRUE(d.bands[0].font.bold);
    EXPECT_EQ(d.bands[0].font.name, "宋体");
    EXPECT_EQ(d.bands[0].alignment, Alignment::Center);
    EXPECT_EQ(d.bands[1].text, "页码[|#|]");
    EXPECT_EQ(d.bands[1].type, BandType::PageFooter);
    EXPECT_EQ(d.bands[1].alignment, Alignment::Right);
    EXPECT_TRUE(d.columns.empty());
}

TEST(ReportDefinitionTest, EveryPropertyRoundTripsThroughTheFileAndGivesTheSamePages)
{
    rsgz::test::TempDir dir;
    const std::string path = dir.file("个人简历报表.dat");
    for (ReportDefinition d : {defaultDefinition(), everyPropertyChanged()}) {
        ASSERT_EQ(saveReportDefinition(d, path), "");
        const ReportFileResult r = loadReportDefinition(path);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.definition, d);
        const ReportTable t = salaryTable(70);
        EXPECT_EQ(allTexts(layoutReport(r.definition, t)), allTexts(layoutReport(d, t)));
    }
}

TEST(ReportDefinitionTest, DamagedFilesAreRefusedWithAMessage)
{
    rsgz::test::TempDir dir;
    const std::string good = reportDefinitionToText(everyPropertyChanged());
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string s = good;
        s.replace(s.find(from), from.size(), to);
        return s;
    };
    ReportDefinition wide = everyPropertyChanged();
    wide.columns.resize(1001);
    ReportDefinition square = everyPropertyChanged();
    square.page.width = square.page.height = 900;
    struct Case {
        std::string name, text, reason;
    };
    const std::vector<Case> cases = {
        {"garbage", std::string("\x00\x01TPF0\xff", 8), ""},
        {"truncated", good.substr(0, good.size() / 2), ""},
        {"another format", replaced("rsgz-report", "other"), ""},
        {"newer version", replaced("\"Version\": 1", "\"Version\": 9"), ""},
        {"unknown band type", replaced("\"PageHeader\"", "\"Sidebar\""), ""},
        {"zero font size", replaced("\"Size\": 11.5", "\"Size\": 0"), "字体大小"},
        // Sizes, positions and counts: the paper at most A0 either way, everything else within it.
        {"paper 19 km high", replaced("\"Height\": 150.5", "\"Height\": 19000000"), "纸张宽度或高度"},
        {"square beyond A0", reportDefinitionToText(square), "纸张宽度或高度"},
        {"page number no int holds", replaced("\"Pagestart\": 2", "\"Pagestart\": 1e300"), "起始页"},
        {"negative margin", replaced("\"LeftMargin\": 11.5", "\"LeftMargin\": -1"), "左边距"},
        {"margins wider than the page", replaced("\"LeftMargin\": 11.5", "\"LeftMargin\": 140"), "页边距"},
        {"column wider than A0", replaced("\"Width\": 33", "\"Width\": 5000"), "列宽度"},
        {"row space", replaced("\"Rowspace\": 7.5", "\"Rowspace\": 1e9"), "行距"},
        {"1001 columns", reportDefinitionToText(wide), "列的个数 1001"},
    };
    for (const auto& [name, text, reason] : cases) {
        const std::string path = dir.file(name + ".dat");
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.data(), static_cast<qint64>(text.size()));
        f.close();
        const ReportFileResult r = loadReportDefinition(path);
        EXPECT_FALSE(r.ok) << name;
        EXPECT_NE(r.error.find("无法读取"), std::string::npos) << name << ": " << r.error;
        EXPECT_NE(r.error.find(reason), std::string::npos) << name << ": " << r.error;
    }
    EXPECT_FALSE(loadReportDefinition(dir.file("missing.dat")).ok);
}

TEST(ReportDefinitionTest, AFailedSaveLeavesTheOldFile)
{
    rsgz::test::TempDir dir;
    const std::string path = dir.file("a.dat");
    ASSERT_EQ(saveReportDefinition(defaultDefinition(), path), "");
    EXPECT_NE(saveReportDefinition(everyPropertyChanged(), dir.file("no/such/dir/a.dat")), "");
    EXPECT_EQ(loadReportDefinition(path).definition, defaultDefinition());
}

TEST(PrintFontsTest, OldFamiliesBecomeTheInstalledCjkFamily)
{
    for (const char* old : {"MS Sans Serif", "ms sans serif", "宋体", "黑体", "SimSun", ""})
        EXPECT_EQ(installedFontFamily(old), kCjkFontFamily) << old;
    EXPECT_EQ(installedFontFamily("DejaVu Sans"), "DejaVu Sans");
}
