#pragma once
// The record rules bound as the program binds them at start: the modules' groups in module order.
// Header only, so that the benchmarks use the same chain without linking the test support.
#include "app/TDM.h"
#include "app/rules/RecordRules.h"
#include "payroll/PayrollRules.h"
#include "personnel/PersonnelRules.h"

namespace rsgz::test {

inline void bindRecordRules(app::TDM& dm)
{
    app::RecordRuleRegistry rules;
    personnel::addRecordRules(rules);
    payroll::addRecordRules(rules);
    rules.bind(dm);
}

}  // namespace rsgz::test
