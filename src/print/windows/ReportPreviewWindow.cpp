#include "print/windows/ReportPreviewWindow.h"

#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "print/ReportEngine.h"
#include "print/windows/ReportPainter.h"
#include "widgets/WindowStyle.h"

namespace rsgz::print {

// One page on screen: white paper with a shadow, painted by the same code as the printer.
class ReportPageView : public QWidget {
public:
    explicit ReportPageView(QWidget* parent) : QWidget(parent) { setObjectName("reportPage"); }
    void setPage(const print::ReportPage* page, double widthMm, double heightMm, double pxPerMm)
    {
        page_ = page;
        pxPerMm_ = pxPerMm;
        setFixedSize(static_cast<int>(widthMm * pxPerMm) + 6, static_cast<int>(heightMm * pxPerMm) + 6);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRect paper(0, 0, width() - 6, height() - 6);
        p.fillRect(paper.translated(4, 4), QColor(0, 0, 0, 60));
        p.fillRect(paper, Qt::white);
        if (page_)
            paintReportPage(p, *page_, pxPerMm_);
    }

private:
    const print::ReportPage* page_ = nullptr;
    double pxPerMm_ = 1;
};

namespace {

QPointer<ReportPreviewWindow>& theWindow()
{
    static QPointer<ReportPreviewWindow> w;
    return w;
}

}  // namespace

ReportPreviewWindow::ReportPreviewWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("reportPreview");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromStdString(print::kPreviewCaption));
    auto* bar = new QToolBar(this);
    auto add = [&](const char* text, const char* hint, auto slot) {
        QAction* a = bar->addAction(QString::fromUtf8(text), this, slot);
        a->setToolTip(QString::fromUtf8(hint));
        a->setObjectName(QString::fromUtf8(text));
        return a;
    };
    add("|◀", "第一页", [this] { showPage(0); });
    add("◀", "上一页", [this] { showPage(page_ - 1); });
    add("▶", "下一页", [this] { showPage(page_ + 1); });
    add("▶|", "最后页", [this] { showPage(pageCount() - 1); });
    bar->addSeparator();
    add("适应高度", "适应高度", [this] { setZoom(Zoom::FitHeight); });
    add("实际尺寸", "实际尺寸", [this] { setZoom(Zoom::Actual); });
    add("适应宽度", "适应宽度", [this] { setZoom(Zoom::FitWidth); });
    bar->addSeparator();
    add("打印", "打印", [this] { print(); });
    add("PDF…", "打印到 PDF 文件", [this] { exportPdf(); });
    add("退出", "退出", [this] { close(); });
    bar->addSeparator();
    pageLabel_ = new QLabel(bar);
    pageLabel_->setObjectName("pageLabel");
    bar->addWidget(pageLabel_);

    scroll_ = new QScrollArea(this);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    view_ = new ReportPageView(scroll_);
    scroll_->setWidget(view_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(scroll_);
    resize(900, 700);
}

void ReportPreviewWindow::refresh()
{
    const print::ReportEngine& engine = print::reportEngine();
    layout_ = engine.layout();
    pageSetup_ = engine.definition().page;
    const QString title = QString::fromStdString(engine.title());
    setWindowTitle(title.isEmpty() ? QString::fromStdString(print::kPreviewCaption)
                                   : QString::fromStdString(print::kPreviewCaption) + " - " + title);
    page_ = 0;
    updateView();
}

void ReportPreviewWindow::showPage(int index)
{
    page_ = std::clamp(index, 0, std::max(pageCount() - 1, 0));
    updateView();
}

void ReportPreviewWindow::setZoom(Zoom z)
{
    zoom_ = z;
    updateView();
}

void ReportPreviewWindow::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    updateView();
}

void ReportPreviewWindow::updateView()
{
    pageLabel_->setText(QStringLiteral("第 %1 页 / 共 %2 页").arg(page_ + 1).arg(pageCount()));
    if (layout_.pages.empty())
        return;
    const double screenPxPerMm = logicalDpiX() / 25.4;
    const QSize area = scroll_->viewport()->size() - QSize(24, 24);
    switch (zoom_) {
    case Zoom::Actual: scale_ = screenPxPerMm; break;
    case Zoom::FitWidth: scale_ = area.width() / layout_.widthMm; break;
    case Zoom::FitHeight: scale_ = area.height() / layout_.heightMm; break;
    }
    scale_ = std::max(scale_, 0.5);
    view_->setPage(&layout_.pages[static_cast<size_t>(page_)], layout_.widthMm, layout_.heightMm, scale_);
}

bool ReportPreviewWindow::print()
{
    if (QPrinterInfo::defaultPrinter().isNull() && QPrinterInfo::availablePrinters().isEmpty()) {
        app::interaction().showMessage("没有默认打印机，或默认打印机不可用！");
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    if (pageSetup_.size != print::PageSize::Default)
        setReportPaper(printer, layout_, pageSetup_);
    const auto [first, last] = print::pageRange(pageSetup_, pageCount());
    printer.setFromTo(first + 1, last + 1);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    int from = first, to = last;
    if (printer.printRange() == QPrinter::PageRange) {
        from = printer.fromPage() - 1;
        to = printer.toPage() - 1;
    }
    const QString err = paintReport(printer, layout_, from, to);
    if (!err.isEmpty())
        app::interaction().showError(err.toStdString());
    return err.isEmpty();
}

bool ReportPreviewWindow::exportPdf()
{
    std::string path = app::interaction().saveFileName("打印到 PDF 文件", "PDF 文件 (*.pdf)");
    if (path.empty())
        return false;
    if (!QString::fromStdString(path).endsWith(".pdf", Qt::CaseInsensitive))
        path += ".pdf";
    const QString err = writeReportPdf(QString::fromStdString(path), layout_, pageSetup_);
    if (!err.isEmpty()) {
        app::interaction().showError("PDF 文件写入失败：" + path + "\n" + err.toStdString());
        return false;
    }
    return true;
}

ReportPreviewWindow* ReportPreviewWindow::open(QWidget* parent)
{
    QPointer<ReportPreviewWindow>& w = theWindow();
    if (!w) {
        w = new ReportPreviewWindow(parent);
        widgets::centreOnScreen(w);
    }
    w->show();
    w->refresh();
    w->raise();
    w->activateWindow();
    return w;
}

}  // namespace rsgz::print
