#include "payroll/TaxRules.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace rsgz::payroll::tax {

namespace {

constexpr int64_t kFen = Money::kScale / 100;

Money yuan(int64_t y) { return Money::fromUnits(y * Money::kScale); }

int64_t unitSize(RoundUnit u)
{
    switch (u) {
    case RoundUnit::Fen: return kFen;
    case RoundUnit::Jiao: return kFen * 10;
    case RoundUnit::Yuan: return Money::kScale;
    }
    return kFen;
}

// num / den (den > 0) in units of 0.0001 yuan, brought to a whole number of `unit` units.
Money roundRatio(__int128 num, __int128 den, int64_t unit, RoundMode mode)
{
    const bool negative = num < 0;
    const __int128 mag = negative ? -num : num;
    const __int128 step = den * unit;
    __int128 q = mag / step;
    const __int128 r = mag % step;
    if (mode == RoundMode::Up ? r != 0 : 2 * r >= step) ++q;
    const __int128 units = q * unit;
    if (units > INT64_MAX) throw db::MoneyRangeError();
    return Money::fromUnits(static_cast<int64_t>(negative ? -units : units));
}

// A per-cent rate as a whole number of ten-thousandths of a per cent.
int64_t rateUnits(double percent) { return std::llround(percent * 10000.0); }

Money percentToFen(Money amount, int percent)
{
    return roundRatio(static_cast<__int128>(amount.units()) * percent, 100, kFen, RoundMode::HalfUp);
}

bool in(const std::vector<std::string>& list, std::string_view s)
{
    return std::find(list.begin(), list.end(), s) != list.end();
}

std::string quoted(std::string_view s) { return "“" + std::string(s) + "”"; }

}  // namespace

// --- amounts ---------------------------------------------------------------------------------------

Money roundTo(Money amount, RoundUnit unit, RoundMode mode) { return roundRatio(amount.units(), 1, unitSize(unit), mode); }

Money rateOf(Money amount, double percent, RoundUnit unit, RoundMode mode)
{
    return roundRatio(static_cast<__int128>(amount.units()) * rateUnits(percent), 100 * 10000, unitSize(unit), mode);
}

std::optional<RoundUnit> roundUnitFrom(std::string_view text)
{
    if (text == "分") return RoundUnit::Fen;
    if (text == "角") return RoundUnit::Jiao;
    if (text == "元") return RoundUnit::Yuan;
    return std::nullopt;
}

std::optional<RoundMode> roundModeFrom(std::string_view text)
{
    if (text == "四舍五入") return RoundMode::HalfUp;
    if (text == "进位") return RoundMode::Up;
    return std::nullopt;
}

const char* roundUnitName(RoundUnit unit)
{
    return unit == RoundUnit::Fen ? "分" : unit == RoundUnit::Jiao ? "角" : "元";
}

const char* roundModeName(RoundMode mode) { return mode == RoundMode::HalfUp ? "四舍五入" : "进位"; }

std::string yuanText(Money amount)
{
    const std::string s = amount.toString(2);
    const size_t start = s[0] == '-' ? 1 : 0, point = s.find('.');
    std::string out = s.substr(0, start);
    for (size_t i = start; i < point; ++i) {
        if (i > start && (point - i) % 3 == 0) out += ',';
        out += s[i];
    }
    return out + s.substr(point);
}

// --- months ----------------------------------------------------------------------------------------

std::string YearMonth::text() const
{
    return std::to_string(year) + (month < 10 ? "-0" : "-") + std::to_string(month);
}

std::optional<YearMonth> parseYearMonth(std::string_view text)
{
    const size_t dash = text.find('-');
    if (dash != 4 || text.size() < 6 || text.size() > 7) return std::nullopt;
    YearMonth ym;
    const char* end = text.data() + text.size();
    auto y = std::from_chars(text.data(), text.data() + 4, ym.year);
    auto m = std::from_chars(text.data() + 5, end, ym.month);
    if (y.ec != std::errc() || y.ptr != text.data() + 4 || m.ec != std::errc() || m.ptr != end) return std::nullopt;
    if (ym.year < 1900 || ym.year > 2999 || ym.month < 1 || ym.month > 12) return std::nullopt;
    return ym;
}

// --- rate tables -----------------------------------------------------------------------------------

const std::vector<RateBracket>& cumulativeRates()
{
    static const std::vector<RateBracket> t = {
        {yuan(36000), 3, yuan(0)},        {yuan(144000), 10, yuan(2520)}, {yuan(300000), 20, yuan(16920)},
        {yuan(420000), 25, yuan(31920)},  {yuan(660000), 30, yuan(52920)}, {yuan(960000), 35, yuan(85920)},
        {Money(), 45, yuan(181920)},
    };
    return t;
}

const std::vector<RateBracket>& monthlyRates()
{
    static const std::vector<RateBracket> t = {
        {yuan(3000), 3, yuan(0)},     {yuan(12000), 10, yuan(210)}, {yuan(25000), 20, yuan(1410)},
        {yuan(35000), 25, yuan(2660)}, {yuan(55000), 30, yuan(4410)}, {yuan(80000), 35, yuan(7160)},
        {Money(), 45, yuan(15160)},
    };
    return t;
}

const RateBracket& bracketOf(const std::vector<RateBracket>& table, Money amount)
{
    for (const RateBracket& b : table)
        if (b.upTo == Money() || amount <= b.upTo) return b;
    return table.back();
}

// --- cumulative withholding ---------------------------------------------------------------------------

int firstMonthEmployed(std::string_view hireDate, int year)
{
    int y = 0, m = 0;
    if (hireDate.size() < 7 || hireDate[4] != '-') return 1;
    if (std::from_chars(hireDate.data(), hireDate.data() + 4, y).ec != std::errc()) return 1;
    const auto mr = std::from_chars(hireDate.data() + 5, hireDate.data() + 7, m);
    if (mr.ec != std::errc() || m < 1 || m > 12) return 1;
    if (y < year) return 1;
    return y > year ? 13 : m;
}

Money basicDeduction(int firstMonth, int month, bool sixtyThousand)
{
    if (sixtyThousand) return yuan(kYearDeductionYuan);
    const int months = std::max(0, month - std::max(firstMonth, 1) + 1);
    return yuan(kMonthlyDeductionYuan * months);
}

CumulativeResult cumulativeWithholding(const CumulativeInput& in)
{
    CumulativeResult r;
    r.taxable = in.income - in.taxFree - in.basicDeduction - in.special - in.additional - in.other;
    if (r.taxable < Money()) r.taxable = Money();
    const RateBracket& b = bracketOf(cumulativeRates(), r.taxable);
    r.percent = b.percent;
    r.quickDeduction = b.quickDeduction;
    r.taxDue = percentToFen(r.taxable, b.percent) - b.quickDeduction;
    if (r.taxDue < Money()) r.taxDue = Money();
    r.tax = r.taxDue - in.relief - in.withheld;
    if (r.tax < Money()) r.tax = Money();  // nothing is refunded during the year
    return r;
}

// --- the annual bonus ----------------------------------------------------------------------------------

namespace {
const RateBracket& bonusBracket(Money bonus)
{
    // bonus ÷ 12 against the monthly limits, compared as bonus against 12 × limit so no division rounds.
    for (const RateBracket& b : monthlyRates())
        if (b.upTo == Money() || bonus.units() <= b.upTo.units() * 12) return b;
    return monthlyRates().back();
}
}  // namespace

BonusTax bonusTaxOnItsOwn(Money bonus)
{
    BonusTax t;
    if (bonus <= Money()) return t;
    const RateBracket& b = bonusBracket(bonus);
    t.percent = b.percent;
    t.quickDeduction = b.quickDeduction;
    t.tax = percentToFen(bonus, b.percent) - b.quickDeduction;
    if (t.tax < Money()) t.tax = Money();
    return t;
}

std::string bonusWarning(Money bonus)
{
    const Money* limit = nullptr;
    Money twelve;
    for (const RateBracket& b : monthlyRates()) {
        if (b.upTo == Money()) break;
        const Money l = Money::fromUnits(b.upTo.units() * 12);
        if (bonus > l) twelve = l, limit = &b.upTo;
    }
    if (!limit) return {};
    const Money netAtLimit = twelve - bonusTaxOnItsOwn(twelve).tax;
    const Money net = bonus - bonusTaxOnItsOwn(bonus).tax;
    if (!(net < netAtLimit)) return {};
    const Money more = bonus - twelve;
    const Money moreTax = bonusTaxOnItsOwn(bonus).tax - bonusTaxOnItsOwn(twelve).tax;
    return "全年一次性奖金 " + yuanText(bonus) + " 元刚超过 " + yuanText(twelve) + " 元的税率临界点：多发 " +
           yuanText(more) + " 元，个税多 " + yuanText(moreTax) + " 元，税后反而少得 " + yuanText(netAtLimit - net) +
           " 元。";
}

// --- special additional deductions -----------------------------------------------------------------------

const std::vector<std::string>& additionalDeductionCategories()
{
    static const std::vector<std::string> c = {kChildEducation, kContinuingEducation, kHousingLoan,
                                               kHousingRent,    kElderly,             kInfantCare};
    return c;
}

namespace {
const char* const kOnlyChild = "独生子女";
const char* const kSharedCare = "非独生子女（分摊）";
const char* const kDegree = "学历（学位）继续教育";
const char* const kCertificate = "职业资格继续教育";
const char* const kCityLarge = "直辖市、省会、计划单列市";
const char* const kCityMiddle = "市辖区户籍人口超过100万的城市";
const char* const kCitySmall = "市辖区户籍人口不超过100万的城市";
constexpr int kDegreeMonths = 48;

bool perChild(std::string_view category) { return category == kChildEducation || category == kInfantCare; }
}  // namespace

const std::vector<std::string>& deductionDetails(std::string_view category)
{
    static const std::vector<std::string> none, elderly = {kOnlyChild, kSharedCare},
                                               education = {kDegree, kCertificate},
                                               rent = {kCityLarge, kCityMiddle, kCitySmall};
    if (category == kElderly) return elderly;
    if (category == kContinuingEducation) return education;
    if (category == kHousingRent) return rent;
    return none;
}

Money standardOf(const AdditionalDeduction& d)
{
    if (perChild(d.category)) return yuan(2000 * std::max(d.children, 0));
    if (d.category == kHousingLoan) return yuan(1000);
    if (d.category == kElderly) return d.detail == kOnlyChild ? yuan(3000) : d.detail == kSharedCare ? yuan(1500) : Money();
    if (d.category == kContinuingEducation)
        return d.detail == kDegree ? yuan(400) : d.detail == kCertificate ? yuan(3600) : Money();
    if (d.category == kHousingRent) {
        if (d.detail == kCityLarge) return yuan(1500);
        if (d.detail == kCityMiddle) return yuan(1100);
        if (d.detail == kCitySmall) return yuan(800);
    }
    return Money();
}

namespace {
std::string checkMonths(const AdditionalDeduction& d)
{
    const std::string c = quoted(d.category);
    const auto from = parseYearMonth(d.from);
    if (!from) return c + "的起始年月“" + d.from + "”无效，应为“年-月”，如2026-01！";
    if (d.to.empty()) return {};
    const auto to = parseYearMonth(d.to);
    if (!to) return c + "的结束年月“" + d.to + "”无效，应为“年-月”，如2026-12！";
    if (*to < *from) return c + "的结束年月早于起始年月！";
    if (d.detail == kDegree && to->index() - from->index() + 1 > kDegreeMonths)
        return c + "的学历（学位）继续教育最长扣除48个月！";
    if (d.detail == kCertificate && to->index() != from->index())
        return c + "的职业资格继续教育只在取得证书的当月扣除一次，起止年月应相同！";
    return {};
}

std::string joined(const std::vector<std::string>& v)
{
    std::string out;
    for (const std::string& s : v) out += (out.empty() ? "" : "、") + s;
    return out;
}
}  // namespace

std::string checkAdditionalDeduction(const AdditionalDeduction& d)
{
    const std::string c = quoted(d.category);
    if (d.category == kSeriousIllness) return c + "在年度汇算时扣除，预扣预缴时不能扣除！";
    if (!in(additionalDeductionCategories(), d.category)) return "专项附加扣除类别" + c + "无效！";
    const auto& details = deductionDetails(d.category);
    if (!details.empty() && !in(details, d.detail)) return c + "请选择扣除方式：" + joined(details) + "！";
    if (perChild(d.category) && (d.children < 1 || d.children > 20)) return c + "请填写子女人数（1到20）！";
    if (std::string m = checkMonths(d); !m.empty()) return m;
    if (d.monthly < Money()) return c + "的每月金额不能为负数！";
    const Money standard = standardOf(d);
    if (d.monthly > standard)
        return c + "每月扣除金额 " + yuanText(d.monthly) + " 元超过标准 " + yuanText(standard) + " 元！";
    return {};
}

namespace {
bool overlaps(const AdditionalDeduction& a, const AdditionalDeduction& b)
{
    const auto af = parseYearMonth(a.from), bf = parseYearMonth(b.from);
    if (!af || !bf) return false;
    const int aEnd = a.to.empty() ? INT32_MAX : parseYearMonth(a.to).value_or(*af).index();
    const int bEnd = b.to.empty() ? INT32_MAX : parseYearMonth(b.to).value_or(*bf).index();
    return af->index() <= bEnd && bf->index() <= aEnd;
}

bool housing(std::string_view c) { return c == kHousingLoan || c == kHousingRent; }
}  // namespace

std::string checkAgainstOthers(const AdditionalDeduction& d, const std::vector<AdditionalDeduction>& others)
{
    for (const AdditionalDeduction& o : others) {
        if (!overlaps(d, o)) continue;
        if (housing(d.category) && housing(o.category) && d.category != o.category)
            return "“住房租金”和“住房贷款利息”不能在同一月份同时扣除（" + o.category + "已申报自" + o.from + "起）！";
        // Children and courses are declared one by one; everything else once for a month.
        if (d.category == o.category && !perChild(d.category) && d.category != kContinuingEducation)
            return quoted(d.category) + "在这些月份已经申报过（自" + o.from + "起），月份不能重叠！";
    }
    return {};
}

Money additionalDeducted(const AdditionalDeduction& d, int year, int firstMonth, int month)
{
    const auto from = parseYearMonth(d.from);
    if (!from) return Money();
    const int start = std::max(from->index(), YearMonth{year, std::max(firstMonth, 1)}.index());
    int end = YearMonth{year, month}.index();
    if (!d.to.empty()) {
        const auto to = parseYearMonth(d.to);
        if (!to) return Money();
        end = std::min(end, to->index());
    }
    const int months = end - start + 1;
    return months > 0 ? Money::fromUnits(d.monthly.units() * months) : Money();
}

// --- other deductions, contributions, kinds ------------------------------------------------------------

const std::vector<std::string>& otherDeductionCategories()
{
    static const std::vector<std::string> c = {kPrivatePension, kAnnuity,  kHealthInsurance, kTaxDeferredPension,
                                               kOtherDeduction, kDonation, kRelief};
    return c;
}

const std::vector<std::string>& standardContributionKinds()
{
    static const std::vector<std::string> k = {kPension, kMedical, kUnemployment, kInjury, kMaternity, kHousingFund};
    return k;
}

bool isSpecialDeductionKind(std::string_view kind)
{
    return kind == kPension || kind == kMedical || kind == kUnemployment || kind == kHousingFund;
}

bool usesHousingFundBase(std::string_view kind) { return kind.find("公积金") != std::string_view::npos; }

ContributionAmount contributionOf(const ContributionRule& rule, Money base)
{
    ContributionAmount a;
    a.kind = rule.kind;
    if (base <= Money()) return a;
    a.base = base;
    if (rule.floor > Money() && a.base < rule.floor) a.base = rule.floor;
    if (rule.ceiling > Money() && a.base > rule.ceiling) a.base = rule.ceiling;
    a.employee = rateOf(a.base, rule.employeeRate, rule.unit, rule.mode) + rule.employeeAddOn;
    a.employer = rateOf(a.base, rule.employerRate, rule.unit, rule.mode) + rule.employerAddOn;
    return a;
}

const std::vector<std::string>& fixedItemKinds()
{
    static const std::vector<std::string> k = [] {
        std::vector<std::string> v = {kKindIncome, kKindTaxFree};
        v.insert(v.end(), standardContributionKinds().begin(), standardContributionKinds().end());
        v.insert(v.end(), {kKindOtherDeduction, kKindBonus, kKindAfterTax, kKindTax, kKindNet, kKindOther});
        return v;
    }();
    return k;
}

const char* taxMethodName(TaxMethod m) { return m == TaxMethod::Cumulative ? kCumulativeMethod : kMonthlyMethod; }

}  // namespace rsgz::payroll::tax
