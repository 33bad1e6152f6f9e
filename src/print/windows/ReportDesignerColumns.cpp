// The 列表 section of 报表设置: the printed columns, their titles, formats and summaries.
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

#include "print/ReportEngine.h"
#include "widgets/ColorButton.h"
#include "print/windows/ReportDesignerWindow.h"

namespace rsgz::print {

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

QString columnLabel(const print::Column& c)
{
    QString title;
    for (const std::string& l : c.title.text)
        title += QString::fromStdString(l);
    return QString::fromStdString(c.fieldName) + (title.isEmpty() ? QString() : "（" + title + "）");
}

}  // namespace

QWidget* ReportDesignerWindow::columnsPage()
{
    auto* w = new QWidget;
    columnList_ = new QListWidget(w);
    columnList_->setObjectName("columnList");
    fieldName_ = new QComboBox(w);
    fieldName_->setObjectName("字段名");
    for (const std::string& f : print::reportEngine().source().fields)
        fieldName_->addItem(QString::fromStdString(f));
    columnWidth_ = new QSpinBox(w);
    columnWidth_->setObjectName("宽度");
    columnWidth_->setRange(1, 1000);
    columnWidth_->setSuffix(" mm");
    columnColor_ = new widgets::ColorButton(u("颜色"), w);
    columnFontColor_ = new widgets::ColorButton(u("字体颜色"), w);
    titleColor_ = new widgets::ColorButton(u("标题颜色"), w);
    titleFontColor_ = new widgets::ColorButton(u("标题字体颜色"), w);
    columnAlign_ = new QComboBox(w);
    columnAlign_->setObjectName("对齐方式");
    columnAlign_->addItems({u("居左"), u("居右"), u("居中")});
    format_ = new QLineEdit(w);
    format_->setObjectName("格式化");
    format_->setPlaceholderText("0.00");
    wrap_ = new QCheckBox(u("允许"), w);
    pagination_ = new QCheckBox(u("记录未打印完允许换页"), w);
    expression_ = new QLineEdit(w);
    expression_->setObjectName("公式");
    expression_->setPlaceholderText("SUM、COUNT、AVG，如 SUM(晋升后工资)-SUM(晋升前工资)");
    master_ = new QCheckBox(u("主字段"), w);
    singleRow_ = new QCheckBox(u("单独行"), w);
    columnTitle_ = new QPlainTextEdit(w);
    columnTitle_->setObjectName("标题内容");
    columnTitle_->setMaximumHeight(60);
    auto* fontButton = new QPushButton(u("字体…"), w);
    connect(fontButton, &QPushButton::clicked, this, [this] { chooseReportFont(this, columnFont_); });
    auto* titleFont = new QPushButton(u("标题字体…"), w);
    connect(titleFont, &QPushButton::clicked, this, [this] { chooseReportFont(this, columnTitleFont_); });
    titleAlign_ = new QComboBox(w);
    titleAlign_->setObjectName("标题对齐方式");
    titleAlign_->addItems({u("居左"), u("居右"), u("居中")});

    auto* form = new QFormLayout;
    form->addRow(u("字段名"), fieldName_);
    form->addRow(u("宽度"), columnWidth_);
    form->addRow(u("字体"), boxRow({fontButton, new QLabel(u("颜色")), columnFontColor_}));
    form->addRow(u("颜色"), columnColor_);
    form->addRow(u("对齐方式"), columnAlign_);
    form->addRow(u("格式化"), format_);
    auto* wrapBox = new QGroupBox(u("自动换行"), w);
    auto* wl = new QHBoxLayout(wrapBox);
    wl->addWidget(wrap_);
    wl->addWidget(pagination_);
    form->addRow(wrapBox);
    auto* masterBox = new QGroupBox(u("主细设置"), w);
    auto* ml = new QFormLayout(masterBox);
    ml->addRow(u("公式"), expression_);
    auto* flags = new QHBoxLayout;
    flags->addWidget(master_);
    flags->addWidget(singleRow_);
    ml->addRow(flags);
    form->addRow(masterBox);
    auto* titleBox = new QGroupBox(u("标题"), w);
    auto* tl = new QFormLayout(titleBox);
    tl->addRow(u("标题内容"), columnTitle_);
    tl->addRow(u("对齐方式"), titleAlign_);
    tl->addRow(u("颜色"), titleColor_);
    tl->addRow(QString(), boxRow({titleFont, new QLabel(u("颜色")), titleFontColor_}));
    form->addRow(titleBox);

    auto* buttons = new QGridLayout;
    const char* names[] = {"新增", "删除", "清除", "更新", "上移", "下移"};
    for (int i = 0; i < 6; ++i) {
        auto* b = new QPushButton(u(names[i]), w);
        b->setObjectName(u(names[i]));
        connect(b, &QPushButton::clicked, this, [this, name = u(names[i])] { columnButton(name); });
        buttons->addWidget(b, i / 2, i % 2);
    }
    auto* left = new QVBoxLayout;
    left->addWidget(columnList_);
    left->addLayout(buttons);
    auto* l = new QHBoxLayout(w);
    l->addLayout(left, 1);
    l->addLayout(form, 2);
    connect(columnList_, &QListWidget::currentRowChanged, this, &ReportDesignerWindow::showColumn);
    // A new field offers its own name as the title, unless the user wrote a title of their own.
    connect(fieldName_, &QComboBox::currentTextChanged, this, [this](const QString& f) {
        const QString title = columnTitle_->toPlainText();
        if (!loading_ && (title.isEmpty() || fieldName_->findText(title) >= 0))
            columnTitle_->setPlainText(f);
    });
    return w;
}

void ReportDesignerWindow::fillColumns()
{
    loading_ = true;
    columnList_->clear();
    for (const print::Column& c : def_.columns)
        columnList_->addItem(columnLabel(c));
    loading_ = false;
    if (def_.columns.empty())
        showColumn(-1);
    else
        columnList_->setCurrentRow(0);
}

void ReportDesignerWindow::showColumn(int r)
{
    const bool none = r < 0 || r >= static_cast<int>(def_.columns.size());
    const print::Column c = none ? print::columnForField(fieldName_->currentText().toStdString())
                                 : def_.columns[static_cast<size_t>(r)];
    loading_ = true;
    fieldName_->setCurrentText(QString::fromStdString(c.fieldName));
    columnWidth_->setValue(c.width);
    columnColor_->setColor(c.color);
    columnFontColor_->setColor(c.font.color);
    titleColor_->setColor(c.title.color);
    titleFontColor_->setColor(c.title.font.color);
    columnAlign_->setCurrentIndex(static_cast<int>(c.alignment));
    format_->setText(QString::fromStdString(c.format));
    wrap_->setChecked(c.wrap);
    pagination_->setChecked(c.pagination);
    expression_->setText(QString::fromStdString(c.expression));
    master_->setChecked(c.master);
    singleRow_->setChecked(c.singleRow);
    QStringList lines;
    for (const std::string& s : c.title.text)
        lines << QString::fromStdString(s);
    columnTitle_->setPlainText(lines.join('\n'));
    columnFont_ = c.font;
    columnTitleFont_ = c.title.font;
    titleAlign_->setCurrentIndex(static_cast<int>(c.title.alignment));
    loading_ = false;
}

print::Column ReportDesignerWindow::columnFromBoxes() const
{
    const int r = columnList_->currentRow();
    print::Column c = r >= 0 && r < static_cast<int>(def_.columns.size()) ? def_.columns[static_cast<size_t>(r)]
                                                                         : print::Column{};
    c.fieldName = fieldName_->currentText().toStdString();
    c.width = columnWidth_->value();
    c.font = columnFont_;
    c.color = columnColor_->color();
    c.font.color = columnFontColor_->color();
    c.title.color = titleColor_->color();
    c.alignment = static_cast<print::Alignment>(columnAlign_->currentIndex());
    c.format = format_->text().trimmed().toStdString();
    c.wrap = wrap_->isChecked();
    c.pagination = pagination_->isChecked();
    c.expression = expression_->text().trimmed().toStdString();
    c.master = master_->isChecked();
    c.singleRow = singleRow_->isChecked();
    c.title.font = columnTitleFont_;
    c.title.font.color = titleFontColor_->color();
    c.title.alignment = static_cast<print::Alignment>(titleAlign_->currentIndex());
    c.title.text.clear();
    for (const QString& l : columnTitle_->toPlainText().split('\n', Qt::SkipEmptyParts))
        c.title.text.push_back(l.toStdString());
    return c;
}

// 新增 adds the column set in the boxes, 更新 writes them into the chosen column, 删除 removes it,
// 清除 removes every column, 上移 and 下移 move the chosen column.
void ReportDesignerWindow::columnButton(const QString& which)
{
    auto& cols = def_.columns;
    int r = columnList_->currentRow();
    const bool chosen = r >= 0 && r < static_cast<int>(cols.size());
    if (which == u("新增")) {
        print::Column c = columnFromBoxes();
        if (c.fieldName.empty())
            return;
        cols.insert(chosen ? cols.begin() + r + 1 : cols.end(), c);
        r = chosen ? r + 1 : static_cast<int>(cols.size()) - 1;
    } else if (which == u("更新") && chosen) {
        cols[static_cast<size_t>(r)] = columnFromBoxes();
    } else if (which == u("删除") && chosen) {
        cols.erase(cols.begin() + r);
        r = std::min(r, static_cast<int>(cols.size()) - 1);
    } else if (which == u("清除")) {
        cols.clear();
        r = -1;
    } else if (which == u("上移") && chosen && r > 0) {
        std::swap(cols[static_cast<size_t>(r)], cols[static_cast<size_t>(r - 1)]);
        --r;
    } else if (which == u("下移") && chosen && r + 1 < static_cast<int>(cols.size())) {
        std::swap(cols[static_cast<size_t>(r)], cols[static_cast<size_t>(r + 1)]);
        ++r;
    }
    fillColumns();
    if (r >= 0)
        columnList_->setCurrentRow(r);
}

}  // namespace rsgz::print
