#include "print/windows/ReportDesignerWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "print/PaperLimits.h"
#include "print/ReportEngine.h"
#include "widgets/ColorButton.h"
#include "print/windows/ReportPainter.h"
#include "print/windows/ReportPreviewWindow.h"
#include "widgets/WindowStyle.h"

namespace rsgz::print {

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

QComboBox* choices(std::initializer_list<const char*> items, const char* name)
{
    auto* c = new QComboBox;
    for (const char* i : items)
        c->addItem(u(i));
    c->setObjectName(u(name));
    return c;
}
QComboBox* alignBox(const char* name) { return choices({"居左", "居右", "居中"}, name); }
QComboBox* penBox(const char* name) { return choices({"实线", "虚线", "点线", "点划线", "无"}, name); }
QComboBox* frameBox(const char* name) { return choices({"无", "方框", "底线", "左线", "右线", "顶线"}, name); }

QDoubleSpinBox* number(double max, const char* name, double step = 0.5)
{
    auto* s = new QDoubleSpinBox;
    s->setRange(0, max);
    s->setDecimals(1);
    s->setSingleStep(step);
    s->setObjectName(u(name));
    return s;
}

PenBoxes penBoxes(const std::string& name)
{
    PenBoxes b;
    b.style = penBox(name.c_str());
    b.width = number(10, (name + "宽度").c_str());
    b.color = new widgets::ColorButton(QString::fromStdString(name + "颜色"));
    return b;
}

LineBoxes lineBoxes(const char* prefix)
{
    const std::string p(prefix);
    return {penBoxes(p + "竖线"), penBoxes(p + "横线"), penBoxes(p + "边框线"), frameBox((p + "边框").c_str())};
}

// A pen's boxes on one line, after the frame shape where there is one.
QWidget* penRow(const PenBoxes& b, QWidget* shape = nullptr)
{
    QWidget* w = boxRow({b.style, new QLabel(u("宽度")), b.width, new QLabel(u("颜色")), b.color});
    if (shape)
        static_cast<QHBoxLayout*>(w->layout())->insertWidget(0, shape);
    return w;
}

void addLineRows(QFormLayout* form, const LineBoxes& b)
{
    form->addRow(u("竖线"), penRow(b.cols));
    form->addRow(u("横线"), penRow(b.rows));
    form->addRow(u("边框"), penRow(b.framePen, b.frame));
}

// A 字体 button that lets the user pick the font kept in *font, and the font's colour beside it.
QWidget* fontButton(QWidget* parent, print::FontSpec* font, const char* colorName)
{
    auto* b = new QPushButton(u("字体…"), parent);
    QObject::connect(b, &QPushButton::clicked, parent, [parent, font] { chooseReportFont(parent, *font); });
    auto* color = new widgets::ColorButton(u(colorName), parent);
    color->setColor(font->color);
    QObject::connect(color, &widgets::ColorButton::colorChosen, parent, [font](const std::string& c) { font->color = c; });
    return boxRow({b, new QLabel(u("颜色")), color});
}


}  // namespace

QWidget* boxRow(std::initializer_list<QWidget*> widgets)
{
    auto* w = new QWidget;
    auto* l = new QHBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    for (QWidget* x : widgets)
        l->addWidget(x);
    l->addStretch();
    return w;
}

bool chooseReportFont(QWidget* parent, print::FontSpec& font)
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, reportFont(font), parent, u("字体"));
    if (!ok)
        return false;
    font.name = f.family().toStdString();
    font.size = f.pointSizeF();
    font.bold = f.bold();
    font.italic = f.italic();
    font.underline = f.underline();
    font.strikeOut = f.strikeOut();
    return true;
}

void PenBoxes::show(const print::PenSpec& pen)
{
    style->setCurrentIndex(static_cast<int>(pen.style));
    width->setValue(pen.width);
    color->setColor(pen.color);
}

void PenBoxes::take(print::PenSpec& pen) const
{
    pen.style = static_cast<print::PenStyle>(style->currentIndex());
    pen.width = width->value();
    pen.color = color->color();
}

void LineBoxes::show(const print::PenSpec& colsLine, const print::PenSpec& rowsLine, const print::FrameSpec& f)
{
    cols.show(colsLine);
    rows.show(rowsLine);
    framePen.show(f.pen);
    frame->setCurrentIndex(static_cast<int>(f.shape));
}

void LineBoxes::take(print::PenSpec& colsLine, print::PenSpec& rowsLine, print::FrameSpec& f) const
{
    cols.take(colsLine);
    rows.take(rowsLine);
    framePen.take(f.pen);
    f.shape = static_cast<print::FrameShape>(frame->currentIndex());
}

ReportDesignerWindow::ReportDesignerWindow(QWidget* parent) : QDialog(parent), def_(print::reportEngine().definition())
{
    setObjectName("reportDesigner");
    setWindowTitle(u(print::kDesignerCaption.c_str()));
    auto* bar = new QToolBar(this);
    bar->addAction(u("预览"), this, [this] { preview(false); })->setObjectName("预览");
    bar->addAction(u("打印"), this, [this] { preview(true); })->setObjectName("打印");
    bar->addAction(u("关闭"), this, [this] { accept(); })->setObjectName("关闭");
    tabs_ = new QTabWidget(this);
    tabs_->addTab(bandsPage(), u("标题栏"));
    tabs_->addTab(pagePage(), u("页面"));
    tabs_->addTab(titlePage(), u("列标题"));
    tabs_->addTab(detailPage(), u("明细栏"));
    tabs_->addTab(columnsPage(), u("列表"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addWidget(tabs_);
    fillBands();
    fillColumns();
    resize(640, 520);
    widgets::centreOnScreen(this);
}

// ---- 标题栏 ------------------------------------------------------------------------------------

QWidget* ReportDesignerWindow::bandsPage()
{
    auto* w = new QWidget;
    bandList_ = new QListWidget(w);
    bandList_->setObjectName("bandList");
    bandText_ = new QLineEdit(w);
    bandText_->setObjectName("标题");
    bandType_ = choices({"报表标题", "明细表头", "明细表尾", "页眉", "页脚"}, "标题类型");
    bandAlign_ = alignBox("对齐方式");
    bandSpace_ = number(50, "间距");
    auto* add = new QPushButton(u("新增"), w);
    auto* del = new QPushButton(u("删除"), w);
    auto* font = new QPushButton(u("字体…"), w);
    bandColor_ = new widgets::ColorButton(u("标题栏字体颜色"), w);
    auto* form = new QFormLayout;
    form->addRow(u("标题"), bandText_);
    form->addRow(u("标题类型"), bandType_);
    form->addRow(u("对齐方式"), bandAlign_);
    form->addRow(u("间距"), bandSpace_);
    form->addRow(QString(), boxRow({font, new QLabel(u("颜色")), bandColor_}));
    form->addRow(QString(), boxRow({add, del}));
    auto* l = new QHBoxLayout(w);
    l->addWidget(bandList_, 1);
    l->addLayout(form, 2);
    connect(bandList_, &QListWidget::currentRowChanged, this, &ReportDesignerWindow::showBand);
    connect(bandText_, &QLineEdit::textEdited, this, &ReportDesignerWindow::storeBand);
    connect(bandType_, &QComboBox::currentIndexChanged, this, &ReportDesignerWindow::storeBand);
    connect(bandAlign_, &QComboBox::currentIndexChanged, this, &ReportDesignerWindow::storeBand);
    connect(bandSpace_, &QDoubleSpinBox::valueChanged, this, &ReportDesignerWindow::storeBand);
    connect(add, &QPushButton::clicked, this, [this] {
        print::Band b;
        b.text = "新标题";
        b.type = print::BandType::PageHeader;
        def_.bands.push_back(b);
        fillBands();
        bandList_->setCurrentRow(static_cast<int>(def_.bands.size()) - 1);
    });
    connect(del, &QPushButton::clicked, this, [this] {
        const int r = bandList_->currentRow();
        if (r < 0)
            return;
        def_.bands.erase(def_.bands.begin() + r);
        fillBands();
    });
    connect(bandColor_, &widgets::ColorButton::colorChosen, this, [this](const std::string& c) {
        const int r = bandList_->currentRow();
        if (r >= 0)
            def_.bands[static_cast<size_t>(r)].font.color = c;
    });
    connect(font, &QPushButton::clicked, this, [this] {
        const int r = bandList_->currentRow();
        if (r >= 0)
            chooseReportFont(this, def_.bands[static_cast<size_t>(r)].font);
    });
    return w;
}

void ReportDesignerWindow::fillBands()
{
    loading_ = true;
    bandList_->clear();
    for (const print::Band& b : def_.bands)
        bandList_->addItem(QString::fromStdString(b.text));
    loading_ = false;
    bandList_->setCurrentRow(def_.bands.empty() ? -1 : 0);
}

void ReportDesignerWindow::showBand(int r)
{
    if (r < 0 || r >= static_cast<int>(def_.bands.size()))
        return;
    loading_ = true;
    const print::Band& b = def_.bands[static_cast<size_t>(r)];
    bandText_->setText(QString::fromStdString(b.text));
    bandType_->setCurrentIndex(static_cast<int>(b.type));
    bandAlign_->setCurrentIndex(static_cast<int>(b.alignment));
    bandSpace_->setValue(b.space);
    bandColor_->setColor(b.font.color);
    loading_ = false;
}

void ReportDesignerWindow::storeBand()
{
    const int r = bandList_->currentRow();
    if (loading_ || r < 0)
        return;
    print::Band& b = def_.bands[static_cast<size_t>(r)];
    b.text = bandText_->text().toStdString();
    b.type = static_cast<print::BandType>(bandType_->currentIndex());
    b.alignment = static_cast<print::Alignment>(bandAlign_->currentIndex());
    b.space = bandSpace_->value();
    bandList_->item(r)->setText(bandText_->text());
}

// ---- 页面, 列标题, 明细栏 --------------------------------------------------------------------------

QWidget* ReportDesignerWindow::pagePage()
{
    auto* w = new QWidget;
    auto* form = new QFormLayout(w);
    const print::PageSetup& p = def_.page;
    paper_ = choices({"A3", "A4", "A5", "B4", "B5", "CSheet", "Custom", "Default", "Executive", "Letter"}, "尺寸");
    paper_->setCurrentIndex(static_cast<int>(p.size));
    // No sheet is larger than A0 either way; a file holding more is damaged.
    width_ = number(print::kA0LongMm, "宽度");
    width_->setValue(p.width);
    height_ = number(print::kA0LongMm, "高度");
    height_->setValue(p.height);
    orientation_ = choices({"纵向", "横向"}, "方向");
    orientation_->setCurrentIndex(static_cast<int>(p.orientation));
    form->addRow(u("尺寸"), paper_);
    form->addRow(u("宽度"), width_);
    form->addRow(u("高度"), height_);
    form->addRow(u("方向"), orientation_);
    const char* names[4] = {"左边距", "右边距", "顶边距", "底边距"};
    const double values[4] = {p.leftMargin, p.rightMargin, p.topMargin, p.bottomMargin};
    for (int i = 0; i < 4; ++i) {
        margins_[i] = number(200, names[i]);
        margins_[i]->setValue(values[i]);
        form->addRow(u(names[i]), margins_[i]);
    }
    pageStart_ = new QSpinBox(w);
    pageFinish_ = new QSpinBox(w);
    for (QSpinBox* s : {pageStart_, pageFinish_})
        s->setRange(0, 99999);
    pageStart_->setValue(p.pageStart);
    pageFinish_->setValue(p.pageFinish);
    form->addRow(u("打印页面范围"), boxRow({pageStart_, new QLabel(u("至")), pageFinish_}));
    return w;
}

QWidget* ReportDesignerWindow::titlePage()
{
    auto* w = new QWidget;
    auto* form = new QFormLayout(w);
    const print::ColumnTitleRow& t = def_.colsTitle;
    titleLines_ = lineBoxes("列标题");
    titleLines_.show(t.colsLine, t.rowsLine, t.frame);
    titleRowSpace_ = number(100, "列标题行距");
    titleRowSpace_->setValue(t.rowSpace);
    titlePrint_ = new QCheckBox(u("打印"), w);
    titleEveryPage_ = new QCheckBox(u("每页打印"), w);
    titleEveryRow_ = new QCheckBox(u("每行打印"), w);
    titlePrint_->setChecked(t.print);
    titleEveryPage_->setChecked(t.everyPage);
    titleEveryRow_->setChecked(t.everyRow);
    titleArray_ = new QPlainTextEdit(w);
    titleArray_->setObjectName("多表头");
    titleArray_->setPlaceholderText(u("每行一层表头，单元格以 | 分隔，空单元格并入左边的单元格"));
    QStringList lines;
    for (const std::string& s : t.titleArray)
        lines << QString::fromStdString(s);
    titleArray_->setPlainText(lines.join('\n'));
    addLineRows(form, titleLines_);
    form->addRow(u("字体"), fontButton(this, &def_.colsTitle.font, "列标题字体颜色"));
    form->addRow(u("行距"), titleRowSpace_);
    form->addRow(QString(), boxRow({titlePrint_, titleEveryPage_, titleEveryRow_}));
    form->addRow(u("多表头"), titleArray_);
    return w;
}

QWidget* ReportDesignerWindow::detailPage()
{
    auto* w = new QWidget;
    auto* form = new QFormLayout(w);
    const print::DetailSection& d = def_.detail;
    arrange_ = choices({"横向", "纵向"}, "排列");
    arrange_->setCurrentIndex(static_cast<int>(d.arrange));
    detailLines_ = lineBoxes("明细");
    detailLines_.show(d.colsLine, d.rowsLine, d.frame);
    detailRowSpace_ = number(100, "明细行距");
    detailRowSpace_->setValue(d.rowSpace);
    detailTop_ = number(200, "顶距");
    detailTop_->setValue(d.top);
    form->addRow(u("排列"), arrange_);
    addLineRows(form, detailLines_);
    form->addRow(u("行距"), detailRowSpace_);
    form->addRow(u("字体"), fontButton(this, &def_.detail.font, "明细字体颜色"));
    form->addRow(u("顶距"), detailTop_);
    return w;
}

void ReportDesignerWindow::collect()
{
    print::PageSetup& p = def_.page;
    p.size = static_cast<print::PageSize>(paper_->currentIndex());
    p.width = width_->value();
    p.height = height_->value();
    p.orientation = static_cast<print::Orientation>(orientation_->currentIndex());
    p.leftMargin = margins_[0]->value();
    p.rightMargin = margins_[1]->value();
    p.topMargin = margins_[2]->value();
    p.bottomMargin = margins_[3]->value();
    p.pageStart = pageStart_->value();
    p.pageFinish = pageFinish_->value();

    print::ColumnTitleRow& t = def_.colsTitle;
    titleLines_.take(t.colsLine, t.rowsLine, t.frame);
    t.rowSpace = titleRowSpace_->value();
    t.print = titlePrint_->isChecked();
    t.everyPage = titleEveryPage_->isChecked();
    t.everyRow = titleEveryRow_->isChecked();
    t.titleArray.clear();
    for (const QString& l : titleArray_->toPlainText().split('\n', Qt::SkipEmptyParts))
        t.titleArray.push_back(l.toStdString());

    print::DetailSection& d = def_.detail;
    d.arrange = static_cast<print::Arrange>(arrange_->currentIndex());
    detailLines_.take(d.colsLine, d.rowsLine, d.frame);
    d.rowSpace = detailRowSpace_->value();
    d.top = detailTop_->value();
}

void ReportDesignerWindow::done(int r)
{
    // However the window closes, the definition holds what the user set.
    collect();
    print::reportEngine().definition() = def_;
    QDialog::done(r);
}

void ReportDesignerWindow::preview(bool andPrint)
{
    collect();
    print::reportEngine().definition() = def_;
    ReportPreviewWindow* w = ReportPreviewWindow::open(this);
    if (andPrint)
        w->print();
}

}  // namespace rsgz::print
