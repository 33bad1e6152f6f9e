#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Money.h"

// The rules of wage-tax withholding and of social insurance, as plain functions over amounts. Nothing
// here reads the database; the readers in TaxLaw.h and YearToDate.h bring the figures.
namespace rsgz::payroll::tax {

using db::Money;

// --- amounts -----------------------------------------------------------------------------------

enum class RoundUnit { Fen, Jiao, Yuan };    // 分, 角, 元
enum class RoundMode { HalfUp, Up };         // 四舍五入, 进位
// Brought to the unit: half away from zero, or away from zero for any remainder.
Money roundTo(Money amount, RoundUnit unit, RoundMode mode);
inline Money toFen(Money amount) { return roundTo(amount, RoundUnit::Fen, RoundMode::HalfUp); }
// amount × percent / 100, rounded once, straight to the unit. The rate is taken to four decimals
// of a per cent (8, 0.5, 12.25), exactly.
Money rateOf(Money amount, double percent, RoundUnit unit, RoundMode mode);

// "分" "角" "元" and "四舍五入" "进位", as the scheme table keeps them; nullopt for anything else.
std::optional<RoundUnit> roundUnitFrom(std::string_view text);
std::optional<RoundMode> roundModeFrom(std::string_view text);
const char* roundUnitName(RoundUnit unit);
const char* roundModeName(RoundMode mode);

// --- months ------------------------------------------------------------------------------------

// A month of the year as the deduction tables keep it, "yyyy-mm".
struct YearMonth {
    int year = 0, month = 0;
    int index() const { return year * 12 + (month - 1); }
    auto operator<=>(const YearMonth&) const = default;
    std::string text() const;
};
// "2026-03" (also "2026-3"); nullopt for anything else or a month outside 1–12, a year outside 1900–2999.
std::optional<YearMonth> parseYearMonth(std::string_view text);

// --- the rate tables -----------------------------------------------------------------------------

struct RateBracket {
    Money upTo;       // upper limit, inclusive: an amount on the limit is in this bracket; 0 for the last
    int percent = 0;
    Money quickDeduction;
};
// 预扣率表 of cumulative withholding (yearly amounts) and the monthly table the annual bonus uses.
const std::vector<RateBracket>& cumulativeRates();
const std::vector<RateBracket>& monthlyRates();
const RateBracket& bracketOf(const std::vector<RateBracket>& table, Money amount);

// --- cumulative withholding -----------------------------------------------------------------------

inline constexpr int64_t kMonthlyDeductionYuan = 5000;
inline constexpr int64_t kYearDeductionYuan = 60000;

// 累计减除费用 of month `month`: 5,000 for every month from the first month employed in the year,
// or 60,000 from January when the employer chose so for an employee paid at most 60,000 last year.
Money basicDeduction(int firstMonthEmployed, int month, bool sixtyThousand);
// The first month of the year in which a hire date (yyyy-mm-dd, may be empty) counts: January when
// hired before the year or the date is unknown, 13 when hired after it.
int firstMonthEmployed(std::string_view hireDate, int year);

// Every figure summed from January to this month (this month's row included).
struct CumulativeInput {
    Money income, taxFree, basicDeduction, special, additional, other;
    Money relief;    // 累计减免税额
    Money withheld;  // 累计已预扣预缴税额, before this row
};

struct CumulativeResult {
    Money taxable;       // 累计预扣预缴应纳税所得额, never below 0
    int percent = 0;     // 预扣率
    Money quickDeduction;
    Money taxDue;        // taxable × rate − quick deduction, to the fen
    Money tax;           // this row's withholding, never below 0
};
CumulativeResult cumulativeWithholding(const CumulativeInput& in);

// --- the annual one-off bonus ------------------------------------------------------------------------

struct BonusTax {
    int percent = 0;
    Money quickDeduction;
    Money tax;
};
// Taxed on its own: bonus ÷ 12 picks the monthly bracket; tax = bonus × rate − quick deduction.
BonusTax bonusTaxOnItsOwn(Money bonus);
// Said when the bonus lies just above a bracket limit, where it brings less after tax than the
// limit itself would; empty otherwise.
std::string bonusWarning(Money bonus);

// --- special additional deductions --------------------------------------------------------------------

inline constexpr const char* kChildEducation = "子女教育";
inline constexpr const char* kInfantCare = "3岁以下婴幼儿照护";
inline constexpr const char* kElderly = "赡养老人";
inline constexpr const char* kContinuingEducation = "继续教育";
inline constexpr const char* kHousingLoan = "住房贷款利息";
inline constexpr const char* kHousingRent = "住房租金";
inline constexpr const char* kSeriousIllness = "大病医疗";

// The categories withheld monthly, in the order the declaration lists them.
const std::vector<std::string>& additionalDeductionCategories();
// The ways a category is declared (only child or not, degree or certificate, the city's class);
// empty for a category that has one standard.
const std::vector<std::string>& deductionDetails(std::string_view category);

// One declared deduction: what the employee declared for which months.
struct AdditionalDeduction {
    std::string category;
    std::string detail;   // 扣除方式, one of deductionDetails(category)
    int children = 0;     // 子女教育 and 婴幼儿照护
    std::string from, to; // yyyy-mm; `to` empty while it lasts
    Money monthly;        // the amount deducted each month
};

// The monthly standard of a declaration (2,000 per child, 3,000 for an only child …); 0 when the
// category or the detail is unknown.
Money standardOf(const AdditionalDeduction& d);
// Empty when the declaration may be kept; else the refusal, naming the category.
std::string checkAdditionalDeduction(const AdditionalDeduction& d);
// The same against the employee's other declarations (rent and loan interest in the same months).
std::string checkAgainstOthers(const AdditionalDeduction& d, const std::vector<AdditionalDeduction>& others);
// What the declaration deducts in the months of a year up to `month`, from `firstMonth` on.
Money additionalDeducted(const AdditionalDeduction& d, int year, int firstMonth, int month);

// --- other lawful deductions ------------------------------------------------------------------------

inline constexpr const char* kPrivatePension = "个人养老金";
inline constexpr const char* kAnnuity = "企业(职业)年金";
inline constexpr const char* kHealthInsurance = "商业健康保险";
inline constexpr const char* kTaxDeferredPension = "税延养老保险";
inline constexpr const char* kOtherDeduction = "其他";
inline constexpr const char* kDonation = "准予扣除的捐赠额";
inline constexpr const char* kRelief = "减免税额";  // taken off the tax, not the income
const std::vector<std::string>& otherDeductionCategories();

// --- contributions -----------------------------------------------------------------------------------

inline constexpr const char* kPension = "养老保险";
inline constexpr const char* kMedical = "医疗保险";
inline constexpr const char* kUnemployment = "失业保险";
inline constexpr const char* kInjury = "工伤保险";
inline constexpr const char* kMaternity = "生育保险";
inline constexpr const char* kHousingFund = "住房公积金";
const std::vector<std::string>& standardContributionKinds();
// The employee's parts of these kinds are 专项扣除; of any other kind they are not.
bool isSpecialDeductionKind(std::string_view kind);
// 住房公积金 (and kinds named like it) take the housing-fund base, every other kind the
// social-insurance base.
bool usesHousingFundBase(std::string_view kind);

struct ContributionRule {
    std::string kind;
    double employeeRate = 0, employerRate = 0;  // per cent
    Money employeeAddOn, employerAddOn;         // fixed monthly amounts
    Money floor, ceiling;                       // 0: no bound
    RoundUnit unit = RoundUnit::Fen;
    RoundMode mode = RoundMode::HalfUp;
    std::string validFrom;                      // yyyy-mm
};

struct ContributionAmount {
    std::string kind;
    Money base;  // after the floor and the ceiling
    Money employee, employer;
};
// The base clamped to the floor and ceiling, each part rounded as the rule says, the add-on added.
// A base of 0 (none entered) pays nothing.
ContributionAmount contributionOf(const ContributionRule& rule, Money base);

// --- item kinds --------------------------------------------------------------------------------------

inline constexpr const char* kKindIncome = "收入";
inline constexpr const char* kKindTaxFree = "免税收入";
inline constexpr const char* kKindOtherDeduction = "其他扣除";
inline constexpr const char* kKindBonus = "全年一次性奖金";
inline constexpr const char* kKindAfterTax = "税后扣款";
inline constexpr const char* kKindTax = "个税";
inline constexpr const char* kKindNet = "实发";
inline constexpr const char* kKindOther = "其他";
// The fixed kinds with the standard contribution kinds after 免税收入; a scheme's own kinds are
// added by itemKindChoices() in TaxLaw.h.
const std::vector<std::string>& fixedItemKinds();

// --- tax method -------------------------------------------------------------------------------------

enum class TaxMethod { Cumulative, Monthly };
inline constexpr const char* kCumulativeMethod = "累计预扣";
inline constexpr const char* kMonthlyMethod = "按月计税";
const char* taxMethodName(TaxMethod m);

// Amount text with two decimals and thousands commas, for messages.
std::string yuanText(Money amount);

}  // namespace rsgz::payroll::tax
