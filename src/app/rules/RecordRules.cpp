#include "app/rules/RecordRules.h"

#include <algorithm>
#include <string_view>

#include "app/TDM.h"
#include "app/rules/RuleHelpers.h"

namespace rsgz::app {
using namespace rsgz::db;

namespace {

// Binds rule at point, after what is bound there already (or before it, when early).
template <class Arg>
void chain(std::function<void(Arg&)>& point, std::function<void(Arg&)> rule, bool early = false)
{
    if (!point) {
        point = std::move(rule);
        return;
    }
    if (early) std::swap(point, rule);
    point = [first = std::move(point), second = std::move(rule)](Arg& a) {
        first(a);
        second(a);
    };
}

// The logged-in operator's row, the sort settings and the scratch look-ups show no row number.
bool numbersRows(const DataSet& ds)
{
    static constexpr std::string_view without[] = {"zh", "s1", "s2", "s3", "s4", "s5", "search_zt", "pxb"};
    return std::ranges::find(without, ds.name()) == std::end(without);
}

}  // namespace

void appendRule(std::function<void(DataSet&)>& point, std::function<void(DataSet&)> rule)
{
    chain(point, std::move(rule));
}

void appendRule(std::function<void(CalcRow&)>& point, std::function<void(CalcRow&)> rule)
{
    chain(point, std::move(rule));
}

void prependRule(std::function<void(DataSet&)>& point, std::function<void(DataSet&)> rule)
{
    chain(point, std::move(rule), true);
}

void RecordRuleRegistry::add(Binder binder) { binders_.push_back(std::move(binder)); }

void RecordRuleRegistry::bind(TDM& dm) const
{
    for (DataSet* ds : dm.allDataSets())
        if (numbersRows(*ds)) ds->setRowNumberField(true);
    rules::bindLookupRules(dm);
    for (const Binder& binder : binders_) binder(dm);
    rules::bindRightsGuards(dm);
}

}  // namespace rsgz::app
