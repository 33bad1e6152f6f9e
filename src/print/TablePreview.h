#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "print/PrintRange.h"
#include "print/TableLayout.h"
#include "print/TablePages.h"
#include "print/TableSource.h"

namespace rsgz::print {

// The module of a table print entry (打印员工报表 …), 0 for other texts.
int tablePrintModule(const std::string& entry);
// The layout file below set/ of a table print entry; the salary table's is named after the payroll
// set, made safe for a file name. Empty for other texts.
std::string tableLayoutFile(const std::string& entry, const std::string& payrollSet = {});
// A name with every character a file name cannot hold (\ / : * ? " < > | and control characters)
// replaced by "_"; never empty, "." or "..".
std::string safeFileNamePart(const std::string& name);

// What the preview 打印表格预览窗口 does, without its window: the layout of one report, its pages,
// the page shown, title placement and the print range.
class TablePreview {
public:
    // layoutFile is below programDir/set/. The source and the titles of its grid must outlive it.
    TablePreview(std::string programDir, std::string layoutFile, const TableSource& source,
                 std::vector<std::string> gridTitles);

    // Reads the layout, or makes the default one when the file does not exist. A damaged file is
    // said with the reason and the default layout is offered (the damaged file is kept beside it
    // as <name>.损坏); false when the user declines, and the preview does not open.
    bool open();
    // Writes the layout file; false (said to the user) when it cannot be written.
    bool save();

    TableLayout& layout() { return layout_; }
    const TablePrinter& printer() const { return *printer_; }
    const std::vector<std::string>& gridTitles() const { return gridTitles_; }
    std::string layoutPath() const { return programDir_ + "set/" + layoutFile_; }

    int currentPage() const { return current_; }
    int pageCount() const { return printer_->pageCount(); }
    bool placingTitles() const { return placing_; }
    ReportPage shownPage() const { return printer_->page(current_, placing_); }

    void priorPage();
    void nextPage();
    void goToPage(int page);
    // 刷新预览: leaves title placement and saves the layout.
    void refresh();
    // After the designer: the layout is taken again (pages, page count) and saved, and titles are placed.
    void designed();
    // A title dragged while placing titles, in pixels of the 100 % preview.
    void moveTitle(int index, int x, int y);

    // A file name for the pay slip of every record: employee number and name, made safe for a file
    // name and unique (a second slip of the same employee gets "_2"), with ".pdf".
    std::vector<std::string> slipFileNames() const;

    // 打印: asks for the range through the window 打印表格 and returns the pages to print (1-based,
    // inclusive). Empty when the window was closed or cancelled or no page is in the range.
    std::optional<std::pair<int, int>> askPrintRange();

private:
    void rebuild();
    bool useDefault(const std::string& why);

    std::string programDir_, layoutFile_;
    const TableSource& source_;
    std::vector<std::string> gridTitles_;
    TableLayout layout_;
    std::unique_ptr<TablePrinter> printer_;
    int current_ = 1;
    bool placing_ = false;
};

}  // namespace rsgz::print
