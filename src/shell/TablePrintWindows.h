#pragma once
#include <string>
#include <vector>

#include "print/TableSource.h"

class QWidget;

namespace rsgz::shell {

// The table print entries of the 打印 menu (打印员工报表 … 打印工资条), each opening the preview
// 打印表格预览窗口 over its module's list, and the print range window 打印表格.
void registerTablePrintWindows();

// The columns of a module's grid in the order the user sees them, with their titles; empty when
// the main window shows no grid for the module.
std::vector<print::PrintItem> moduleGridColumns(int module);
// The payroll set chosen on the salary table page; empty when none.
std::string chosenPayrollSet();

}  // namespace rsgz::shell
