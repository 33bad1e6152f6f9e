#pragma once

namespace rsgz::shell {

// Makes 银行代发工资文件制作 and 银行报盘文件格式设置 openable by caption. Both work on the salary
// view of the salary table page; the file window opens only from that page.
void registerBankWindows();

}  // namespace rsgz::shell
