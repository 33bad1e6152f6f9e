#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/WindowId.h"

class QWidget;

namespace rsgz::widgets {

// The modal windows that rules and buttons open. Each window's registration in src/shell gives
// its identity a factory that creates the window over what it edits, shows it modally and
// destroys it (see registerProgramWindows and registerModal there); an identity without a window
// is logged and told to the user (WidgetInteraction::openWindow).
using WindowOpener = std::function<void(QWidget* parent)>;
void registerWindow(app::WindowId id, WindowOpener opener);
bool openRegisteredWindow(app::WindowId id, QWidget* parent);
bool hasRegisteredWindow(app::WindowId id);
// How often the identity was registered since the registry was last cleared: once for every
// window after registerProgramWindows, which clears it first.
int registrationCount(app::WindowId id);
void clearRegisteredWindows();

// The old way, by caption, kept for registrations written before the identities: a caption that
// names a WindowId registers that identity; any other is kept under its caption and opened by it.
void registerWindow(const std::string& caption, WindowOpener opener);
bool openRegisteredWindow(const std::string& caption, QWidget* parent);
bool hasRegisteredWindow(const std::string& caption);
// Every caption registered, identities and the old way alike, sorted (for tests that walk all
// windows).
std::vector<std::string> registeredCaptions();

}  // namespace rsgz::widgets
