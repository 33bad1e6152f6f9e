#pragma once
#include <functional>
#include <string>

#include "db/DataSet.h"

namespace rsgz::app {

class TDM;

// Binds the record rules to every shared dataset of the data module: defaults of a new row, checks
// before a post, questions before a delete, row numbers, status text, calculated columns and the
// windows a new row opens. Called once, right after the data module is created and before any of
// its datasets opens (calculated fields are declared here).
void bindRecordRules(TDM& dm);

// Guards a dataset that a window owns (not one of the data module's) with a right, as the shared
// lists are guarded: without it no row is inserted, changed or deleted, and views show it read-only.
void guardWithRight(TDM& dm, db::DataSet& ds, const std::string& right);

// Adds a rule after those already bound to one rule point. Code that owns more of a dataset's
// behaviour (the payroll defaults of zt_mx and gzb, the piece and time wage pickers and amounts)
// extends the rules with this instead of replacing them.
void appendRule(std::function<void(db::DataSet&)>& point, std::function<void(db::DataSet&)> rule);
void appendRule(std::function<void(db::CalcRow&)>& point, std::function<void(db::CalcRow&)> rule);
// The same, before the rules bound there already.
void prependRule(std::function<void(db::DataSet&)>& point, std::function<void(db::DataSet&)> rule);

}  // namespace rsgz::app
