#include "payroll/WorkLists.h"

#include "app/TDM.h"
#include "app/rules/RecordRules.h"

namespace rsgz::payroll {

using db::Money;

namespace {

// A quantity or a time is taken to four decimals first, as typed, so 0.3 is three thousandths
// of a unit and not the binary number just below it.
Money decimal(const db::Value& v) { return v.isNull() ? Money() : Money::fromDouble(v.toDouble()); }

}  // namespace

Money workAmount(const db::Value& rate, const db::Value& quantity)
{
    if (rate.isNull() || quantity.isNull()) return Money();
    // Both at four decimals: the exact product has eight, brought back to four half to even.
    const __int128 product = static_cast<__int128>(rate.toMoney().units()) * decimal(quantity).units();
    const __int128 scale = Money::kScale;
    __int128 whole = product / scale, rest = product % scale;
    if (rest < 0) { rest += scale; --whole; }
    if (rest * 2 > scale || (rest * 2 == scale && whole % 2 != 0)) ++whole;
    return Money::fromUnits(static_cast<int64_t>(whole));
}

TimeAmounts timeAmounts(const db::Value& rate, const db::Value& hours, const db::Value& overtimeRate,
                        const db::Value& overtimeHours, const db::Value& bonus)
{
    TimeAmounts t;
    t.amount = workAmount(rate, hours);
    t.overtime = workAmount(overtimeRate, overtimeHours);
    t.gross = t.amount + t.overtime + (bonus.isNull() ? Money() : bonus.toMoney());
    return t;
}

void bindWorkListAmounts(app::TDM& dm)
{
    dm.jjgz.clearCalcFields();
    dm.jjgz.addCalcField("金额", db::FieldType::Currency);
    app::appendRule(dm.jjgz.rules().calculate, [](db::CalcRow& r) {
        r.set("金额", workAmount(r.get("工序单价"), r.get("完成数量")));
    });
    dm.jsgz.clearCalcFields();
    for (const char* f : {"金额", "加班金额", "应发工资"}) dm.jsgz.addCalcField(f, db::FieldType::Currency);
    app::appendRule(dm.jsgz.rules().calculate, [](db::CalcRow& r) {
        const TimeAmounts t = timeAmounts(r.get("计时单价"), r.get("时间"), r.get("加班单价"), r.get("加班时间"), r.get("奖金"));
        r.set("金额", t.amount);
        r.set("加班金额", t.overtime);
        r.set("应发工资", t.gross);
    });
}

}  // namespace rsgz::payroll
