#pragma once

namespace rsgz::shell {

// The query list definition, the batch change and the combined query windows: all work on the
// main window's pages.
void registerQueryWindows();

}  // namespace rsgz::shell
