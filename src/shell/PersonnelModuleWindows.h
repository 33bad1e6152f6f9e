#pragma once

namespace rsgz::shell {

// The record windows of the personnel modules: training, titles, rewards, transfers, evaluations,
// work articles and the issue editor.
void registerPersonnelModuleWindows();

}  // namespace rsgz::shell
