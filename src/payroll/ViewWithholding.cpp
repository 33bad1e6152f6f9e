#include "payroll/ViewWithholding.h"

#include <charconv>
#include <set>

namespace rsgz::payroll::tax {

namespace {
int number(const std::string& text)
{
    int n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    return ec == std::errc() && end == text.data() + text.size() ? n : 0;
}
}  // namespace

ViewWithholding::ViewWithholding(db::Connection& conn, const std::string& set) : conn_(conn), kinds_(readSetKinds(conn, set))
{
}

void ViewWithholding::prepare(const std::vector<Row>& rows)
{
    std::map<std::pair<int, int>, std::set<std::string>> employees;
    for (const Row& r : rows) {
        const int y = number(r.year), m = number(r.month);
        if (y > 0 && m >= 1 && m <= 12) employees[{y, m}].insert(r.employee), shown_.insert({y, m});
    }
    std::map<int, int> monthsOfYear;
    for (const auto& [period, who] : employees) ++monthsOfYear[period.first];
    for (const auto& [period, who] : employees) {
        // A view of many months of a year reads the year once; a view of one month reads up to it.
        const std::pair<int, int> key{period.first, monthsOfYear[period.first] > 1 ? 0 : period.second};
        if (years_.count(key)) continue;
        // A view of all its employees reads everyone; a narrowed one only its own.
        std::set<std::string> all;
        for (const auto& [p, w] : employees)
            if (p.first == period.first) all.insert(w.begin(), w.end());
        std::vector<std::string> list;
        if (all.size() <= 500) list.assign(all.begin(), all.end());
        years_[key] = std::make_unique<YearToDate>(
            YearToDate::read(conn_, key.first, key.second ? key.second : 12, key.second ? kinds_.set : std::string(), list));
    }
}

Money ViewWithholding::taxOf(const Row& row, const std::function<Money(const std::string&)>& valueOf)
{
    auto found = years_.find({number(row.year), number(row.month)});
    const bool among = found == years_.end();
    if (among) found = years_.find({number(row.year), 0});
    if (found == years_.end()) return row.closed ? row.storedTax : Money();
    const YearToDate& ytd = *found->second;
    PayUnit unit;
    unit.month = number(row.month);
    unit.set = kinds_.set;
    unit.setOrder = ytd.setOrder(kinds_.set);
    unit.pay = kinds_.payOf(valueOf);
    unit.closed = row.closed;
    unit.tax = row.storedTax;
    unit.cumulative = true;
    CumulativeFigures f = among ? ytd.withRowAmong(row.employee, unit) : ytd.withRow(row.employee, unit);
    const Money tax = f.tax;
    figures_[row.id] = std::move(f);
    return tax;
}

const CumulativeFigures* ViewWithholding::figuresOf(int64_t id) const
{
    const auto f = figures_.find(id);
    return f == figures_.end() ? nullptr : &f->second;
}

std::vector<std::string> ViewWithholding::openMonths() const
{
    std::set<std::string> all;
    for (const auto& [period, ytd] : years_) {
        const auto& groups = ytd->openGroups();
        for (size_t i = 0; i < groups.size(); ++i)
            if (groups[i].set != kinds_.set || !shown_.count({period.first, groups[i].month}))
                all.insert(ytd->openMonths()[i]);
    }
    return {all.begin(), all.end()};
}

std::string ViewWithholding::openMonthsNote() const
{
    std::string months;
    for (const std::string& m : openMonths()) months += (months.empty() ? "" : "、") + m;
    return months.empty() ? std::string() : "以下月份尚未结帐，累计预扣按其当前计算值计入：" + months;
}

std::vector<std::pair<std::string, std::string>> cardLines(const CumulativeFigures& f)
{
    auto amount = [](Money m) { return m.toString(2); };
    std::vector<std::pair<std::string, std::string>> lines = {
        {"累计收入", amount(f.income)},
        {"累计减除费用", amount(f.basicDeduction)},
        {"累计专项扣除", amount(f.special)},
        {"累计专项附加扣除", amount(f.additional)},
        {"累计应纳税所得额", amount(f.taxable)},
        {"税率", std::to_string(f.percent) + "%"},
        {"累计已缴税额", amount(f.withheld)},
        {"本期税额", amount(f.tax)},
    };
    if (f.bonusOnItsOwn) lines.push_back({"其中全年一次性奖金税额", amount(f.bonusTax)});
    if (!f.bonusWarning.empty()) lines.push_back({"提示", f.bonusWarning});
    return lines;
}

}  // namespace rsgz::payroll::tax
