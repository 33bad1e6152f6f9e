#pragma once

namespace rsgz::shell {

// Makes the dictionary and department windows openable by caption through interaction().openWindow:
// 字典管理 (on what zidian holds), 基本资料设置, 部门分类字典编辑 (on the last
// openDepartmentEditor request) and the date picker 取得当前日期.
void registerDictionaryWindows();

}  // namespace rsgz::shell
