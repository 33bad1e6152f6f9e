#include "payroll/WithholdingDeclaration.h"

#include <algorithm>

#include "app/IdNumber.h"
#include "exchange/ExcelExport.h"

namespace rsgz::payroll {

namespace {

using L = DeclarationLine;
using B = BonusLine;

template <class Line>
DeclarationColumn<Line> text(const char* heading, std::string Line::*member)
{
    return {heading, member, nullptr};
}
template <class Line>
DeclarationColumn<Line> amount(const char* heading, Money Line::*member)
{
    return {heading, nullptr, member};
}

template <class Line>
exchange::SheetContent sheetOf(const char* name, const std::vector<DeclarationColumn<Line>>& columns,
                               const std::vector<Line>& lines)
{
    exchange::SheetContent s;
    s.name = name;
    for (const DeclarationColumn<Line>& c : columns) {
        s.heading.emplace_back(c.heading);
        s.numeric.push_back(c.amount != nullptr);
    }
    s.rowCount = static_cast<int>(lines.size());
    s.cellsOf = [&columns, &lines](int row, std::vector<std::string>& cells) {
        const Line& line = lines[static_cast<size_t>(row)];
        for (size_t c = 0; c < columns.size(); ++c) {
            if (columns[c].text) cells[c] = line.*columns[c].text;
            else cells[c] = (line.*columns[c].amount).toString(2);
        }
    };
    return s;
}

template <class Line>
void refuseLines(const std::vector<Line>& lines, const std::string& today, std::vector<std::string>& refused,
                 std::vector<std::string>& seen)
{
    for (const Line& line : lines) {
        const std::vector<std::string> faults = app::idNumberFaults(line.idNumber, today);
        if (faults.empty()) continue;
        if (std::find(seen.begin(), seen.end(), line.number) != seen.end()) continue;
        seen.push_back(line.number);
        const std::string why = line.idNumber.empty() ? std::string("没有身份证号") : faults.front();
        refused.push_back(line.number + " " + line.name + "：" + why);
    }
}

}  // namespace

const std::vector<DeclarationColumn<DeclarationLine>>& wageDeclarationColumns()
{
    static const std::vector<DeclarationColumn<L>> columns = {
        text("工号", &L::number),
        text("姓名", &L::name),
        text("证件类型", &L::idType),
        text("证件号码", &L::idNumber),
        amount("本期收入", &L::income),
        amount("本期免税收入", &L::taxFree),
        amount("基本养老保险费", &L::pension),
        amount("基本医疗保险费", &L::medical),
        amount("失业保险费", &L::unemployment),
        amount("住房公积金", &L::housingFund),
        amount("累计子女教育", &L::childEducation),
        amount("累计继续教育", &L::continuingEducation),
        amount("累计住房贷款利息", &L::housingLoan),
        amount("累计住房租金", &L::housingRent),
        amount("累计赡养老人", &L::elderly),
        amount("累计3岁以下婴幼儿照护", &L::infantCare),
        amount("累计个人养老金", &L::privatePension),
        amount("企业(职业)年金", &L::annuity),
        amount("商业健康保险", &L::healthInsurance),
        amount("税延养老保险", &L::taxDeferredPension),
        amount("其他", &L::other),
        amount("准予扣除的捐赠额", &L::donation),
        amount("减免税额", &L::relief),
        text("备注", &L::note),
    };
    return columns;
}

const std::vector<DeclarationColumn<BonusLine>>& bonusDeclarationColumns()
{
    static const std::vector<DeclarationColumn<B>> columns = {
        text("工号", &B::number),
        text("姓名", &B::name),
        text("证件类型", &B::idType),
        text("证件号码", &B::idNumber),
        amount("全年一次性奖金额", &B::bonus),
        amount("免税收入", &B::taxFree),
        amount("其他", &B::other),
        amount("准予扣除的捐赠额", &B::donation),
        amount("减免税额", &B::relief),
        text("备注", &B::note),
    };
    return columns;
}

std::vector<std::string> declarationRefusals(const Declaration& d, const std::string& today)
{
    std::vector<std::string> refused, seen;
    refuseLines(d.wages, today, refused, seen);
    refuseLines(d.bonuses, today, refused, seen);
    return refused;
}

std::string refusalNotice(const std::vector<std::string>& refused)
{
    constexpr size_t kNamed = 20;
    std::string text = "以下" + std::to_string(refused.size()) + "名员工没有有效的18位身份证号，不能生成扣缴申报表：";
    for (size_t i = 0; i < refused.size() && i < kNamed; ++i) text += "\n" + refused[i];
    if (refused.size() > kNamed) text += "\n……另有" + std::to_string(refused.size() - kNamed) + "名";
    return text;
}

void writeDeclaration(const std::string& path, const Declaration& d, const std::function<void(int)>& progress)
{
    std::vector<exchange::SheetContent> sheets = {sheetOf(kWageSheet, wageDeclarationColumns(), d.wages)};
    // The bonus sheet is there even when empty: the client reads both sheets of its template.
    sheets.push_back(sheetOf(kBonusSheet, bonusDeclarationColumns(), d.bonuses));
    exchange::writeWorkbook(path, sheets, progress);
}

}  // namespace rsgz::payroll
