#pragma once
#include <functional>
#include <string>
#include <vector>

#include "db/DataSet.h"

namespace rsgz::app {

class TDM;

// The record rules of the data module's shared datasets: defaults of a new row, checks before a
// post, questions before a delete, row numbers, status text, calculated columns and the windows a
// new row opens. The rules of the look-up lists and the rights guards are this layer's own; each
// module adds its rules itself (personnel::addRecordRules, payroll::addRecordRules), and the
// program, like every test fixture, adds the modules in their order and then binds:
//     app::RecordRuleRegistry rules;
//     personnel::addRecordRules(rules);
//     payroll::addRecordRules(rules);
//     rules.bind(dm);
// Bound once, right after the data module is created and before any of its datasets opens
// (calculated fields are declared here).
class RecordRuleRegistry {
public:
    using Binder = std::function<void(TDM&)>;

    // A module's group of rules, bound after the groups added before it.
    void add(Binder binder);

    // Row numbers and the look-up lists' rules first, then the modules' groups in the order added,
    // the rights guards last (they run before every other rule).
    void bind(TDM& dm) const;

private:
    std::vector<Binder> binders_;
};

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
