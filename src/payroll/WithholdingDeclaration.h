#pragma once
// The month's withholding declaration for the tax office's client: a workbook with one line per
// employee paid that month and the annual one-off bonuses on a sheet of their own. The columns of
// both sheets are the tables below, so that a change of the client's import sheet is one edit there.
#include <functional>
#include <string>
#include <vector>

#include "db/Money.h"

namespace rsgz::payroll {

using db::Money;

// One employee's wages of the month. Amounts of the month, except the 累计 columns of the special
// additional deductions, which run from January to this month.
struct DeclarationLine {
    std::string number, name, idType = "居民身份证", idNumber;
    Money income, taxFree;
    Money pension, medical, unemployment, housingFund;
    Money childEducation, continuingEducation, housingLoan, housingRent, elderly, infantCare;
    Money privatePension, annuity, healthInsurance, taxDeferredPension, other, donation, relief;
    std::string note;
};

// One employee's annual one-off bonus taxed on its own.
struct BonusLine {
    std::string number, name, idType = "居民身份证", idNumber;
    Money bonus, taxFree, other, donation, relief;
    std::string note;
};

// A column of a sheet: its heading and the member it shows (a text or an amount).
template <class Line>
struct DeclarationColumn {
    const char* heading;
    std::string Line::*text = nullptr;
    Money Line::*amount = nullptr;
};
const std::vector<DeclarationColumn<DeclarationLine>>& wageDeclarationColumns();
const std::vector<DeclarationColumn<BonusLine>>& bonusDeclarationColumns();

inline constexpr const char* kWageSheet = "正常工资薪金所得";
inline constexpr const char* kBonusSheet = "全年一次性奖金收入";

struct Declaration {
    int year = 0, month = 0;
    std::vector<DeclarationLine> wages;
    std::vector<BonusLine> bonuses;
};

// The employees the client would refuse, each "工号 姓名：what is wrong with the number", in the
// order of the lines, each employee once; empty when every line may be declared. today: yyyy-mm-dd.
std::vector<std::string> declarationRefusals(const Declaration& d, const std::string& today);

// The refusal notice for those lines: the first 20 named, then how many more.
std::string refusalNotice(const std::vector<std::string>& refused);

// Writes the workbook (both sheets, amounts as numbers with two decimals, numbers and names as
// text), under a temporary name renamed at the end. Throws exchange::ExportError.
void writeDeclaration(const std::string& path, const Declaration& d, const std::function<void(int)>& progress = {});

}  // namespace rsgz::payroll
