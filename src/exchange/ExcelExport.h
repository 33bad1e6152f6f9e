#pragma once
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace rsgz::app {
class TDM;
}
namespace rsgz::db {
class DataSet;
}

namespace rsgz::exchange {

// A workbook that could not be written. The message is Chinese and names the file; a full disk
// says "磁盘空间不足".
class ExportError : public std::runtime_error {
public:
    explicit ExportError(const std::string& message, bool diskFull = false)
        : std::runtime_error(message), diskFull_(diskFull) {}
    bool diskFull() const { return diskFull_; }

private:
    bool diskFull_;
};

// Writes a workbook whose every cell is text: the heading in row 1, then rowCount rows that cellsOf
// fills one at a time (rows are written in order and not kept, so memory stays the same for any
// number of rows). The file is written beside the target under a temporary name and renamed over
// it at the end: a failure leaves the target as it was. The finished file has the permissions of
// any new file (the umask's). Temporaries that an export killed half way left in the folder are
// removed first. Throws ExportError.
void writeTextWorkbook(const std::string& path, const std::vector<std::string>& heading, int rowCount,
                       const std::function<void(int row, std::vector<std::string>& cells)>& cellsOf,
                       const std::function<void(int rowsWritten)>& progress = {});

// The same straight into file, with no temporary and no rename: messages name shownName.
void writeWorkbookFile(const std::string& file, const std::string& shownName, const std::vector<std::string>& heading,
                       int rowCount, const std::function<void(int row, std::vector<std::string>& cells)>& cellsOf,
                       const std::function<void(int rowsWritten)>& progress = {});

// One sheet of a workbook that writeWorkbook writes: its name (empty: the writer's own), the heading
// in row 1 and rowCount rows that cellsOf fills one at a time. A column marked in numeric takes its
// cells as numbers when they are plain decimals ("1234.5", "-3"), shown with two decimals; any other
// cell, and every cell of the other columns, is text.
struct SheetContent {
    std::string name;
    std::vector<std::string> heading;
    std::vector<bool> numeric;  // by column; shorter than the heading: the rest is text
    int rowCount = 0;
    std::function<void(int row, std::vector<std::string>& cells)> cellsOf;
};

// The sheets in order into one workbook, under a temporary name and renamed over path at the end,
// as writeTextWorkbook does. progress hears the rows written over all sheets.
void writeWorkbook(const std::string& path, const std::vector<SheetContent>& sheets,
                   const std::function<void(int rowsWritten)>& progress = {});

// Removes what a killed export leaves in folder: files named like a workbook with the temporary
// suffix ("名单.xlsx.a1B2c3") that no running export holds. Gives how many went.
int removeStaleTemporaries(const std::string& folder);

// The given columns of every row of a list, in the list's order: dates as the list holds them
// (yyyy-mm-dd, a time only when there is one), numbers in plain decimals, empty cells empty.
void exportDataSet(const db::DataSet& ds, const std::vector<std::string>& columns, const std::string& path,
                   const std::function<void(int rowsWritten)>& progress = {});

// 导出EXCEL文件 after the columns were chosen: on the personnel page, asks for the file and writes
// the employees the page shows, then says where and how many. A failure is told with the notice
// the program has for it. finished is heard when the writing has stopped, before any notice (the
// progress window closes then).
void exportEmployees(app::TDM& dm, const std::vector<std::string>& columns,
                     const std::function<void(int rowsWritten)>& progress = {},
                     const std::function<void()>& finished = {});

}  // namespace rsgz::exchange
