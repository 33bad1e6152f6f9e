#pragma once
#include <QPointer>
#include <QWidget>

#include "print/ReportPages.h"

class QLabel;
class QScrollArea;

namespace rsgz::print {

class ReportPageView;

// 打印预览: the pages of the report engine's current grid, with paging, zoom, 打印, PDF… and
// 退出. It does not block the window that opened it; a second request reuses the open window.
class ReportPreviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit ReportPreviewWindow(QWidget* parent = nullptr);
    // Takes the engine's definition and rows again and shows the first page.
    void refresh();
    int pageIndex() const { return page_; }
    int pageCount() const { return static_cast<int>(layout_.pages.size()); }
    void showPage(int index);
    enum class Zoom { FitHeight, Actual, FitWidth };
    void setZoom(Zoom z);
    bool print();
    bool exportPdf();

    // Opens the program's one preview window, or brings it forward with the new report.
    static ReportPreviewWindow* open(QWidget* parent);

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void updateView();

    print::ReportLayout layout_;
    print::PageSetup pageSetup_;
    int page_ = 0;
    Zoom zoom_ = Zoom::FitWidth;
    double scale_ = 1.0;
    QScrollArea* scroll_ = nullptr;
    ReportPageView* view_ = nullptr;
    QLabel* pageLabel_ = nullptr;
};

}  // namespace rsgz::print
