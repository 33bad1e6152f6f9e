#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Money.h"

namespace rsgz::payroll {

// A salary item's formula is kept as the operator typed it, in the arithmetic of the old program:
// + - * / (always dividing as real numbers), \ (whole-number division), Mod, ^, parentheses, numbers,
// the numeric columns of 工资表 (gz01 … gz39, 出勤天数), the comparisons = <> < > <= >= (true is -1,
// false 0), And, Or, Not, and the functions IIf, Int (floor), Fix (truncation), Round (half to even),
// Abs and Sgn. Keywords, functions and column names ignore the case of Latin letters.
//
// A formula is read into a tree once and the program works the tree out for each row over exact
// amounts: sums and differences are exact; a product, a quotient and a power are brought to four
// decimals half to even (a factor with more decimals, such as 0.00125, counts with all of them).
// An empty amount makes the result empty; so do a division by zero and a result beyond what an
// amount can hold, never a failed list. Comparisons, And and Or with an empty operand follow the
// old program: empty unless the other side decides (0 And empty is 0, -1 Or empty is -1).
class Formula {
public:
    using Amount = std::optional<db::Money>;

    Formula();
    // The columns the formula reads, as stored (gz03, 出勤天数), each once, in order of first use.
    const std::vector<std::string>& columns() const { return columns_; }
    // The value for one row: inputs[i] is the amount of columns()[i].
    Amount evaluate(const Amount* inputs) const;

    struct Node;

private:
    friend struct FormulaResult readFormula(std::string_view formula);
    std::shared_ptr<const Node> root_;
    std::vector<std::string> columns_;
};

struct FormulaResult {
    bool ok = false;
    Formula formula;     // when ok
    int position = 0;    // 1-based character position of the fault; length + 1 at the end
    bool atEnd = false;  // the fault is that the formula ends too early
    std::string reason;  // what is wrong there, in Chinese
    // "第 5 个字符处：……" or "公式末尾：……"; empty when ok.
    std::string message() const;
};
FormulaResult readFormula(std::string_view formula);

// The net-pay formula of a set (its last item) is a chain of columns joined by + and -: each term
// is added or subtracted by the sign before it; a leading sign is allowed. The view adds and
// subtracts the displayed values of the terms row by row.
struct NetPayTerms {
    bool ok = false;
    std::vector<std::string> added, subtracted;  // column names as stored (gz03, 出勤天数)
    int position = 0;
    bool atEnd = false;
    std::string reason;
    std::string message() const;
};
NetPayTerms parseNetPayTerms(std::string_view formula);

}  // namespace rsgz::payroll
