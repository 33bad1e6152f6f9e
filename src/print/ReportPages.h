#pragma once
#include <string>
#include <vector>

#include "print/ReportDefinition.h"
#include "print/ReportTable.h"

namespace rsgz::print {

// The pages of a report, computed from a definition and the grid's rows before anything is
// drawn: texts in boxes and lines, in millimetres from the paper's top left corner. The screen,
// the printer and the PDF writer only paint what is here, so they always show the same pages.

enum class TextRole { Band, TitleArray, ColumnTitle, Cell, Group, Total };

struct PageText {
    double x = 0, y = 0, w = 0, h = 0;
    std::string text;
    FontSpec font;
    Alignment alignment = Alignment::Left;
    bool wrap = false;
    // A number: printed in a smaller size when it is wider than its box, never cut. Other text
    // keeps its size and is cut at the box.
    bool shrinkToFit = false;
    std::string background;  // empty: none
    TextRole role = TextRole::Cell;
};

struct PageLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    PenSpec pen;
};

struct ReportPage {
    int number = 1;
    std::vector<PageText> texts;
    std::vector<PageLine> lines;
    std::vector<int> records;  // the grid rows printed on this page, in order

    std::vector<std::string> textsOf(TextRole role) const;
};

struct ReportLayout {
    double widthMm = 210, heightMm = 297;
    std::vector<ReportPage> pages;  // at least one
};

// Rows, in the grid's order; a definition without columns prints every column of the grid.
ReportLayout layoutReport(const ReportDefinition& def, const ReportTable& table);

// Band text with |#| replaced by the page number and |RECORDCOUNT| by the number of records.
std::string bandText(const std::string& text, int pageNumber, int recordCount);

// 0-based first and last page to print by the page range: 0 to 0 (or a range outside the report)
// prints everything; a finish of 0 prints to the end.
std::pair<int, int> pageRange(const PageSetup& page, int pageCount);

// Height of one text line of a font, and the width a text needs, in millimetres (the layout's
// measure; CJK characters are square, others about half as wide).
double lineHeightMm(const FontSpec& font);
double textWidthMm(const std::string& text, const FontSpec& font);

// Whether a cell's text is a number as printed: digits with a sign, decimal point, grouping,
// percent, currency sign or exponent ("19996", "-1,234.50", "¥12.00", "1.5E+03", "12%"), or a
// date written in digits ("2024-03-01"). A cut-off digit would print a wrong value.
bool isNumberText(const std::string& text);

}  // namespace rsgz::print
