#pragma once
// The employees' contribution bases of a year read from a workbook (.xlsx, .xls): a heading row with
// 员工编号 and 社保基数 and/or 公积金基数 (年度 optional, else the year asked for), one employee a row.
#include <string>
#include <vector>

namespace rsgz::app {
class TDM;
}

namespace rsgz::payroll {

struct BaseImportResult {
    int written = 0;                  // employees whose bases were stored
    std::vector<std::string> refused; // "第n行 …": nothing is written when any row is refused
};

inline constexpr int kMaxBaseRows = 100000;

// Checks the whole file first (the columns, each row's employee, year and amounts as numbers, an
// employee given twice for a year), then stores every row in one transaction: a base the file
// leaves out keeps what was stored. Throws exchange::SourceError for a file that cannot be read.
BaseImportResult importBases(app::TDM& dm, const std::string& path, int year);

// 导入: checks the right, asks for the workbook, imports, tells the user what came of it.
void importBasesAsked(app::TDM& dm, int year);

}  // namespace rsgz::payroll
