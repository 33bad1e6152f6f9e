#pragma once
#include "payroll/windows/Tpay.h"

namespace rsgz::shell {

class Main {};

}  // namespace rsgz::shell
