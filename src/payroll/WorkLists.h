#pragma once
#include "db/Money.h"
#include "db/Value.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::payroll {

// The amounts of the piece-rate and time-rate lists: each product rounded to four decimals, half
// to even, as the currency columns keep them; an empty operand counts as 0.
db::Money workAmount(const db::Value& rate, const db::Value& quantity);

struct TimeAmounts {
    db::Money amount, overtime, gross;  // 金额, 加班金额, 应发工资
};
TimeAmounts timeAmounts(const db::Value& rate, const db::Value& hours, const db::Value& overtimeRate,
                        const db::Value& overtimeHours, const db::Value& bonus);

// Declares the computed columns of jjgz (金额) and jsgz (金额, 加班金额, 应发工资) and binds their
// calculation; they are never stored.
void bindWorkListAmounts(app::TDM& dm);

}  // namespace rsgz::payroll
