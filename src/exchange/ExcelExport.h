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

class ExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes a workbook whose every cell is text: the heading in row 1, then rowCount rows that cellsOf
// fills one at a time (rows are written in order and not kept, so memory stays the same for any
// number of rows). The file is written beside the target under a temporary name and renamed over
// it at the end: a failure leaves the target as it was. Throws ExportError.
void writeTextWorkbook(const std::string& path, const std::vector<std::string>& heading, int rowCount,
                       const std::function<void(int row, std::vector<std::string>& cells)>& cellsOf,
                       const std::function<void(int rowsWritten)>& progress = {});

// The given columns of every row of a list, in the list's order: dates as the list holds them
// (yyyy-mm-dd, a time only when there is one), numbers in plain decimals, empty cells empty.
void exportDataSet(const db::DataSet& ds, const std::vector<std::string>& columns, const std::string& path,
                   const std::function<void(int rowsWritten)>& progress = {});

// 导出EXCEL文件 after the columns were chosen: on the personnel page, asks for the file and writes
// the employees the page shows. A failure is told with the notice the program has for it.
void exportEmployees(app::TDM& dm, const std::vector<std::string>& columns,
                     const std::function<void(int rowsWritten)>& progress = {});

}  // namespace rsgz::exchange
