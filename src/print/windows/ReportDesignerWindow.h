#pragma once
#include <QDialog>
#include <initializer_list>

#include "print/ReportDefinition.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace rsgz::widgets {
class ColorButton;
}  // namespace rsgz::widgets

namespace rsgz::print {

// Widgets side by side on one line of a form.
QWidget* boxRow(std::initializer_list<QWidget*> widgets);

// The font dialog over a report font; false when the user cancelled.
bool chooseReportFont(QWidget* parent, print::FontSpec& font);

// The boxes of one pen: its style, its width and its colour.
struct PenBoxes {
    QComboBox* style = nullptr;
    QDoubleSpinBox* width = nullptr;
    widgets::ColorButton* color = nullptr;
    void show(const print::PenSpec& pen);
    void take(print::PenSpec& pen) const;
};

// The 竖线, 横线 and 边框 rows of the title row and of the detail; the frame has a shape and a pen.
struct LineBoxes {
    PenBoxes cols, rows, framePen;
    QComboBox* frame = nullptr;
    void show(const print::PenSpec& colsLine, const print::PenSpec& rowsLine, const print::FrameSpec& f);
    void take(print::PenSpec& colsLine, print::PenSpec& rowsLine, print::FrameSpec& f) const;
};

// 报表设置: edits a copy of the report engine's definition; 关闭 hands it back to the engine.
// The sections are 标题栏 (bands), 页面, 列标题, 明细栏 and 列表 (columns, whose field names
// are the grid's columns).
class ReportDesignerWindow : public QDialog {
    Q_OBJECT
public:
    explicit ReportDesignerWindow(QWidget* parent = nullptr);
    const print::ReportDefinition& definition() const { return def_; }
    // Everything the boxes hold, written into the definition.
    void collect();

protected:
    void done(int r) override;

private:
    QWidget* bandsPage();
    QWidget* pagePage();
    QWidget* titlePage();
    QWidget* detailPage();
    QWidget* columnsPage();
    void fillBands();
    void showBand(int row);
    void storeBand();
    void fillColumns();
    void showColumn(int row);
    print::Column columnFromBoxes() const;
    void columnButton(const QString& which);
    void preview(bool andPrint);

    print::ReportDefinition def_;
    bool loading_ = false;
    QTabWidget* tabs_ = nullptr;
    // 标题栏
    QListWidget* bandList_ = nullptr;
    QLineEdit* bandText_ = nullptr;
    QComboBox *bandType_ = nullptr, *bandAlign_ = nullptr;
    QDoubleSpinBox* bandSpace_ = nullptr;
    widgets::ColorButton* bandColor_ = nullptr;
    // 页面
    QComboBox *paper_ = nullptr, *orientation_ = nullptr;
    QDoubleSpinBox *width_ = nullptr, *height_ = nullptr, *margins_[4] = {};
    QSpinBox *pageStart_ = nullptr, *pageFinish_ = nullptr;
    // 列标题
    QCheckBox *titlePrint_ = nullptr, *titleEveryPage_ = nullptr, *titleEveryRow_ = nullptr;
    QDoubleSpinBox* titleRowSpace_ = nullptr;
    QPlainTextEdit* titleArray_ = nullptr;
    LineBoxes titleLines_;
    // 明细栏
    QComboBox* arrange_ = nullptr;
    LineBoxes detailLines_;
    QDoubleSpinBox *detailRowSpace_ = nullptr, *detailTop_ = nullptr;
    // 列表
    QListWidget* columnList_ = nullptr;
    QComboBox *fieldName_ = nullptr, *columnAlign_ = nullptr, *titleAlign_ = nullptr;
    QSpinBox* columnWidth_ = nullptr;
    QLineEdit *format_ = nullptr, *expression_ = nullptr;
    widgets::ColorButton *columnColor_ = nullptr, *columnFontColor_ = nullptr, *titleColor_ = nullptr, *titleFontColor_ = nullptr;
    QCheckBox *wrap_ = nullptr, *pagination_ = nullptr, *master_ = nullptr, *singleRow_ = nullptr;
    QPlainTextEdit* columnTitle_ = nullptr;
    print::FontSpec columnFont_, columnTitleFont_;
};

}  // namespace rsgz::print
