#pragma once
#include <string>
#include <vector>

#include "db/Money.h"
#include "print/ReportPages.h"
#include "print/TableLayout.h"
#include "print/TableSource.h"

namespace rsgz::print {

// Why a layout cannot be printed (no room for a data row or a pay slip on the page, or a size
// outside its range: TableLayout::rangeProblem); empty when it can.
std::string layoutProblem(const TableLayout& layout);

// Pixels per millimetre of the 100 % preview; title positions are kept in these.
inline constexpr double kPreviewPixelsPerMm = 3.78;

// The pages of a printed table: a ruled table with a header row, or pay slips (every record with
// its own header row) when the layout says so. Pages are made one at a time, when they are shown
// or printed, so a long list opens at once. Positions of the pages are millimetres.
class TablePrinter {
public:
    // The layout must have no layoutProblem.
    TablePrinter(const TableLayout& layout, const TableSource& source);

    const TableLayout& layout() const { return layout_; }
    // Grid rows between the first and the last horizontal line (header row included) of a table page.
    int gridRows() const { return gridRows_; }
    int rowsPerPage() const { return perPage_; }  // data rows, or pay slips
    int pageCount() const;                        // 0 without records
    double pageWidthMm() const { return layout_.pageWidth() / 10.0; }
    double pageHeightMm() const { return layout_.pageHeight() / 10.0; }

    // Page number is 1-based. While titles are being placed, the page shows no titles and no rows.
    ReportPage page(int number, bool placingTitles = false) const;

    // The pay slip of one record (0-based row) alone on a page, with the titles.
    ReportPage slipOf(int row) const;

    // Sums of the sum-flagged number columns over every row (zero elsewhere), by table column.
    const std::vector<db::Money>& grandTotals() const;

    static std::string pageNumberText(int page, int count);

private:
    ReportPage tablePage(int number, bool placingTitles) const;
    ReportPage stubPage(int first, int end, bool placingTitles) const;
    void addTitles(ReportPage& page) const;
    void addPageNumber(ReportPage& page, int number) const;
    void addGrid(ReportPage& page, int top, int rows) const;
    void addRow(ReportPage& page, int top, const std::vector<std::string>& texts, bool header) const;
    std::vector<std::string> rowTexts(int row) const;
    std::vector<std::string> sumTexts(const std::vector<db::Money>& sums, const char* label) const;
    std::vector<db::Money> sums(int firstRow, int endRow) const;
    bool summed(size_t column) const;
    bool numberAt(int row, int field, db::Money* out, bool shown = false) const;

    const TableLayout& layout_;
    const TableSource& source_;
    std::vector<int> fields_;  // by table column, -1 when its item names no data column
    bool anySum_ = false;
    int gridRows_ = 0, perPage_ = 0;
    mutable std::vector<db::Money> totals_;
    mutable bool totalsDone_ = false;
};

}  // namespace rsgz::print
