#include "shell/ReportWindows.h"

#include "print/ReportEngine.h"
#include "print/windows/ReportDesignerWindow.h"
#include "print/windows/ReportPreviewWindow.h"
#include "widgets/WindowRegistry.h"

namespace rsgz::shell {

void registerReportWindows()
{
    widgets::registerWindow(app::WindowId::ReportPreview, [](QWidget* parent) { print::ReportPreviewWindow::open(parent); });
    widgets::registerWindow(app::WindowId::ReportDesigner, [](QWidget* parent) {
        print::ReportDesignerWindow w(parent);
        w.exec();
    });
}

}  // namespace rsgz::shell
