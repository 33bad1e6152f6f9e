#pragma once
#include <optional>
#include <string>

#include "db/Money.h"
#include "db/Value.h"
#include "print/ReportTable.h"

namespace rsgz::print {

// A column's summary expression, printed on the total row below the last record. The functions
// COUNT, SUM and AVG take a field in brackets, or the column's own field when written bare;
// they combine with numbers, + - * / and brackets: "SUM", "SUM(晋升后工资)-SUM(晋升前工资)",
// "AVG(考评分数)*100". Sums are exact (fixed point); products and quotients round half to even
// at the fourth decimal.
struct SummaryResult {
    std::optional<db::Money> value;  // empty when the expression cannot be computed
    bool countOnly = false;          // only COUNT terms and whole numbers: printed without decimals
    std::string error;               // why it cannot be computed (a bad field, division by zero …)
};

SummaryResult evaluateSummary(const std::string& expression, const ReportTable& table,
                              const std::string& ownField);

// The printed text of a summary with a column's format ("0", "0.00", "#,##0.00"; empty: two
// decimals, or none for a count). An expression that cannot be computed prints empty.
std::string summaryText(const SummaryResult& r, const std::string& format);

// The printed text of a cell: numbers by a format of 0, # , and . characters, dates by a format
// with yyyy, mm and dd; anything else as stored.
std::string formatCell(const db::Value& v, const std::string& format);

}  // namespace rsgz::print
