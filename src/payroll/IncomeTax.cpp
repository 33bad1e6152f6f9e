#include "payroll/IncomeTax.h"

#include <algorithm>

#include "db/Connection.h"
#include "db/DataSet.h"

namespace rsgz::payroll {

using db::Money;

TaxBrackets::TaxBrackets(std::vector<TaxBracket> brackets) : brackets_(std::move(brackets))
{
    std::stable_sort(brackets_.begin(), brackets_.end(),
                     [](const TaxBracket& a, const TaxBracket& b) { return a.start < b.start; });
}

TaxBrackets TaxBrackets::read(db::Connection& conn)
{
    db::DataSet ds(&conn, "sds_read", {"select 起始额, 税率, 速扣 from 所得税设置"});
    ds.open();
    std::vector<TaxBracket> rows;
    for (ds.first(); !ds.eof(); ds.next())
        rows.push_back({Money::fromDouble(ds.asDouble("起始额")), ds.asDouble("税率"),
                        Money::fromDouble(ds.asDouble("速扣"))});
    return TaxBrackets(std::move(rows));
}

const TaxBracket* TaxBrackets::bracketFor(Money taxable) const
{
    // Compared as money, so an amount equal to a bound on screen is equal here too.
    const auto above = std::lower_bound(brackets_.begin(), brackets_.end(), taxable,
                                        [](const TaxBracket& b, Money t) { return b.start < t; });
    return above == brackets_.begin() ? nullptr : &*std::prev(above);
}

Money IncomeTax::taxOf(Money base, Money threshold)
{
    if (base <= threshold) return Money();
    const Money taxable = base - threshold;
    const TaxBracket* bracket = brackets_.bracketFor(taxable);
    if (!bracket) {
        missed_ = true;
        return Money();
    }
    return taxable * (bracket->rate / 100.0) - bracket->deduction;
}

const char* IncomeTax::missingBracketWarning()
{
    return "所得税设置中没有适用的税率档次，这些员工的所得税按0计算。";
}

}  // namespace rsgz::payroll
