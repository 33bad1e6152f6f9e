#pragma once
// The figures of the month's withholding declaration, read from the salary rows of every set paid
// that month (through each set's salary view, so formula items count as the view shows them), the
// item kinds, the declared deductions and the per-year choices.
#include <string>

#include "payroll/WithholdingDeclaration.h"

namespace rsgz::app {
class TDM;
}
namespace rsgz::db {
class Connection;
}

namespace rsgz::payroll {

// One line per employee with a salary row in the month, in the order of the employee numbers. The
// items of kind 收入 make 本期收入, 免税收入 本期免税收入, the contribution kinds their columns, 其他扣除 the
// column 其他; 全年一次性奖金 goes to the bonus sheet when the withholding taxed it on its own (a set
// withholding cumulatively, the employee's choice of the year, the first bonus of the year), else it
// is declared with the wages. The special additional deductions are summed from the first month employed to this month.
Declaration gatherDeclaration(db::Connection& conn, int year, int month);

// 生成申报表: checks the right, gathers the month, refuses naming every employee without a sound ID
// number, else asks for the file and writes it, then says where and how many.
void declareMonthAsked(app::TDM& dm, int year, int month);

}  // namespace rsgz::payroll
