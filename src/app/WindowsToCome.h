#pragma once
#include <set>
#include <string>

namespace rsgz::app {

// Captions that buttons, menus and record rules already open but whose windows are not built yet.
// Opening one of them tells the user the function is not there yet; opening a caption that is
// neither registered nor listed here is a mistake in the program and is logged as one. A window
// that gets built registers itself and leaves this list.
const std::set<std::string>& windowsToCome();
bool isWindowToCome(const std::string& caption);

}  // namespace rsgz::app
