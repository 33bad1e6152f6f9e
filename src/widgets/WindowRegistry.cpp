#include "widgets/WindowRegistry.h"

#include <map>

namespace rsgz::ui {

namespace {
std::map<std::string, WindowOpener>& registry()
{
    static std::map<std::string, WindowOpener> windows;
    return windows;
}
}  // namespace

void registerWindow(const std::string& caption, WindowOpener opener) { registry()[caption] = std::move(opener); }

bool openRegisteredWindow(const std::string& caption, QWidget* parent)
{
    auto it = registry().find(caption);
    if (it == registry().end()) return false;
    it->second(parent);
    return true;
}

bool hasRegisteredWindow(const std::string& caption) { return registry().count(caption) != 0; }

std::vector<std::string> registeredCaptions()
{
    std::vector<std::string> out;
    for (const auto& entry : registry()) out.push_back(entry.first);
    return out;
}

}  // namespace rsgz::ui
