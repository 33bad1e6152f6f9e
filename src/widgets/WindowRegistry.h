#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/TDM.h"

class QWidget;

namespace rsgz::ui {

// The modal windows that rules and buttons open by caption. Each window's source registers a
// factory that creates, shows modally and destroys it (see registerProgramWindows); a caption
// without a window is logged and told to the user (WidgetInteraction::openWindow).
using WindowOpener = std::function<void(QWidget* parent)>;
void registerWindow(const std::string& caption, WindowOpener opener);
bool openRegisteredWindow(const std::string& caption, QWidget* parent);
bool hasRegisteredWindow(const std::string& caption);
// Every caption registered, in order (for tests that walk all windows).
std::vector<std::string> registeredCaptions();

// The usual opener: a window over the data module, shown modally and destroyed when it closes.
template <class Window>
void registerModal(const char* caption)
{
    registerWindow(caption, [](QWidget* parent) {
        Window w(app::DM(), parent);
        w.exec();
    });
}

}  // namespace rsgz::ui
