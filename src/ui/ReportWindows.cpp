#include "ui/ReportWindows.h"

#include "print/ReportEngine.h"
#include "ui/ReportDesignerWindow.h"
#include "ui/ReportPreviewWindow.h"
#include "ui/WindowRegistry.h"

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
