#include "shell/ReportWindows.h"

#include "print/ReportEngine.h"
#include "print/windows/ReportDesignerWindow.h"
#include "print/windows/ReportPreviewWindow.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::ui {

void registerReportWindows()
{
    registerWindow(print::kPreviewCaption, [](QWidget* parent) { ReportPreviewWindow::open(parent); });
    registerWindow(print::kDesignerCaption, [](QWidget* parent) {
        ReportDesignerWindow w(parent);
        w.exec();
    });
}

}  // namespace rsgz::ui
