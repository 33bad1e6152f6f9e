#pragma once
#include <QDialog>
#include <vector>

#include "print/TablePreview.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPagedPaintDevice;
class QPdfWriter;
class QScrollArea;
class QToolButton;

namespace rsgz::print {

class TablePaper;

// 打印表格预览窗口: the pages of a printed table as they will print, with paging, the zoom 比例,
// the table designer, title placement by dragging, printing and a PDF of the whole job.
class TablePreviewWindow : public QDialog {
    Q_OBJECT
public:
    // items: the candidates the designer offers (所有项目).
    TablePreviewWindow(print::TablePreview& preview, std::vector<std::string> items, QWidget* parent = nullptr);
    ~TablePreviewWindow() override;

    print::TablePreview& preview() { return preview_; }
    void showPage();  // repaints the current page and the page boxes
    void setZoom(int index);  // 0..3: 25 %, 50 %, 75 %, 100 %
    double zoom() const { return zoom_; }
    void priorPage();
    void nextPage();
    void refresh();  // 刷新预览
    void design();   // 设计表格
    void print();    // 打印
    // 输出PDF: every page of the job into one PDF file; false when nothing was written.
    bool exportPdf();
    // Every page into a PDF file; the reason when it could not be written.
    QString writePdf(const QString& path);
    // 工资条分别输出: the pay slip of every record as a PDF file of its own in a chosen folder.
    bool exportSlips();
    QWidget* paper() const;

private:
    void showTitleLabels();
    void dropTitleLabels();
    // Pages first..last (1-based) on a printer, or into a PDF file when device is null.
    QString paintJob(QPagedPaintDevice* device, const QString& pdfPath, int first, int last);
    void setPaper(QPagedPaintDevice& device) const;

    print::TablePreview& preview_;
    std::vector<std::string> items_;
    double zoom_ = print::kPreviewPixelsPerMm;
    QLineEdit *pageBox_ = nullptr, *countBox_ = nullptr;
    QComboBox* zoomBox_ = nullptr;
    QToolButton* slipsButton_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    TablePaper* paper_ = nullptr;
    std::vector<QLabel*> titleLabels_;
};

}  // namespace rsgz::print
