#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace rsgz::payroll {

// A salary item's formula is kept as the operator typed it, in the arithmetic of the old program:
// + - * / (always dividing as real numbers), \ (whole-number division), Mod, ^, parentheses, numbers,
// the numeric columns of 工资表 (gz01 … gz39, 出勤天数), the comparisons = <> < > <= >= (true is -1,
// false 0), And, Or, Not, and the functions IIf, Int (floor), Fix (truncation), Round (half to even),
// Abs and Sgn. Keywords, functions and column names ignore the case of Latin letters.
//
// A formula is read into a tree and the tree is written out as an SQLite expression; nothing of the
// typed text reaches the database except through the tree, so a formula can neither read another
// table nor end or comment out the statement it is placed in. Division by zero gives an empty
// value, never a failed list.
struct FormulaResult {
    bool ok = false;
    std::string sql;     // the expression, in parentheses, when ok
    int position = 0;    // 1-based character position of the fault; length + 1 at the end
    bool atEnd = false;  // the fault is that the formula ends too early
    std::string reason;  // what is wrong there, in Chinese
    // "第 5 个字符处：……" or "公式末尾：……"; empty when ok.
    std::string message() const;
};
FormulaResult translateFormula(std::string_view formula);

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
