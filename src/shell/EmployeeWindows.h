#pragma once

namespace rsgz::shell {

// Makes the employee window 员工信息 and the editors of its lists openable by caption.
void registerEmployeeWindows();

}  // namespace rsgz::shell
