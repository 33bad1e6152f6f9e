#pragma once
#include <string>
#include <vector>

#include "db/Money.h"
#include "db/SqlText.h"
#include "payroll/Formula.h"
#include "payroll/IncomeTax.h"

namespace rsgz::payroll {

// One item of a payroll set as the salary view uses it.
struct SalaryItem {
    std::string code;     // gz01 … gz39
    std::string name;     // 工资项目, the column title
    std::string formula;  // 计算公式, empty for an entered item
    bool taxFlag = false; // 是否所得税
    db::Money threshold;  // 个税起征点
    std::string taxLink;  // 个税关联: the name of the item the tax is taken from
};

// A column the program computes for every row, in the order the steps are taken: whatever a step
// reads of another computed column has been computed before it.
struct CalculationStep {
    enum class Kind { Formula, Tax, Net } kind = Kind::Formula;
    std::string column;
    Formula formula;  // Kind::Formula
};

// What one build of the view knows about its set: which columns are computed and how.
struct SalaryViewConfig {
    std::string set;
    std::vector<SalaryItem> items;  // by 工资代码
    std::string taxColumn, taxBaseColumn;
    db::Money threshold;
    std::string netColumn;
    std::vector<std::string> added, subtracted;
    std::vector<CalculationStep> steps;  // formula items, the tax and the net pay, in dependency order
    std::vector<std::string> warnings;   // said once when the view is built, never per row
    db::SqlLines selectLines;            // up to and including " from 工资表"

    const SalaryItem* item(const std::string& code) const;
    // Columns whose values the program supplies: the computed steps and the tax column (which shows
    // nothing when its base is missing). The select reads their stored values under another name.
    bool isComputed(const std::string& column) const;
    // A formula item computed by the program (not the net pay, not a faulty or circular formula).
    bool isFormula(const std::string& column) const;
    std::vector<std::string> computedColumns() const;
};

// Reads the formulas of the items, puts the formula items, the tax and the net pay into the order
// they depend on each other and keeps them in v.steps. A formula that cannot be read, or that takes
// part in a cycle, is said in v.warnings and its column shows its stored value.
void planCalculation(SalaryViewConfig& v);

// The check before an item is saved: the formula of the item `code` may name only columns the set
// has, and no chain of formulas and tax bases may lead from it back to itself. `items` are the
// set's items with the one being saved as it will be written. The refusal's text, or empty.
std::string formulaDependencyFault(const std::vector<SalaryItem>& items, const std::string& code);

// Works out the computed columns of a row. Every computed amount is brought to the fen as it is
// computed, so a later formula, the tax and the net pay take the figure the grid shows.
class RowCalculation {
public:
    using Amount = Formula::Amount;

    RowCalculation(const SalaryViewConfig& v, TaxBrackets brackets);
    // The stored columns the steps read, in the order compute() takes them.
    const std::vector<std::string>& inputs() const { return inputs_; }
    // inputs: the amounts of inputs(); out: one amount per step of the view, in the steps' order.
    void compute(const Amount* inputs, Amount* out);
    bool missedBracket() const { return tax_.missedBracket(); }

private:
    // The income tax of a row from its base: nothing up to the threshold, to the fen.
    db::Money taxOfRow(const Amount& base);

    struct Step {
        const CalculationStep* step;
        std::vector<int> reads;      // slots of the formula's columns, the tax base, the added terms
        std::vector<int> subtracts;  // the net pay's subtracted terms
    };
    std::vector<Step> steps_;
    std::vector<std::string> inputs_;
    std::vector<Amount> slots_;  // the steps' results, then the inputs
    std::vector<Amount> args_;
    IncomeTax tax_;
    db::Money threshold_;
};

}  // namespace rsgz::payroll
