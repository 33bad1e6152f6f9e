#pragma once
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "db/Value.h"

namespace rsgz::exchange {

// A file that cannot be read as the kind it claims to be (damaged, locked, not that format). The
// message is Chinese and names the file or the part that failed; it reaches the user as it is.
class SourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One table or sheet of a source file, read whole: the first row's names and every row after it.
// Cells keep their kind: null for an empty cell, Int or Double for numbers, Text otherwise; a date
// arrives as ISO text (yyyy-mm-dd, with " hh:mm:ss" only when it has a time of day).
struct SourceTable {
    std::vector<std::string> columns;
    std::vector<std::vector<db::Value>> rows;  // each as long as columns
    // Where each row stands in the file, as the user counts there: a sheet's row number (the
    // heading is row 1), a text file's record number, a database table's record number.
    std::vector<int> lines;
};

// What the import needs of a file: its tables (sheets) and one of them with all its rows.
class SourceFile {
public:
    virtual ~SourceFile() = default;
    virtual std::vector<std::string> tables() = 0;
    virtual SourceTable read(const std::string& table) = 0;  // throws SourceError
};

// Opens a file by its suffix: .mdb and .accdb, .xls, .xlsx, .csv. Throws SourceError, also for a
// file that is missing or empty ("文件是空的"). Access databases and .xls workbooks are read by the
// reader process (ReaderProcess.h).
std::unique_ptr<SourceFile> openSourceFile(const std::string& path);
// The same, every format read in this process: what the reader process itself runs.
std::unique_ptr<SourceFile> openSourceFileHere(const std::string& path);

std::unique_ptr<SourceFile> openAccessFile(const std::string& path);
std::unique_ptr<SourceFile> openXlsFile(const std::string& path);
std::unique_ptr<SourceFile> openXlsxFile(const std::string& path);
std::unique_ptr<SourceFile> openCsvFile(const std::string& path);

// The text a cell becomes in a text column: numbers in plain decimals without an exponent and
// without a trailing ".0" (13800138000, 0.25), dates as they came, null as "".
std::string cellText(const db::Value& v);

// A date and time kept as a spreadsheet's day count (days since 1899-12-30, the fraction the time)
// as ISO text; empty when the number is no date the program can keep.
std::string serialDateText(double serial);

// Gives every column a name (a blank heading becomes "列n", n counted from 1), pads or cuts its
// rows to the columns' number, and numbers the rows that have no number yet.
void tidyTable(SourceTable& t);

}  // namespace rsgz::exchange
