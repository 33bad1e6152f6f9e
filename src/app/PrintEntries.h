#pragma once
#include <string>
#include <vector>

namespace rsgz::app {

// The entries of the 打印 menu in menu order.
const std::vector<std::string>& allPrintEntries();

// The print entries that show while the given module is current; every other one is hidden.
// The system group (module 0) and modules without printing show none.
std::vector<std::string> SetPrintVisible(int module);

}  // namespace rsgz::app
