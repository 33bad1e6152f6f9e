#pragma once

namespace rsgz::shell {

// The wage-tax windows: 个税扣除信息 (on the employee the record window shows), 缴费方案设置,
// 缴费基数设置, 扣缴申报 and 个人所得税台账 (on the employee the record window shows).
void registerTaxWindows();

}  // namespace rsgz::shell
