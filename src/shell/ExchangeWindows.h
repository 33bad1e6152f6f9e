#pragma once

namespace rsgz::shell {

// 导入EXCEL数据, 导入ACCESS数据 and 导出EXCEL文件 of the menu 数据管理.
void registerExchangeWindows();

}  // namespace rsgz::shell
