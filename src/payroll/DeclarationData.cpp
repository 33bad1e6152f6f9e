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
#include "payroll/BoundStatement.h"
#include "payroll/SalaryView.h"
#include "payroll/TaxLaw.h"

namespace rsgz::payroll {

namespace {

namespace tax = payroll::tax;

// What one employee's rows of the month add up to, over every set.
struct MonthFigures {
    Money income, taxFree, pension, medical, unemployment, housingFund, otherItems, bonus;
};

Money* figureOfKind(MonthFigures& f, const std::string& kind)
{
    static const std::map<std::string, Money MonthFigures::*> members = {
        {tax::kKindIncome, &MonthFigures::income},       {tax::kKindTaxFree, &MonthFigures::taxFree},
        {tax::kPension, &MonthFigures::pension},         {tax::kMedical, &MonthFigures::medical},
        {tax::kUnemployment, &MonthFigures::unemployment}, {tax::kHousingFund, &MonthFigures::housingFund},
        {tax::kKindOtherDeduction, &MonthFigures::otherItems}, {tax::kKindBonus, &MonthFigures::bonus},
    };
    const auto found = members.find(kind);
    return found == members.end() ? nullptr : &(f.*found->second);
}

std::string twoDigits(int month)
{
    std::string s = std::to_string(month);
    return s.size() < 2 ? "0" + s : s;
}

std::vector<std::string> setsPaid(db::Connection& conn, int year, int month)
{
    BoundStatement st(conn, "select distinct 工资帐套 from 工资表 where 年=? and 月=? and 工资帐套 is not null order by 工资帐套");
    const std::string y = std::to_string(year), m = twoDigits(month);
    st.bind(1, std::string_view(y)).bind(2, std::string_view(m));
    std::vector<std::string> sets;
    while (st.step()) sets.push_back(st.textOrEmpty(0));
    return sets;
}

// Salary code -> kind, for the items of a set that say what they are for.
std::vector<std::pair<std::string, std::string>> itemKinds(db::Connection& conn, const std::string& set)
{
    BoundStatement st(conn,
                      "select 工资代码, 项目类别 from 帐套, 工资帐套明细 where 帐套编号1=帐套编号 and 帐套名称=? "
                      "and 项目类别 is not null and 项目类别<>''");
    st.bind(1, std::string_view(set));
    std::vector<std::pair<std::string, std::string>> kinds;
    while (st.step()) kinds.emplace_back(st.textOrEmpty(0), st.textOrEmpty(1));
    return kinds;
}

void addSet(db::Connection& conn, const std::string& set, int year, int month, std::map<std::string, MonthFigures>& out)
{
    const auto kinds = itemKinds(conn, set);
    if (kinds.empty()) return;
    db::DataSet rows(&conn, "declaration");
    SalaryView view(conn, rows);
    view.build(set);
    view.filter().nodes = {{"年", std::to_string(year)}, {"月", twoDigits(month)}};
    view.open();
    const int number = rows.fieldIndex("员工编号");
    std::vector<std::pair<int, std::string>> columns;
    for (const auto& [code, kind] : kinds)
        if (const int i = rows.fieldIndex(code); i >= 0) columns.emplace_back(i, kind);
    for (int r = 0; r < rows.recordCount(); ++r) {
        MonthFigures& f = out[rows.valueAt(r, number).toString()];
        for (const auto& [index, kind] : columns)
            if (Money* m = figureOfKind(f, kind)) *m = *m + rows.valueAt(r, index).toMoney();
    }
}

struct Person {
    std::string name, idNumber, hireDate;
};

std::map<std::string, Person> people(db::Connection& conn)
{
    BoundStatement st(conn, "select 员工编号, 姓名, 身份证号, 入职日期 from 员工基本情况");
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
    std::map<std::string, MonthFigures> figures;
    for (const std::string& set : setsPaid(conn, year, month)) addSet(conn, set, year, month, figures);
    const std::map<std::string, Person> persons = people(conn);
    const auto declared = tax::additionalDeductionsOfYear(conn, year);
    const auto others = tax::otherDeductionsOfYear(conn, year);
    const auto choices = tax::yearChoices(conn, year);

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
        if (f.bonus != Money() && c.bonusOnItsOwn) {
            BonusLine b;
            b.number = number;
            b.name = p.name;
            b.idNumber = line.idNumber;
            b.bonus = f.bonus;
            d.bonuses.push_back(std::move(b));
        } else {
            line.income = line.income + f.bonus;
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
