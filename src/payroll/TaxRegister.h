#pragma once
// An employee's tax register of a year: every salary row of the year (month, then set) with its own
// pay and the cumulative figures after it, as the withholding walked them. Shown in a grid, printed
// through the table print and written to a workbook.
#include <functional>
#include <string>
#include <vector>

#include "db/Money.h"
#include "db/Value.h"
#include "print/TableSource.h"

namespace rsgz::db {
class Connection;
}

namespace rsgz::payroll {

struct TaxRegisterLine {
    int month = 0;
    std::string set;
    db::Money income, taxFree, special;  // the row's own
    db::Money cumulativeIncome, basicDeduction, cumulativeSpecial, additional, other, taxable;
    int percent = 0;
    db::Money withheld, tax;  // 累计已缴税额 before the row, 本期税额 of the row (a bonus taxed on its own included)
};

std::vector<TaxRegisterLine> taxRegister(db::Connection& conn, const std::string& employee, int year);

struct TaxRegisterColumn {
    const char* title;
    std::function<db::Value(const TaxRegisterLine&)> value;
    bool amount = true;
};
// The columns of the register, in order: the one table the grid, the print and the workbook share.
const std::vector<TaxRegisterColumn>& taxRegisterColumns();

// The register as the table print reads it: an item is a column title.
class TaxRegisterSource : public print::TableSource {
public:
    explicit TaxRegisterSource(const std::vector<TaxRegisterLine>& lines) : lines_(lines) {}
    std::vector<std::string> titles() const;
    int rowCount() const override { return static_cast<int>(lines_.size()); }
    int fieldOf(const std::string& item) const override;
    bool isNumber(int field) const override;
    db::Value value(int row, int field) const override;
    std::string text(int row, int field) const override;

private:
    const std::vector<TaxRegisterLine>& lines_;
};

// Writes the register to a workbook (amounts as numbers), under a temporary name renamed at the end.
// Throws exchange::ExportError.
void writeTaxRegister(const std::string& path, const std::string& sheetName, const std::vector<TaxRegisterLine>& lines);

}  // namespace rsgz::payroll
