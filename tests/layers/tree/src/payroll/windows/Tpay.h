#pragma once
#include "widgets/Grid.h"
#include "shell/Main.h"

namespace rsgz::personnel { struct Row; void pick(); }

namespace rsgz::payroll::tax {

int rate();

}  // namespace rsgz::payroll::tax
