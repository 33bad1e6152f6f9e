#pragma once

namespace rsgz::ui {

// The query list definition, the batch change and the combined query windows: all work on the
// main window's pages.
void registerQueryWindows();

}  // namespace rsgz::ui
