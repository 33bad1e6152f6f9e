#include "print/windows/TablePreviewWindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "app/Interaction.h"
#include "app/Progress.h"
#include "print/windows/ReportPainter.h"
#include "print/windows/TableDesignerWindow.h"
#include "widgets/WindowStyle.h"

namespace rsgz::print {

// The white paper the current page is painted on, at the preview's zoom.
class TablePaper : public QWidget {
public:
    TablePaper(print::TablePreview& preview, QWidget* parent) : QWidget(parent), preview_(preview)
    {
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Qt::white);
        setPalette(pal);
    }
    void setZoom(double zoom)
    {
        zoom_ = zoom;
        const auto& p = preview_.printer();
        setFixedSize(static_cast<int>(std::lround(p.pageWidthMm() * zoom)), static_cast<int>(std::lround(p.pageHeightMm() * zoom)));
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing, false);
        paintReportPage(p, preview_.shownPage(), zoom_);
    }

private:
    print::TablePreview& preview_;
    double zoom_ = 1;
};

namespace {

constexpr double kZooms[] = {1.0, 2.0, 3.0, print::kPreviewPixelsPerMm};

// A title while titles are placed: it follows the mouse while a button is held.
class TitleLabel : public QLabel {
public:
    TitleLabel(const QString& text, QWidget* parent, std::function<void(QPoint)> moved)
        : QLabel(text, parent), moved_(std::move(moved))
    {
        setCursor(Qt::SizeAllCursor);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override { grab_ = e->position().toPoint(); }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (!(e->buttons() & Qt::LeftButton)) return;
        move(mapToParent(e->position().toPoint() - grab_));
        moved_(pos());
    }

private:
    QPoint grab_;
    std::function<void(QPoint)> moved_;
};

QToolButton* toolButton(QWidget* parent, const char* caption, std::function<void()> action)
{
    auto* b = new QToolButton(parent);
    b->setText(QString::fromUtf8(caption));
    b->setObjectName(QString::fromUtf8(caption));
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QObject::connect(b, &QToolButton::clicked, b, std::move(action));
    return b;
}

}  // namespace

TablePreviewWindow::TablePreviewWindow(print::TablePreview& preview, std::vector<std::string> items, QWidget* parent)
    : QDialog(parent), preview_(preview), items_(std::move(items))
{
    setWindowTitle(QStringLiteral("打印表格预览窗口"));
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("第"), this));
    pageBox_ = new QLineEdit(QStringLiteral("1"), this);
    pageBox_->setObjectName(QStringLiteral("currentPage"));
    pageBox_->setMaximumWidth(60);
    connect(pageBox_, &QLineEdit::returnPressed, this, [this] {
        preview_.goToPage(pageBox_->text().toInt());
        dropTitleLabels();
        showPage();
    });
    bar->addWidget(pageBox_);
    bar->addWidget(new QLabel(QStringLiteral("共"), this));
    countBox_ = new QLineEdit(this);
    countBox_->setObjectName(QStringLiteral("pageCount"));
    countBox_->setReadOnly(true);
    countBox_->setMaximumWidth(60);
    bar->addWidget(countBox_);
    bar->addWidget(new QLabel(QStringLiteral("页"), this));
    bar->addSpacing(12);
    bar->addWidget(new QLabel(QStringLiteral("比例"), this));
    zoomBox_ = new QComboBox(this);
    zoomBox_->setObjectName(QStringLiteral("zoom"));
    zoomBox_->addItems({QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%")});
    zoomBox_->setCurrentIndex(3);
    connect(zoomBox_, &QComboBox::activated, this, [this](int i) { setZoom(i); });
    bar->addWidget(zoomBox_);
    bar->addSpacing(12);
    bar->addWidget(toolButton(this, "前一页", [this] { priorPage(); }));
    bar->addWidget(toolButton(this, "后一页", [this] { nextPage(); }));
    bar->addWidget(toolButton(this, "刷新预览", [this] { refresh(); }));
    bar->addWidget(toolButton(this, "设计表格", [this] { design(); }));
    QToolButton* printButton = toolButton(this, "打印", [this] { print(); });
    printButton->setToolTip(QStringLiteral("打印表格"));
    bar->addWidget(printButton);
    bar->addWidget(toolButton(this, "输出PDF", [this] { exportPdf(); }));
    slipsButton_ = toolButton(this, "工资条分别输出", [this] { exportSlips(); });
    bar->addWidget(slipsButton_);
    bar->addWidget(toolButton(this, "关闭预览", [this] { accept(); }));
    bar->addStretch();

    auto* desk = new QWidget(this);
    desk->setAutoFillBackground(true);
    QPalette pal = desk->palette();
    pal.setColor(QPalette::Window, QColor(0, 128, 0));
    desk->setPalette(pal);
    auto* deskLayout = new QHBoxLayout(desk);
    deskLayout->setContentsMargins(10, 20, 10, 20);
    paper_ = new TablePaper(preview_, desk);
    deskLayout->addStretch();
    deskLayout->addWidget(paper_, 0, Qt::AlignTop);
    deskLayout->addStretch();
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(desk);
    scroll_->setWidgetResizable(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(scroll_, 1);
    resize(1100, 760);
    widgets::centreOnScreen(this);
    setZoom(3);
}

TablePreviewWindow::~TablePreviewWindow() = default;

QWidget* TablePreviewWindow::paper() const { return paper_; }

void TablePreviewWindow::showPage()
{
    pageBox_->setText(QString::number(preview_.currentPage()));
    countBox_->setText(QString::number(preview_.pageCount()));
    slipsButton_->setVisible(preview_.layout().payStubs);
    paper_->setZoom(zoom_);
}

void TablePreviewWindow::setZoom(int index)
{
    dropTitleLabels();
    zoom_ = kZooms[std::clamp(index, 0, 3)];
    zoomBox_->setCurrentIndex(std::clamp(index, 0, 3));
    showPage();
}

void TablePreviewWindow::priorPage()
{
    dropTitleLabels();
    preview_.priorPage();
    showPage();
}

void TablePreviewWindow::nextPage()
{
    dropTitleLabels();
    preview_.nextPage();
    showPage();
}

void TablePreviewWindow::refresh()
{
    dropTitleLabels();
    preview_.refresh();
    showPage();
}

void TablePreviewWindow::design()
{
    dropTitleLabels();
    {
        TableDesignerWindow designer(preview_.layout(), items_, this);
        designer.exec();
    }
    // 100 % first: a change of zoom leaves title placement, which the designer's return enters.
    setZoom(3);
    preview_.designed();
    showPage();
    showTitleLabels();
}

void TablePreviewWindow::showTitleLabels()
{
    const auto& titles = preview_.layout().titles;
    for (size_t i = 0; i < titles.size(); ++i) {
        print::FontSpec fontSpec;
        fontSpec.name = titles[i].font.name;
        fontSpec.size = titles[i].font.size > 0 ? titles[i].font.size : 9;
        QFont font = reportFont(fontSpec);
        font.setPixelSize(std::max(1, static_cast<int>(fontSpec.size * 25.4 / 72.0 * zoom_)));
        const int index = static_cast<int>(i);
        auto* label = new TitleLabel(QString::fromStdString(titles[i].text), paper_, [this, index](QPoint at) {
            preview_.moveTitle(index, static_cast<int>(std::lround(at.x() * print::kPreviewPixelsPerMm / zoom_)),
                               static_cast<int>(std::lround(at.y() * print::kPreviewPixelsPerMm / zoom_)));
        });
        label->setFont(font);
        label->adjustSize();
        label->move(static_cast<int>(std::lround(titles[i].x * zoom_ / print::kPreviewPixelsPerMm)),
                    static_cast<int>(std::lround(titles[i].y * zoom_ / print::kPreviewPixelsPerMm)));
        label->show();
        titleLabels_.push_back(label);
    }
}

void TablePreviewWindow::dropTitleLabels()
{
    for (QLabel* l : titleLabels_) delete l;
    titleLabels_.clear();
    if (preview_.placingTitles()) preview_.goToPage(preview_.currentPage());
}

void TablePreviewWindow::setPaper(QPagedPaintDevice& device) const
{
    const print::TablePrinter& p = preview_.printer();
    const double w = std::min(p.pageWidthMm(), p.pageHeightMm()), h = std::max(p.pageWidthMm(), p.pageHeightMm());
    const auto orientation = p.pageWidthMm() > p.pageHeightMm() ? QPageLayout::Landscape : QPageLayout::Portrait;
    device.setPageLayout(QPageLayout(QPageSize(QSizeF(w, h), QPageSize::Millimeter), orientation, QMarginsF(0, 0, 0, 0)));
}

// All pages of a range go into one job, made one page at a time; a long job shows how far it is.
QString TablePreviewWindow::paintJob(QPagedPaintDevice* device, const QString& pdfPath, int first, int last)
{
    app::Progress progress("打印表格", "正在输出第 " + std::to_string(first) + " 到 " + std::to_string(last) + " 页…",
                           last - first + 1);
    const PageMaker page = [&](int index) {
        progress.step(index - (first - 1));
        return preview_.printer().page(index + 1);
    };
    if (device) return paintPages(*device, first - 1, last - 1, page);
    return writePdfPages(pdfPath, [this](QPdfWriter& pdf) { setPaper(pdf); }, first - 1, last - 1, page);
}

void TablePreviewWindow::print()
{
    dropTitleLabels();
    const auto range = preview_.askPrintRange();
    if (!range) {
        showPage();
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    setPaper(printer);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) {
        if (printer.resolution() <= 0) app::interaction().showMessage("打印机错误！");
        const QString err = paintJob(&printer, {}, range->first, range->second);
        if (!err.isEmpty()) app::interaction().showError(err.toStdString());
        else preview_.goToPage(range->second);
    }
    showPage();
}

QString TablePreviewWindow::writePdf(const QString& path) { return paintJob(nullptr, path, 1, preview_.pageCount()); }

bool TablePreviewWindow::exportPdf()
{
    dropTitleLabels();
    showPage();
    if (preview_.pageCount() == 0) {
        app::interaction().showMessage("没有可输出的记录。");
        return false;
    }
    std::string path = app::interaction().saveFileName("输出PDF文件", "PDF 文件 (*.pdf)");
    if (path.empty()) return false;
    if (!QString::fromStdString(path).endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) path += ".pdf";
    if (const QString err = writePdf(QString::fromStdString(path)); !err.isEmpty()) {
        app::interaction().showMessage("PDF 文件未能写成：" + err.toStdString());
        return false;
    }
    app::interaction().showMessage("已将 " + std::to_string(preview_.pageCount()) + " 页输出到 PDF 文件：\n" + path);
    return true;
}

bool TablePreviewWindow::exportSlips()
{
    dropTitleLabels();
    showPage();
    const std::vector<std::string> names = preview_.slipFileNames();
    if (names.empty()) {
        app::interaction().showMessage("没有可输出的记录。");
        return false;
    }
    const std::string folder = app::interaction().folderName("选择存放工资条的文件夹");
    if (folder.empty()) return false;
    const QDir dir(QString::fromStdString(folder));
    app::Progress progress("工资条分别输出", "正在输出工资条…", static_cast<int>(names.size()));
    for (size_t r = 0; r < names.size(); ++r) {
        progress.step(static_cast<int>(r));
        const QString err = writePdfPages(
            dir.filePath(QString::fromStdString(names[r])), [this](QPdfWriter& pdf) { setPaper(pdf); }, 0, 0,
            [&](int) { return preview_.printer().slipOf(static_cast<int>(r)); });
        if (!err.isEmpty()) {
            progress.close();
            app::interaction().showMessage("工资条“" + names[r] + "”未能写成：" + err.toStdString() + "\n已写成 " +
                                           std::to_string(r) + " 个文件。");
            return false;
        }
    }
    progress.close();
    app::interaction().showMessage("已将 " + std::to_string(names.size()) + " 张工资条分别输出到文件夹：\n" + folder);
    return true;
}

}  // namespace rsgz::print
