#include "widgets/WindowRegistry.h"

#include <algorithm>
#include <map>

namespace rsgz::widgets {

namespace {

struct Registration {
    WindowOpener opener;
    int count = 0;
};

std::map<app::WindowId, Registration>& byId()
{
    static std::map<app::WindowId, Registration> windows;
    return windows;
}

// Windows registered by a caption that names no identity.
std::map<std::string, WindowOpener>& byCaption()
{
    static std::map<std::string, WindowOpener> windows;
    return windows;
}

}  // namespace

void registerWindow(app::WindowId id, WindowOpener opener)
{
    Registration& r = byId()[id];
    r.opener = std::move(opener);
    ++r.count;
}

bool openRegisteredWindow(app::WindowId id, QWidget* parent)
{
    const auto it = byId().find(id);
    if (it == byId().end() || !it->second.opener) return false;
    // A copy: the window may register or clear while it is open.
    const WindowOpener opener = it->second.opener;
    opener(parent);
    return true;
}

bool hasRegisteredWindow(app::WindowId id) { return byId().count(id) != 0; }

int registrationCount(app::WindowId id)
{
    const auto it = byId().find(id);
    return it == byId().end() ? 0 : it->second.count;
}

void clearRegisteredWindows()
{
    byId().clear();
    byCaption().clear();
}

void registerWindow(const std::string& caption, WindowOpener opener)
{
    if (const auto id = app::windowIdOf(caption)) return registerWindow(*id, std::move(opener));
    byCaption()[caption] = std::move(opener);
}

bool openRegisteredWindow(const std::string& caption, QWidget* parent)
{
    if (const auto id = app::windowIdOf(caption)) return openRegisteredWindow(*id, parent);
    const auto it = byCaption().find(caption);
    if (it == byCaption().end()) return false;
    const WindowOpener opener = it->second;
    opener(parent);
    return true;
}

bool hasRegisteredWindow(const std::string& caption)
{
    if (const auto id = app::windowIdOf(caption)) return hasRegisteredWindow(*id);
    return byCaption().count(caption) != 0;
}

std::vector<std::string> registeredCaptions()
{
    std::vector<std::string> out;
    for (const auto& entry : byId()) out.push_back(app::windowCaption(entry.first));
    for (const auto& entry : byCaption()) out.push_back(entry.first);
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace rsgz::widgets
