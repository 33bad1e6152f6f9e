#pragma once
#include <functional>

namespace rsgz::shell {

// Makes the rights window (权限管理) and the company window (公司情况) openable by caption through
// interaction().openWindow. companyFrameSteps is what the main window does when the company window
// opens, after the module number became 0; it may be empty.
void registerAdminWindows(std::function<void()> companyFrameSteps = {});

}  // namespace rsgz::shell
