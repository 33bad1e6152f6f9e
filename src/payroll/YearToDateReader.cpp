// Reads the year's salary rows of every set for the cumulative withholding: one grouped query over
// the stored columns by what each set's items are for, and a salary view for any month still open.
#include <algorithm>
#include <set>
#include <unordered_set>

#include "db/Connection.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "db/SqlText.h"
#include "db/BoundStatement.h"
#include "payroll/SalaryColumns.h"
#include "payroll/SalaryView.h"
#include "payroll/YearToDate.h"

namespace rsgz::payroll::tax {

namespace {

using Measure = SetKinds::Measure;
constexpr int MeasureCount = SetKinds::MeasureCount;
constexpr Measure Income = SetKinds::Income, Tax = SetKinds::Tax;

std::string sumOf(const std::vector<std::string>& columns)
{
    std::string e;
    for (const std::string& c : columns) {
        if (!e.empty()) e += '+';
        e.append("coalesce(").append(c).append(",0)");
    }
    return e;
}

// case 工资帐套 when 'A' then … when 'B' then … else 0 end: one measure of a row.
std::string measureSql(const std::vector<SetKinds>& sets, Measure m)
{
    std::string cases;
    for (const SetKinds& s : sets)
        if (!s.columns[m].empty()) cases += " when " + db::sqlQuote(s.set) + " then " + sumOf(s.columns[m]);
    return cases.empty() ? "0" : "case 工资帐套" + cases + " else 0 end";
}

std::string monthText(int month)
{
    std::string t = std::to_string(month);
    return t.size() < 2 ? t.insert(0, 1, '0') : t;
}

}  // namespace

namespace {
int measureOfKind(const std::string& kind)
{
    static const std::pair<const char*, SetKinds::Measure> kinds[] = {
        {kKindIncome, SetKinds::Income},        {kKindTaxFree, SetKinds::TaxFree},
        {kPension, SetKinds::Pension},          {kMedical, SetKinds::Medical},
        {kUnemployment, SetKinds::Unemployment}, {kHousingFund, SetKinds::HousingFund},
        {kKindOtherDeduction, SetKinds::OtherItems}, {kKindBonus, SetKinds::Bonus},
    };
    for (const auto& [name, m] : kinds)
        if (kind == name) return m;
    return -1;
}
}  // namespace

PayFigures SetKinds::figuresFrom(const Money (&v)[MeasureCount])
{
    PayFigures p;
    p.income = v[Income];
    p.taxFree = v[TaxFree];
    p.pension = v[Pension];
    p.medical = v[Medical];
    p.unemployment = v[Unemployment];
    p.housingFund = v[HousingFund];
    p.otherItems = v[OtherItems];
    p.bonus = v[Bonus];
    return p;
}

PayFigures SetKinds::payOf(const std::function<Money(const std::string&)>& valueOf) const
{
    Money v[MeasureCount];
    for (int m = 0; m < Tax; ++m)
        for (const std::string& c : columns[m]) v[m] = v[m] + valueOf(c);
    return figuresFrom(v);
}

SetKinds readSetKinds(db::Connection& conn, const std::string& set)
{
    const SalaryViewConfig view = buildSalaryView(conn, set);
    return readSetKinds(conn, set, view.taxColumn, view.taxBaseColumn);
}

SetKinds readSetKinds(db::Connection& conn, const std::string& set, const std::string& taxColumn,
                      const std::string& taxBaseColumn)
{
    SetKinds s;
    s.set = set;
    s.cumulative = taxMethodOf(conn, set) == TaxMethod::Cumulative;
    db::BoundStatement st(conn, "select 工资代码, 项目类别 from 帐套, 工资帐套明细 where 帐套编号1=帐套编号 and 帐套名称=? "
                            "order by 工资代码");
    st.bind(1, std::string_view(set));
    while (st.step()) {
        const std::string code = normalSalaryCode(st.textOrEmpty(0));
        const int m = measureOfKind(st.textOrEmpty(1));
        if (!code.empty() && m >= 0 && code != taxColumn) s.columns[m].push_back(code);
    }
    // A set whose items say nothing of what they are for is taxed on its tax item's base, as
    // the month table taxes it.
    if (s.columns[Income].empty() && !taxBaseColumn.empty()) s.columns[Income].push_back(taxBaseColumn);
    if (!taxColumn.empty()) s.columns[Tax].push_back(taxColumn);
    return s;
}

class YearToDateReader {
public:
    YearToDateReader(db::Connection& conn, YearToDate& out, const std::string& set,
                     const std::vector<std::string>& employees)
        : conn_(conn), out_(out), set_(set), wanted_(employees.begin(), employees.end())
    {
    }

    void run()
    {
        readSets();
        readEmployees();
        readRows();
        readOpenGroups();
        for (auto& [no, e] : out_.employees_) {
            std::stable_sort(e.units.begin(), e.units.end(), [](const PayUnit& a, const PayUnit& b) {
                return a.month != b.month ? a.month < b.month : a.setOrder < b.setOrder;
            });
            YearWalk walk(&e.year);
            for (const PayUnit& u : e.units) walk.apply(u, false);
            e.after = walk.state();
        }
    }

private:
    bool wanted(const std::string& employee) const { return wanted_.empty() || wanted_.count(employee) > 0; }

    void readSets()
    {
        db::BoundStatement st(conn_, "select 帐套名称 from 帐套 where 帐套名称 is not null order by 编号");
        std::vector<std::string> names;
        while (st.step()) {
            const std::string name = st.textOrEmpty(0);
            if (out_.setOrder_.emplace(name, static_cast<int>(out_.setOrder_.size())).second) names.push_back(name);
        }
        for (const std::string& n : names) sets_.push_back(readSetKinds(conn_, n));
    }

    void readEmployees()
    {
        const int year = out_.year_;
        const auto choices = yearChoices(conn_, year);
        auto declared = additionalDeductionsOfYear(conn_, year);
        auto others = otherDeductionsOfYear(conn_, year);
        db::BoundStatement st(conn_, "select 员工编号, 入职日期 from 员工基本情况");
        while (st.step()) {
            const std::string no = st.textOrEmpty(0);
            if (no.empty() || !wanted(no)) continue;
            EmployeeYear& y = out_.employees_[no].year;
            y.year = year;
            y.firstMonth = firstMonthEmployed(st.textOrEmpty(1), year);
            if (auto c = choices.find(no); c != choices.end()) y.choices = c->second;
            if (auto d = declared.find(no); d != declared.end()) y.additional = std::move(d->second);
            if (auto o = others.find(no); o != others.end()) y.other = std::move(o->second);
        }
    }

    // A row counts when it lies before the month, or in the month in a set walked before this one.
    bool counts(int month, const std::string& set) const
    {
        if (month < 1 || month > out_.month_) return false;
        if (month < out_.month_ || set_.empty()) return true;
        return set != set_ && out_.setOrder(set) < out_.setOrder(set_);
    }

    PayUnit& unitOf(const std::string& employee, int month, const std::string& set)
    {
        auto& e = out_.employees_[employee];
        if (e.year.year == 0) e.year.year = out_.year_;
        for (PayUnit& u : e.units)
            if (u.month == month && u.set == set) return u;
        PayUnit u;
        u.month = month;
        u.set = set;
        u.setOrder = out_.setOrder(set);
        const auto s = std::find_if(sets_.begin(), sets_.end(), [&](const SetKinds& c) { return c.set == set; });
        u.cumulative = s == sets_.end() || s->cumulative;
        u.closed = true;  // until a row of it is found open
        e.units.push_back(u);
        return e.units.back();
    }

    // One statement over the year's rows of every set; the rows are summed per employee, month and
    // set here as they stream by (the engine's group by would sort the whole year first).
    void readRows()
    {
        std::string sql = "select 员工编号, 月, 工资帐套, 结帐状态";
        for (int m = 0; m < MeasureCount; ++m) sql += ", " + measureSql(sets_, static_cast<Measure>(m));
        sql += " from 工资表 where 年=? and cast(月 as integer) between 1 and ?";
        // A handful of employees (a view narrowed to a department) is looked up by the index.
        const bool byList = !wanted_.empty() && wanted_.size() <= 500;
        if (byList) {
            sql += " and 员工编号 in (";
            for (size_t i = 0; i < wanted_.size(); ++i) sql += i ? ",?" : "?";
            sql += ")";
        }
        db::BoundStatement st(conn_, sql);
        st.bind(1, std::string_view(std::to_string(out_.year_))).bind(2, int64_t{out_.month_});
        int p = 3;
        if (byList)
            for (const std::string& no : wanted_) st.bind(p++, std::string_view(no));
        while (st.step()) {
            const std::string no = st.textOrEmpty(0), set = st.textOrEmpty(2);
            const int month = static_cast<int>(st.integer(1));
            if (no.empty() || !wanted(no) || !counts(month, set)) continue;
            Money v[MeasureCount];
            for (int m = 0; m < MeasureCount; ++m) v[m] = st.money(4 + m);
            PayUnit& u = unitOf(no, month, set);
            u.pay += SetKinds::figuresFrom(v);
            u.tax = u.tax + v[Tax];
            if (st.textOrEmpty(3) != "是") {
                u.closed = false;
                openGroups_.insert({set, st.textOrEmpty(1)});
            }
        }
    }

    // A month not yet closed shows what the salary view computes: its formulas, and the month
    // table's tax for a set that still taxes by month.
    void readOpenGroups()
    {
        for (const auto& [set, monthStored] : openGroups_) {
            const auto s = std::find_if(sets_.begin(), sets_.end(), [&](const SetKinds& c) { return c.set == set; });
            const int month = std::atoi(monthStored.c_str());
            out_.openMonths_.push_back(std::to_string(out_.year_) + "年" + monthText(month) + "月（帐套“" + set + "”）");
            out_.openGroups_.push_back({month, set});
            if (s == sets_.end()) continue;
            try {
                readOpenGroup(*s, monthStored, month);
            } catch (const db::DbError&) {
                // That month's view cannot be computed (its own window says why): its stored
                // figures stand, and the note says so.
                out_.openMonths_.back() += "，无法计算，按保存的数值";
            }
        }
    }

    void readOpenGroup(const SetKinds& s, const std::string& monthStored, int month)
    {
        db::DataSet ds(&conn_, "ytd_open");
        SalaryView view(conn_, ds);
        view.setCumulativeTax(false);
        view.build(s.set);
        view.filter().nodes = {{"月", monthStored}, {"年", std::to_string(out_.year_)}};
        view.open();
        const int noIdx = ds.fieldIndex("员工编号"), idIdx = ds.fieldIndex("编号");
        std::set<std::string> reset;
        for (int row = 0; row < ds.rowCount(); ++row) {
            const std::string no = ds.rowValue(row, noIdx).toString();
            if (no.empty() || !wanted(no)) continue;
            PayUnit& u = unitOf(no, month, s.set);
            if (reset.insert(no).second) u.pay = PayFigures(), u.tax = Money();  // the view's figures replace the stored sums
            const int64_t id = ds.rowValue(row, idIdx).toInt();
            u.pay += s.payOf([&](const std::string& column) { return view.valueOf(id, column); });
            u.tax = u.tax + view.taxOf(id);
        }
    }

    db::Connection& conn_;
    YearToDate& out_;
    std::string set_;
    std::unordered_set<std::string> wanted_;
    std::vector<SetKinds> sets_;
    std::set<std::pair<std::string, std::string>> openGroups_;
};

YearToDate YearToDate::read(db::Connection& conn, int year, int month, const std::string& set,
                            const std::vector<std::string>& employees)
{
    YearToDate out;
    out.year_ = year;
    out.month_ = month;
    out.empty_.year = year;
    YearToDateReader(conn, out, set, employees).run();
    return out;
}

}  // namespace rsgz::payroll::tax
