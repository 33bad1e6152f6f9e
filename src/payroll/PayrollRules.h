#pragma once
// The record rules the payroll module binds to the data module's datasets.
#include "app/TDM.h"
#include "app/rules/RecordRules.h"

namespace rsgz::payroll {

// Adds the payroll module's rules to the registry: bindPayrollRules, then bindPayrollSetRules.
void addRecordRules(app::RecordRuleRegistry& rules);

// The payroll sets, their items, the salary rows, tax brackets, work lists and grade values.
void bindPayrollRules(app::TDM& dm);
// Soundness of the payroll sets and items (numbers, codes, names in use, formulas).
void bindPayrollSetRules(app::TDM& dm);

}  // namespace rsgz::payroll
