#include "payroll/YearToDate.h"

#include <algorithm>

namespace rsgz::payroll::tax {

PayFigures& PayFigures::operator+=(const PayFigures& o)
{
    income = income + o.income;
    taxFree = taxFree + o.taxFree;
    pension = pension + o.pension;
    medical = medical + o.medical;
    unemployment = unemployment + o.unemployment;
    housingFund = housingFund + o.housingFund;
    otherItems = otherItems + o.otherItems;
    bonus = bonus + o.bonus;
    return *this;
}

namespace {

Money& add(Money& to, Money amount) { return to = to + amount; }

// The declared deductions up to the month, into the figures' totals and categories.
void addDeclared(const EmployeeYear& y, int firstMonth, int month, bool details, CumulativeFigures& f)
{
    for (const AdditionalDeduction& d : y.additional) {
        const Money amount = additionalDeducted(d, y.year, firstMonth, month);
        if (amount == Money()) continue;
        if (details) add(f.additionalByCategory[d.category], amount);
        add(f.additional, amount);
    }
    for (const auto& [m, categories] : y.other) {
        if (m > month) break;
        for (const auto& [category, amount] : categories) {
            add(category == kRelief ? f.relief : f.other, amount);
            if (details) add(f.otherByCategory[category], amount);
        }
    }
}

}  // namespace

CumulativeFigures YearWalk::apply(const PayUnit& unit, bool details)
{
    const EmployeeYear& y = *year_;
    CumulativeFigures f;
    f.month = unit.month;
    f.set = unit.set;
    f.pay = unit.pay;
    // The bonus is taxed on its own once a year, in the first month it is paid, when so chosen; any
    // other bonus is part of the wages.
    PayFigures wages = unit.pay;
    if (unit.cumulative && wages.bonus != Money() && y.choices.bonusOnItsOwn && !state_.bonusTaken) {
        state_.bonusTaken = true;
        f.bonusOnItsOwn = true;
        f.bonusTax = bonusTaxOnItsOwn(wages.bonus).tax;
        if (details) f.bonusWarning = bonusWarning(wages.bonus);
    } else {
        wages.income = wages.income + wages.bonus;
    }
    PayFigures& total = state_.total;
    total += wages;

    const int first = y.choices.firstMonth > 0 ? y.choices.firstMonth : y.firstMonth;
    f.income = total.income;
    f.taxFree = total.taxFree;
    f.special = total.special();
    f.other = total.otherItems;
    if (details && total.otherItems != Money()) f.otherByCategory[kKindOtherDeduction] = total.otherItems;
    f.basicDeduction = basicDeduction(first, unit.month, y.choices.sixtyThousand);
    addDeclared(y, first, unit.month, details, f);

    CumulativeInput in{f.income, f.taxFree, f.basicDeduction, f.special, f.additional, f.other, f.relief,
                       state_.withheld};
    const CumulativeResult r = cumulativeWithholding(in);
    f.taxable = r.taxable;
    f.percent = r.percent;
    f.quickDeduction = r.quickDeduction;
    f.taxDue = r.taxDue;
    f.withheld = state_.withheld;
    if (unit.cumulative && !unit.closed) {
        f.wageTax = r.tax;
        f.tax = f.wageTax + f.bonusTax;
    } else {
        // What was withheld stands: the stored tax of a closed row, the month table's tax of a set
        // that still taxes by month.
        f.tax = unit.tax;
        f.wageTax = std::max(Money(), unit.tax - f.bonusTax);
    }
    state_.withheld = state_.withheld + f.wageTax;
    return f;
}

std::vector<CumulativeFigures> walkYear(const EmployeeYear& year, std::vector<PayUnit> units)
{
    std::stable_sort(units.begin(), units.end(), [](const PayUnit& a, const PayUnit& b) {
        return a.month != b.month ? a.month < b.month : a.setOrder < b.setOrder;
    });
    YearWalk walk(&year);
    std::vector<CumulativeFigures> out;
    out.reserve(units.size());
    for (const PayUnit& u : units) out.push_back(walk.apply(u));
    return out;
}

// --- reading ----------------------------------------------------------------------------------------

CumulativeFigures YearToDate::withRow(const std::string& employee, const PayUnit& row) const
{
    const auto found = employees_.find(employee);
    if (found == employees_.end()) return YearWalk(&empty_).apply(row);
    return YearWalk(&found->second.year, found->second.after).apply(row);
}

CumulativeFigures YearToDate::withRowAmong(const std::string& employee, const PayUnit& row) const
{
    const auto found = employees_.find(employee);
    if (found == employees_.end()) return YearWalk(&empty_).apply(row);
    YearWalk walk(&found->second.year);
    for (const PayUnit& u : found->second.units) {
        if (u.month > row.month || (u.month == row.month && u.setOrder >= row.setOrder)) break;
        walk.apply(u, false);
    }
    return walk.apply(row);
}

std::vector<CumulativeFigures> YearToDate::walked(const std::string& employee) const
{
    const auto found = employees_.find(employee);
    if (found == employees_.end()) return {};
    return walkYear(found->second.year, found->second.units);
}

std::vector<std::string> YearToDate::employees() const
{
    std::vector<std::string> out;
    out.reserve(employees_.size());
    for (const auto& [no, e] : employees_) out.push_back(no);
    std::sort(out.begin(), out.end());
    return out;
}

int YearToDate::setOrder(const std::string& set) const
{
    const auto f = setOrder_.find(set);
    return f == setOrder_.end() ? static_cast<int>(setOrder_.size()) : f->second;
}

const EmployeeYear& YearToDate::yearOf(const std::string& employee) const
{
    const auto found = employees_.find(employee);
    return found == employees_.end() ? empty_ : found->second.year;
}

}  // namespace rsgz::payroll::tax
