#pragma once

namespace rsgz::shell {

// Registers 打印预览 (not blocking the caller; the open preview is reused) and 报表设置 (modal),
// the two windows of the report engine that print::previewGrid and print::designGrid open.
void registerReportWindows();

}  // namespace rsgz::shell
