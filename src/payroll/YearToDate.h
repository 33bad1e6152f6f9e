#pragma once
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "payroll/TaxLaw.h"

namespace rsgz::db {
class Connection;
}

// Cumulative withholding over a tax year: the pay of every salary row of the year, walked in order
// (month, then set), and the figures after each row.
namespace rsgz::payroll::tax {

// One employee's pay of one month from one set, summed by what the set's items are for.
struct PayFigures {
    Money income, taxFree, pension, medical, unemployment, housingFund, otherItems, bonus;
    Money special() const { return pension + medical + unemployment + housingFund; }
    PayFigures& operator+=(const PayFigures& o);
};

// Which columns of a set's salary rows hold what the withholding sums, by the items' kinds. A set
// whose items name no 收入 takes its tax item's base as the income.
struct SetKinds {
    enum Measure { Income, TaxFree, Pension, Medical, Unemployment, HousingFund, OtherItems, Bonus, Tax, MeasureCount };
    std::string set;
    bool cumulative = true;  // the set's tax method
    std::vector<std::string> columns[MeasureCount];

    // A row's figures from its displayed values by column.
    PayFigures payOf(const std::function<Money(const std::string&)>& valueOf) const;
    static PayFigures figuresFrom(const Money (&values)[MeasureCount]);
};
SetKinds readSetKinds(db::Connection& conn, const std::string& set);
// The same when the caller knows the set's tax column and its base (the salary view as it builds).
SetKinds readSetKinds(db::Connection& conn, const std::string& set, const std::string& taxColumn,
                      const std::string& taxBaseColumn);

// One employee's salary of one month from one set, as the walk takes it.
struct PayUnit {
    int month = 0;
    int setOrder = 0;  // sets paid in the same month are walked in this order (帐套.编号)
    std::string set;
    PayFigures pay;
    bool closed = false;
    // A closed row: the tax stored at closing (wages and a bonus taxed on its own together). A row
    // of a set that taxes by month: its tax, stored or as computed, which the walk takes as it is.
    Money tax;
    bool cumulative = true;
};

// What an employee's year holds besides the salary rows.
struct EmployeeYear {
    int year = 0;
    int firstMonth = 1;  // the first month employed in the year (入职日期 or the override); 13: none
    YearChoices choices;
    std::vector<AdditionalDeduction> additional;
    MonthlyCategories other;  // other lawful deductions and 减免税额 by month
};

// The figures after one unit: what the salary card shows for its row, what the declaration lists.
struct CumulativeFigures {
    int month = 0;
    std::string set;
    PayFigures pay;  // the unit's own
    // Summed from January to the unit.
    Money income, taxFree, basicDeduction, special, additional, other, relief;
    std::map<std::string, Money> additionalByCategory, otherByCategory;
    Money taxable;
    int percent = 0;
    Money quickDeduction, taxDue;
    Money withheld;  // 累计已缴税额: the wage tax of the units before
    Money wageTax;   // 本期税额 of the wages
    bool bonusOnItsOwn = false;
    Money bonusTax;  // a bonus taxed on its own
    Money tax;       // the unit's whole tax: wageTax + bonusTax
    std::string bonusWarning;
};

// What the walk carries from one unit to the next.
struct WalkState {
    PayFigures total;          // the wages so far (a bonus taxed on its own apart)
    Money withheld;            // the wage tax so far
    bool bonusTaken = false;   // the bonus may be taxed on its own once a year
};

// Walks an employee's units; each call takes the next unit in (month, set order).
class YearWalk {
public:
    explicit YearWalk(const EmployeeYear* year, WalkState state = {}) : year_(year), state_(std::move(state)) {}
    // Without details the figures leave out the categories (the walk through earlier months).
    CumulativeFigures apply(const PayUnit& unit, bool details = true);
    const WalkState& state() const { return state_; }

private:
    const EmployeeYear* year_;
    WalkState state_;
};

// Every unit of an employee walked in order.
std::vector<CumulativeFigures> walkYear(const EmployeeYear& year, std::vector<PayUnit> units);

// The year-to-date figures of many employees for one month, read in one grouped query over the
// year's salary rows of every set: closed rows with their stored figures and tax, an open row as
// the salary view computes it (the months still open are named).
class YearToDate {
public:
    // Everything of the year before `month`, and the month's rows of the sets before `set`
    // (set empty: every row of the month). Employees empty: all.
    static YearToDate read(db::Connection& conn, int year, int month, const std::string& set = {},
                           const std::vector<std::string>& employees = {});

    // The figures of the employee's row of `set` in the month, after what was read.
    CumulativeFigures withRow(const std::string& employee, const PayUnit& row) const;
    // The same from a read of a later month (a view of many months): the units before the row's
    // month and set are walked, the row's own unit of what was read gives way to `row`.
    CumulativeFigures withRowAmong(const std::string& employee, const PayUnit& row) const;
    // The units read for an employee, walked (the tax register, the declaration).
    std::vector<CumulativeFigures> walked(const std::string& employee) const;
    std::vector<std::string> employees() const;
    // "2026年03月（帐套“管理”）" for every earlier month with a row not yet closed.
    const std::vector<std::string>& openMonths() const { return openMonths_; }
    struct OpenMonth {
        int month = 0;
        std::string set;
    };
    // The same as data, in the same order.
    const std::vector<OpenMonth>& openGroups() const { return openGroups_; }
    // The set's position among the sets, for PayUnit::setOrder.
    int setOrder(const std::string& set) const;

    const EmployeeYear& yearOf(const std::string& employee) const;

private:
    struct Employee {
        EmployeeYear year;
        std::vector<PayUnit> units;
        WalkState after;  // the state after every unit read
    };
    int year_ = 0, month_ = 0;
    std::unordered_map<std::string, Employee> employees_;
    std::map<std::string, int> setOrder_;
    std::vector<std::string> openMonths_;
    std::vector<OpenMonth> openGroups_;
    EmployeeYear empty_;
    friend class YearToDateReader;
};

}  // namespace rsgz::payroll::tax
