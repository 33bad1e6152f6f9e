#pragma once
#include <string>
#include <vector>

namespace rsgz::print {

// A report definition: everything the report engine needs to turn the rows of a grid into pages.
// Lengths of the page, Width of a column, Space below a band and Top above the detail are
// millimetres; Rowspace is points of room added to the height of a title or detail line.

enum class Alignment { Left, Right, Center };
enum class PenStyle { Solid, Dash, Dot, DashDot, None };
enum class FrameShape { None, Box, BottomLine, LeftLine, RightLine, TopLine };
enum class BandType { ReportTitle, DetailHeader, DetailFooter, PageHeader, PageFooter };
enum class PageSize { A3, A4, A5, B4, B5, CSheet, Custom, Default, Executive, Letter };
enum class Orientation { Portrait, Landscape };
enum class Arrange { Horizontal, Vertical };
enum class Language { English, Chinese };

struct FontSpec {
    std::string name = "MS Sans Serif";
    double size = 8.0;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::string color = "#000000";
    int charset = 134;  // the GB2312 character set number old definitions carry
    bool operator==(const FontSpec&) const = default;
};

struct PenSpec {
    std::string color = "#000000";
    double width = 1.0;  // device-independent: 1 is a hairline of about 0.2 mm
    PenStyle style = PenStyle::Solid;
    bool operator==(const PenSpec&) const = default;
};

struct FrameSpec {
    FrameShape shape = FrameShape::Box;
    PenSpec pen;
    bool operator==(const FrameSpec&) const = default;
};

struct PageSetup {
    int pageStart = 0, pageFinish = 0;  // 0 to 0: every page
    double leftMargin = 10, rightMargin = 10, topMargin = 10, bottomMargin = 10;
    PageSize size = PageSize::A4;
    double height = 297, width = 210;  // millimetres; used with PageSize::Custom
    Orientation orientation = Orientation::Portrait;
    bool operator==(const PageSetup&) const = default;
};

struct Band {
    std::string text;  // |#| stands for the page number, |RECORDCOUNT| for the number of records
    FontSpec font;
    Alignment alignment = Alignment::Left;
    double space = 2.0;
    BandType type = BandType::ReportTitle;
    bool operator==(const Band&) const = default;
};

struct ColumnTitleRow {
    FontSpec font;
    std::vector<std::string> titleArray;  // header lines above the column titles; see ReportPages
    bool print = true;
    double rowSpace = 5.0;
    bool everyPage = true;
    bool everyRow = false;
    FrameSpec frame;
    PenSpec colsLine, rowsLine;
    bool operator==(const ColumnTitleRow&) const = default;
};

struct DetailSection {
    Arrange arrange = Arrange::Horizontal;
    double rowSpace = 5.0;
    FontSpec font;
    double top = 0.0;
    FrameSpec frame;
    PenSpec colsLine, rowsLine;
    bool operator==(const DetailSection&) const = default;
};

struct ColumnTitle {
    std::vector<std::string> text;  // one entry per line
    FontSpec font;
    std::string color = "#FFFFFF";
    Alignment alignment = Alignment::Center;
    bool operator==(const ColumnTitle&) const = default;
};

struct Column {
    std::string fieldName;
    int width = 25;
    FontSpec font;
    std::string color = "#FFFFFF";  // cell background
    Alignment alignment = Alignment::Left;
    std::string format;  // "0.00", "0", "#,##0.00", "yyyy-mm-dd"; empty prints the value as stored
    ColumnTitle title;
    bool wrap = false;            // Autoreturn.Enabled
    bool pagination = false;      // Autoreturn.Pagination
    bool master = false;          // MasterOption.Master: printed once while the value repeats
    bool singleRow = false;       // MasterOption.SingleRow: a master value on a row of its own
    std::string expression;       // MasterOption.Expression: COUNT, SUM, AVG with + - * /
    bool operator==(const Column&) const = default;
};

struct ReportDefinition {
    Language language = Language::Chinese;
    std::string reportSource = "DBGridSource1";
    PageSetup page;
    std::vector<Band> bands;
    ColumnTitleRow colsTitle;
    DetailSection detail;
    std::vector<Column> columns;
    bool operator==(const ReportDefinition&) const = default;
};

// The engine's state when the program starts.
ReportDefinition defaultDefinition();
// A definition for a grid that has no file yet: the first band reads "表格标题" and there are no
// columns; everything else stays as the engine holds it.
void startNewDefinition(ReportDefinition& def);
// A column for a field of the grid with its name as the title.
Column columnForField(const std::string& fieldName);

// Page width and height in millimetres after the orientation (Default is taken as A4).
double pageWidthMm(const PageSetup& page);
double pageHeightMm(const PageSetup& page);

}  // namespace rsgz::print
