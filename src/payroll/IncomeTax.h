#pragma once
#include <string>
#include <vector>

#include "db/Money.h"

namespace rsgz::db {
class Connection;
}

namespace rsgz::payroll {

// One row of 所得税设置. 结束额 is kept for the operator only: the bracket of an amount is the one
// with the largest 起始额 below it.
struct TaxBracket {
    db::Money start;     // 起始额, exclusive lower bound
    double rate = 0;     // 税率 in per cent
    db::Money deduction; // 速扣
};

// The bracket table as one salary view reads it: once per view, never per row.
class TaxBrackets {
public:
    TaxBrackets() = default;
    explicit TaxBrackets(std::vector<TaxBracket> brackets);
    static TaxBrackets read(db::Connection& conn);

    // The bracket for a taxable amount: the largest 起始额 strictly below it (a bracket starting at
    // the amount itself is the next one up). nullptr when none starts below it.
    const TaxBracket* bracketFor(db::Money taxable) const;
    bool empty() const { return brackets_.empty(); }

private:
    std::vector<TaxBracket> brackets_;  // by 起始额, ascending
};

// The income tax of a row: nothing up to the threshold; above it, the part above the threshold
// times the bracket's rate less its quick deduction. An amount with no bracket is taxed 0 and the
// calculation remembers it, so the view can say so once instead of failing on every row.
class IncomeTax {
public:
    explicit IncomeTax(TaxBrackets brackets) : brackets_(std::move(brackets)) {}
    db::Money taxOf(db::Money base, db::Money threshold);
    bool missedBracket() const { return missed_; }
    // The one warning a view shows when some row found no bracket.
    static const char* missingBracketWarning();

private:
    TaxBrackets brackets_;
    bool missed_ = false;
};

}  // namespace rsgz::payroll
