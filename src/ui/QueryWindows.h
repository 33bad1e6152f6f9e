#pragma once

namespace rsgz::ui {

// The query list definition and the batch change: both work on the main window's pages.
void registerQueryWindows();

}  // namespace rsgz::ui
