#pragma once
#include "app/TDM.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::shell {

// Makes every window the program has built openable by its caption through
// interaction().openWindow. The program calls it once at start; a window that gets built is added
// here (and leaves the list of windows still to come).
void registerProgramWindows();

// The usual opener: a window handed the program's data module, shown modally and destroyed when it
// closes.
template <class Window>
void registerModal(app::WindowId id)
{
    widgets::registerWindow(id, [](QWidget* parent) {
        Window w(app::DM(), parent);
        w.exec();
    });
}

}  // namespace rsgz::shell
