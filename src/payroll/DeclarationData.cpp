#include "payroll/DeclarationData.h"

#include <map>

#include <QString>

#include "app/IdNumber.h"
#include "app/Interaction.h"
#include "app/OperatorRights.h"
#include "app/Progress.h"
#include "app/TDM.h"
#include "exchange/ExcelExport.h"
#include "db/DataSet.h"
#include "db/BoundStatement.h"
#include "payroll/SalaryView.h"
#include "payroll/TaxLaw.h"
#include "payroll/YearToDate.h"

namespace rsgz::payroll {

namespace {

namespace tax = payroll::tax;

std::string twoDigits(int month)
{
    std::string s = std::to_string(month);
    return s.size() < 2 ? "0" + s : s;
}

std::vector<std::string> setsPaid(db::Connection& conn, int year, int month)
{
    db::BoundStatement st(conn, "select distinct 工资帐套 from 工资表 where 年=? and 月=? and 工资帐套 is not null order by 工资帐套");
    const std::string y = std::to_string(year), m = twoDigits(month);
    st.bind(1, std::string_view(y)).bind(2, std::string_view(m));
    std::vector<std::string> sets;
    while (st.step()) sets.push_back(st.textOrEmpty(0));
    return sets;
}

// The month's rows of a set as its salary view shows them (formula items computed), summed by what
// the items are for the way the withholding sums them.
void addSet(db::Connection& conn, const std::string& set, int year, int month,
            std::map<std::string, tax::PayFigures>& out)
{
    const tax::SetKinds kinds = tax::readSetKinds(conn, set);
    db::DataSet rows(&conn, "declaration");
    SalaryView view(conn, rows);
    view.build(set);
    view.filter().nodes = {{"年", std::to_string(year)}, {"月", twoDigits(month)}};
    view.open();
    const int number = rows.fieldIndex("员工编号");
    for (int r = 0; r < rows.recordCount(); ++r) {
        const auto valueOf = [&rows, r](const std::string& column) {
            const int i = rows.fieldIndex(column);
            return i < 0 ? Money() : rows.valueAt(r, i).toMoney();
        };
        out[rows.valueAt(r, number).toString()] += kinds.payOf(valueOf);
    }
}

struct Person {
    std::string name, idNumber, hireDate;
};

std::map<std::string, Person> people(db::Connection& conn)
{
    db::BoundStatement st(conn, "select 员工编号, 姓名, 身份证号, 入职日期 from 员工基本情况");
    std::map<std::string, Person> out;
    while (st.step()) out[st.textOrEmpty(0)] = {st.textOrEmpty(1), st.textOrEmpty(2), st.textOrEmpty(3)};
    return out;
}

Money categoryOf(const std::map<int, std::map<std::string, Money>>& months, int month, const char* category)
{
    const auto m = months.find(month);
    if (m == months.end()) return Money();
    const auto c = m->second.find(category);
    return c == m->second.end() ? Money() : c->second;
}

// The declared special additional deductions of the year up to the month, per category.
void addDeductions(DeclarationLine& line, const std::vector<tax::AdditionalDeduction>& declared, int year,
                   int firstMonth, int month)
{
    const std::map<std::string, Money DeclarationLine::*> columns = {
        {tax::kChildEducation, &DeclarationLine::childEducation},
        {tax::kContinuingEducation, &DeclarationLine::continuingEducation},
        {tax::kHousingLoan, &DeclarationLine::housingLoan},
        {tax::kHousingRent, &DeclarationLine::housingRent},
        {tax::kElderly, &DeclarationLine::elderly},
        {tax::kInfantCare, &DeclarationLine::infantCare},
    };
    for (const tax::AdditionalDeduction& d : declared) {
        const auto c = columns.find(d.category);
        if (c == columns.end()) continue;
        line.*c->second = line.*c->second + tax::additionalDeducted(d, year, firstMonth, month);
    }
}

void addOtherDeductions(DeclarationLine& line, const tax::MonthlyCategories& months, int month)
{
    // 个人养老金 is declared as the year's sum; the others as this month's.
    for (int m = 1; m <= month; ++m) line.privatePension = line.privatePension + categoryOf(months, m, tax::kPrivatePension);
    line.annuity = categoryOf(months, month, tax::kAnnuity);
    line.healthInsurance = categoryOf(months, month, tax::kHealthInsurance);
    line.taxDeferredPension = categoryOf(months, month, tax::kTaxDeferredPension);
    line.other = line.other + categoryOf(months, month, tax::kOtherDeduction);
    line.donation = categoryOf(months, month, tax::kDonation);
    line.relief = categoryOf(months, month, tax::kRelief);
}

}  // namespace

Declaration gatherDeclaration(db::Connection& conn, int year, int month)
{
    std::map<std::string, tax::PayFigures> figures;
    for (const std::string& set : setsPaid(conn, year, month)) addSet(conn, set, year, month, figures);
    const std::map<std::string, Person> persons = people(conn);
    const auto declared = tax::additionalDeductionsOfYear(conn, year);
    const auto others = tax::otherDeductionsOfYear(conn, year);
    const auto choices = tax::yearChoices(conn, year);
    // Whether a bonus is taxed on its own follows the withholding's walk: the set's method, the
    // employee's choice, only the first bonus of the year. Walked for those paid a bonus only.
    std::vector<std::string> withBonus;
    for (const auto& [number, f] : figures)
        if (f.bonus != Money()) withBonus.push_back(number);
    const tax::YearToDate walk = withBonus.empty() ? tax::YearToDate{} : tax::YearToDate::read(conn, year, month, {}, withBonus);

    Declaration d{year, month, {}, {}};
    for (const auto& [number, f] : figures) {
        const auto person = persons.find(number);
        const Person p = person == persons.end() ? Person{} : person->second;
        const auto choice = choices.find(number);
        const tax::YearChoices c = choice == choices.end() ? tax::YearChoices{} : choice->second;
        DeclarationLine line;
        line.number = number;
        line.name = p.name;
        line.idNumber = app::normalizedIdNumber(p.idNumber);
        line.income = f.income;
        line.taxFree = f.taxFree;
        line.pension = f.pension;
        line.medical = f.medical;
        line.unemployment = f.unemployment;
        line.housingFund = f.housingFund;
        line.other = f.otherItems;
        const int firstMonth = c.firstMonth > 0 ? c.firstMonth : tax::firstMonthEmployed(p.hireDate, year);
        if (const auto dd = declared.find(number); dd != declared.end()) addDeductions(line, dd->second, year, firstMonth, month);
        if (const auto o = others.find(number); o != others.end()) addOtherDeductions(line, o->second, month);
        Money onItsOwn;
        if (f.bonus != Money())
            for (const tax::CumulativeFigures& u : walk.walked(number))
                if (u.month == month && u.bonusOnItsOwn) onItsOwn = onItsOwn + u.pay.bonus;
        line.income = line.income + (f.bonus - onItsOwn);
        if (onItsOwn != Money()) {
            BonusLine b;
            b.number = number;
            b.name = p.name;
            b.idNumber = line.idNumber;
            b.bonus = onItsOwn;
            d.bonuses.push_back(std::move(b));
        }
        d.wages.push_back(std::move(line));
    }
    return d;
}

void declareMonthAsked(app::TDM& dm, int year, int month)
{
    app::requireRight(dm, "工资表管理");
    const std::string period = std::to_string(year) + "年" + twoDigits(month) + "月";
    const Declaration d = gatherDeclaration(dm.DMADO, year, month);
    if (d.wages.empty()) {
        app::interaction().showMessage(period + "没有工资数据，不能生成扣缴申报表！");
        return;
    }
    const std::string today = dm.now().date().toString(QStringLiteral("yyyy-MM-dd")).toStdString();
    if (const auto refused = declarationRefusals(d, today); !refused.empty()) {
        app::interaction().showMessage(refusalNotice(refused));
        return;
    }
    std::string path = app::interaction().saveFileName("请输入扣缴申报表文件名称", "Microsoft Excel 文件 (*.xlsx)");
    if (path.empty()) return;
    if (!QString::fromStdString(path).endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) path += ".xlsx";
    std::string notice;
    {
        app::Progress progress("扣缴申报", "正在写入" + period + "扣缴申报表……",
                               static_cast<int>(d.wages.size() + d.bonuses.size()));
        try {
            writeDeclaration(path, d, [&progress](int done) { progress.step(done); });
            notice = period + "扣缴申报表已写入文件“" + path + "”：正常工资薪金" + std::to_string(d.wages.size())
                     + "人，全年一次性奖金" + std::to_string(d.bonuses.size()) + "人。";
        } catch (const exchange::ExportError& e) {
            notice = e.what();
        }
    }
    app::interaction().showMessage(notice);
}

}  // namespace rsgz::payroll
