#pragma once

namespace rsgz::shell {

// Makes the record card window (员工档案表格打印) and its definition window (定义订单打印内容)
// openable by caption through interaction().openWindow.
void registerCardWindows();

}  // namespace rsgz::shell
