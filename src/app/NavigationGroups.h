#pragma once
#include <string>
#include <vector>

namespace rsgz::app {

struct NavigationButton {
    std::string text;
    int module = 0;  // 1 to 13; 0 for the buttons of the system group and 月末处理
};

struct NavigationGroup {
    std::string title;
    std::vector<NavigationButton> buttons;  // in display order
};

// The navigation bar: three groups, one open at a time.
const std::vector<NavigationGroup>& navigationGroups();

}  // namespace rsgz::app
