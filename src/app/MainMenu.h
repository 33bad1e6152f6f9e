#pragma once
#include <string>
#include <vector>

namespace rsgz::app {

struct MenuEntry {
    std::string text;
    bool separatorAfter = false;
};

struct Menu {
    std::string title;  // with its accelerator, as in 数据管理[&D]
    std::vector<MenuEntry> entries;
};

// The main window's menus in menu-bar order. 关闭软件 follows them as an entry of the bar itself.
const std::vector<Menu>& mainMenus();
inline constexpr const char* kCloseEntry = "关闭软件";

}  // namespace rsgz::app
