#pragma once

namespace rsgz::shell {

// Makes backup, restore, compaction and initialization (数据备份, 数据恢复, 压缩数据库, 数据初始化)
// and the initialization's password confirmation openable by caption through interaction().openWindow.
void registerMaintenanceWindows();

}  // namespace rsgz::shell
