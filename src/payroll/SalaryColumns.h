#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace rsgz::payroll {

// The 39 money columns of 工资表 that hold a set's items, "gz01" … "gz39".
const std::vector<std::string>& salaryCodes();
// The code as stored (lower case, two digits) when the text names one of the 39 columns ignoring
// the case of its letters; empty otherwise.
std::string normalSalaryCode(std::string_view text);

// The numeric columns of 工资表 a formula may read: the 39 codes and 出勤天数. The column's stored
// name, or empty when the text names none of them (Latin letters compare without case).
std::string formulaColumn(std::string_view name);

}  // namespace rsgz::payroll
