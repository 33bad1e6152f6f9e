#include "app/Interaction.h"

#include <exception>

#include "db/DbError.h"

namespace rsgz::app {

namespace {
// Used before the program installs its windows (and by tools): answers no and chooses nothing.
class SilentInteraction : public Interaction {
public:
    void showMessage(const std::string&) override {}
    bool ask(const std::string&) override { return false; }
    void showError(const std::string&) override {}
    std::string openFileName(const std::string&, const std::string&) override { return {}; }
    std::string saveFileName(const std::string&, const std::string&) override { return {}; }
    void openWindow(WindowId) override {}
    bool openUrl(const std::string&) override { return false; }
};

SilentInteraction silent;
Interaction* current = &silent;
}  // namespace

void Interaction::openWindow(const std::string& caption)
{
    if (const std::optional<WindowId> id = windowIdOf(caption)) openWindow(*id);
    else openUnlistedWindow(caption);
}

Interaction& interaction() { return *current; }

void setInteraction(Interaction* impl) { current = impl ? impl : &silent; }

bool runAction(const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (const db::Abort&) {
    } catch (const std::exception& e) {
        interaction().showError(e.what());
    }
    return false;
}

}  // namespace rsgz::app
