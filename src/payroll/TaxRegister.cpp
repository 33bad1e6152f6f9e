#include "payroll/TaxRegister.h"

#include "exchange/ExcelExport.h"
#include "payroll/YearToDate.h"

namespace rsgz::payroll {

namespace {

using L = TaxRegisterLine;

TaxRegisterColumn amount(const char* title, db::Money L::*member)
{
    return {title, [member](const L& l) { return db::Value(l.*member); }, true};
}

}  // namespace

std::vector<TaxRegisterLine> taxRegister(db::Connection& conn, const std::string& employee, int year)
{
    // December with every set: the whole year of the employee.
    const tax::YearToDate ytd = tax::YearToDate::read(conn, year, 12, {}, {employee});
    std::vector<TaxRegisterLine> lines;
    for (const tax::CumulativeFigures& f : ytd.walked(employee)) {
        TaxRegisterLine l;
        l.month = f.month;
        l.set = f.set;
        l.income = f.pay.income + f.pay.bonus;
        l.taxFree = f.pay.taxFree;
        l.special = f.pay.special();
        l.cumulativeIncome = f.income;
        l.basicDeduction = f.basicDeduction;
        l.cumulativeSpecial = f.special;
        l.additional = f.additional;
        l.other = f.other;
        l.taxable = f.taxable;
        l.percent = f.percent;
        l.withheld = f.withheld;
        l.tax = f.tax;
        lines.push_back(std::move(l));
    }
    return lines;
}

const std::vector<TaxRegisterColumn>& taxRegisterColumns()
{
    static const std::vector<TaxRegisterColumn> columns = {
        {"月份", [](const L& l) { return db::Value(l.month); }, false},
        {"帐套", [](const L& l) { return db::Value(l.set); }, false},
        amount("本期收入", &L::income),
        amount("本期免税收入", &L::taxFree),
        amount("本期专项扣除", &L::special),
        amount("累计收入", &L::cumulativeIncome),
        amount("累计减除费用", &L::basicDeduction),
        amount("累计专项扣除", &L::cumulativeSpecial),
        amount("累计专项附加扣除", &L::additional),
        amount("累计其他扣除", &L::other),
        amount("累计应纳税所得额", &L::taxable),
        {"税率", [](const L& l) { return db::Value(std::to_string(l.percent) + "%"); }, false},
        amount("累计已缴税额", &L::withheld),
        amount("本期税额", &L::tax),
    };
    return columns;
}

std::vector<std::string> TaxRegisterSource::titles() const
{
    std::vector<std::string> out;
    for (const TaxRegisterColumn& c : taxRegisterColumns()) out.emplace_back(c.title);
    return out;
}

int TaxRegisterSource::fieldOf(const std::string& item) const
{
    const auto& columns = taxRegisterColumns();
    for (size_t i = 0; i < columns.size(); ++i)
        if (item == columns[i].title) return static_cast<int>(i);
    return -1;
}

bool TaxRegisterSource::isNumber(int field) const
{
    return field >= 0 && static_cast<size_t>(field) < taxRegisterColumns().size() && taxRegisterColumns()[field].amount;
}

db::Value TaxRegisterSource::value(int row, int field) const
{
    if (row < 0 || row >= rowCount() || field < 0 || static_cast<size_t>(field) >= taxRegisterColumns().size()) return {};
    return taxRegisterColumns()[static_cast<size_t>(field)].value(lines_[static_cast<size_t>(row)]);
}

std::string TaxRegisterSource::text(int row, int field) const
{
    const db::Value v = value(row, field);
    return isNumber(field) ? v.toMoney().toString(2) : v.toString();
}

void writeTaxRegister(const std::string& path, const std::string& sheetName, const std::vector<TaxRegisterLine>& lines)
{
    exchange::SheetContent s;
    s.name = sheetName;
    TaxRegisterSource source(lines);
    for (const TaxRegisterColumn& c : taxRegisterColumns()) {
        s.heading.emplace_back(c.title);
        s.numeric.push_back(c.amount);
    }
    s.rowCount = source.rowCount();
    s.cellsOf = [&source](int row, std::vector<std::string>& cells) {
        for (size_t c = 0; c < cells.size(); ++c) cells[c] = source.text(row, static_cast<int>(c));
    };
    exchange::writeWorkbook(path, {s});
}

}  // namespace rsgz::payroll
