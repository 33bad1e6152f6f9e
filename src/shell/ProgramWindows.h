#pragma once

namespace rsgz::shell {

// Makes every window the program has built openable by its caption through
// interaction().openWindow. The program calls it once at start; a window that gets built is added
// here (and leaves the list of windows still to come).
void registerProgramWindows();

}  // namespace rsgz::shell
