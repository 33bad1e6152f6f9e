#pragma once

namespace rsgz::personnel {

// The record windows of the personnel modules: training, titles, rewards, transfers, evaluations,
// work articles and the issue editor.
void registerPersonnelModuleWindows();

}  // namespace rsgz::personnel
