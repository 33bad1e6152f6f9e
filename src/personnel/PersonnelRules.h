#pragma once
// The record rules the personnel module binds to the data module's datasets.
#include "app/TDM.h"
#include "app/rules/RecordRules.h"

namespace rsgz::personnel {

// Adds the personnel module's rules to the registry: bindPersonnelRules, then bindModuleRules.
void addRecordRules(app::RecordRuleRegistry& rules);

// The employee list and the records kept about each employee.
void bindPersonnelRules(app::TDM& dm);
// The lists of the module pages: courses, transfers, articles and their issue, evaluations.
void bindModuleRules(app::TDM& dm);

}  // namespace rsgz::personnel
