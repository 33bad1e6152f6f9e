#pragma once

namespace rsgz::shell {

// Makes the pickers openable by caption through interaction().openWindow: the employee picker under
// each of its captions (employeePickerCaptions()), 选择物品 and 选择培训课程.
void registerPickerWindows();

}  // namespace rsgz::shell
