#include "print/windows/TableDesignerWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "print/PrintFonts.h"
#include "widgets/ButtonRow.h"
#include "widgets/WindowStyle.h"

namespace rsgz::print {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

const QStringList kAlignments = {QStringLiteral("左齐"), QStringLiteral("右齐"), QStringLiteral("居中")};

QComboBox* choiceBox(QWidget* parent, const QStringList& entries, const std::string& shown, std::string& field)
{
    auto* box = new QComboBox(parent);
    box->addItems(entries);
    const int i = box->findText(q(shown));
    box->setCurrentIndex(i < 0 ? 0 : i);
    QObject::connect(box, &QComboBox::activated, box, [box, &field] { field = box->currentText().toStdString(); });
    return box;
}

QCheckBox* flagBox(QWidget* parent, const char* caption, bool& flag)
{
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setObjectName(QString::fromUtf8(caption));
    box->setChecked(flag);
    QObject::connect(box, &QCheckBox::toggled, box, [&flag](bool on) { flag = on; });
    return box;
}

void showFont(QPushButton* sample, const print::TableFont& f)
{
    sample->setText(QStringLiteral("%1 %2").arg(q(f.name)).arg(f.size));
    QFont font(q(print::installedFontFamily(f.name)));
    font.setPointSize(std::clamp(f.size, 6, 16));
    sample->setFont(font);
}

}  // namespace

TableDesignerWindow::TableDesignerWindow(print::TableLayout& layout, std::vector<std::string> items, QWidget* parent)
    : QDialog(parent), layout_(layout), designer_(layout, std::move(items))
{
    setWindowTitle(QStringLiteral("表格设计窗口"));
    auto* top = new QHBoxLayout;
    top->addWidget(buildPage());
    top->addWidget(buildTable(), 1);
    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(buildItems(), 1);
    bottom->addWidget(buildColumn());
    main->addLayout(bottom, 1);
    main->addLayout(widgets::makeButtonRow(this, {{"back", "返回", [this] { reject(); }}}));
    fillPrinted(layout_.columns.empty() ? -1 : 0);
    if (!layout_.titles.empty()) titles_->setCurrentRow(0);
    showTitle();
    widgets::finishListDialog(this, 900, 680);
}

void TableDesignerWindow::numberBox(QLineEdit* box, int& field)
{
    box->setText(QString::number(field));
    box->setMaximumWidth(80);
    connect(box, &QLineEdit::editingFinished, box, [this, box, &field] {
        if (!designer_.setNumber(field, box->text().toStdString())) box->setText(QString::number(field));
    });
}

QWidget* TableDesignerWindow::buildPage()
{
    auto* group = new QGroupBox(QStringLiteral("页面"), this);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("纸张类型"),
                 choiceBox(group, {"A3", "A4", "A5", "B4", "B5", "CSheet", "自定义", "系统默认", "Executive", "信纸"},
                           layout_.paper, layout_.paper));
    const std::pair<const char*, int*> numbers[] = {
        {"宽度", &layout_.paperWidth},    {"高度", &layout_.paperHeight},  {"左边距", &layout_.leftMargin},
        {"右边距", &layout_.rightMargin}, {"顶边距", &layout_.topMargin}, {"底边距", &layout_.bottomMargin}};
    for (const auto& [caption, field] : numbers) {
        auto* box = new QLineEdit(group);
        box->setObjectName(QString::fromUtf8(caption));
        numberBox(box, *field);
        form->addRow(QString::fromUtf8(caption), box);
        if (field == &layout_.paperHeight)
            form->addRow(QStringLiteral("方向"), choiceBox(group, {"纵向", "横向"}, layout_.orientation, layout_.orientation));
    }
    form->addRow(QStringLiteral("页号位置"),
                 choiceBox(group, {"表格上部靠右", "表格上部靠左", "表格上部居中", "表格下部靠右", "表格下部靠左", "表格下部居中"},
                           layout_.pageNumberPosition, layout_.pageNumberPosition));
    form->addRow(flagBox(group, "打印页号", layout_.printPageNumber));
    return group;
}

QWidget* TableDesignerWindow::buildTable()
{
    auto* group = new QGroupBox(QStringLiteral("表格设置"), this);
    auto* box = new QVBoxLayout(group);
    box->addWidget(new QLabel(QStringLiteral("页面标题（双击删除）"), group));
    titles_ = new QListWidget(group);
    titles_->setObjectName(QStringLiteral("页面标题"));
    for (const auto& t : layout_.titles) titles_->addItem(q(t.text));
    connect(titles_, &QListWidget::currentRowChanged, this, [this] { showTitle(); });
    connect(titles_, &QListWidget::itemDoubleClicked, this, [this] {
        const int row = designer_.deleteTitle(titles_->currentRow());
        delete titles_->takeItem(titles_->currentRow());
        titles_->setCurrentRow(row);
    });
    box->addWidget(titles_);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("输入标题内容"), group));
    titleText_ = new QLineEdit(group);
    titleText_->setObjectName(QStringLiteral("输入标题内容"));
    connect(titleText_, &QLineEdit::returnPressed, this, [this] {
        const int row = designer_.addTitle(titleText_->text().toStdString());
        if (row < 0) return;
        titles_->addItem(q(layout_.titles.back().text));
        titles_->setCurrentRow(row);
    });
    row->addWidget(titleText_, 1);
    auto* change = new QPushButton(QStringLiteral("修改"), group);
    connect(change, &QPushButton::clicked, this, [this] {
        const int i = titles_->currentRow();
        designer_.replaceTitle(i, titleText_->text().toStdString());
        if (i >= 0) titles_->item(i)->setText(q(layout_.titles[static_cast<size_t>(i)].text));
    });
    row->addWidget(change);
    box->addLayout(row);
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(new QLabel(QStringLiteral("标题字体"), group));
    titleFont_ = new QPushButton(group);
    titleFont_->setObjectName(QStringLiteral("示例字体"));
    connect(titleFont_, &QPushButton::clicked, this, [this] {
        const int i = titles_->currentRow();
        if (i >= 0) chooseFont(layout_.titles[static_cast<size_t>(i)].font, titleFont_);
    });
    fontRow->addWidget(titleFont_, 1);
    fontRow->addWidget(new QLabel(QStringLiteral("表格行距"), group));
    auto* height = new QSpinBox(group);
    height->setObjectName(QStringLiteral("表格行距"));
    height->setRange(10, 1000);
    height->setValue(std::clamp(layout_.rowHeight, 10, 1000));
    connect(height, &QSpinBox::valueChanged, this, [this](int v) { layout_.rowHeight = v; });
    fontRow->addWidget(height);
    box->addLayout(fontRow);
    auto* flags = new QGridLayout;
    flags->addWidget(flagBox(group, "表格单元格内容自动折行", layout_.wrap), 0, 0);
    flags->addWidget(flagBox(group, "每页打印页小计", layout_.pageSubtotal), 0, 1);
    flags->addWidget(flagBox(group, "每页打印总汇总", layout_.runningTotal), 1, 0);
    flags->addWidget(flagBox(group, "尾页打印总汇总", layout_.grandTotal), 1, 1);
    flags->addWidget(flagBox(group, "每行重复行标题", layout_.payStubs), 2, 0);
    box->addLayout(flags);
    return group;
}

QWidget* TableDesignerWindow::buildItems()
{
    auto* group = new QGroupBox(QStringLiteral("打印项目"), this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("所有项目"), group), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("打印项目"), group), 0, 2);
    all_ = new QListWidget(group);
    all_->setObjectName(QStringLiteral("所有项目"));
    all_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (const std::string& i : designer_.items()) all_->addItem(q(i));
    connect(all_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* it) { addColumn(it->text()); });
    printed_ = new QListWidget(group);
    printed_->setObjectName(QStringLiteral("打印项目"));
    connect(printed_, &QListWidget::currentRowChanged, this, [this] { showColumn(); });
    connect(printed_, &QListWidget::itemDoubleClicked, this,
            [this] { fillPrinted(designer_.deleteColumn(printed_->currentRow())); });
    auto* buttons = new QVBoxLayout;
    const std::pair<const char*, std::function<void()>> actions[] = {
        {"添加", [this] { addSelected(); }},
        {"上移", [this] { fillPrinted(designer_.moveUp(printed_->currentRow())); }},
        {"下移", [this] { fillPrinted(designer_.moveDown(printed_->currentRow())); }},
        {"删除", [this] { fillPrinted(designer_.deleteColumn(printed_->currentRow())); }},
        {"全选", [this] { all_->selectAll(); }},
    };
    for (const auto& [caption, action] : actions) {
        auto* b = new QPushButton(QString::fromUtf8(caption), group);
        b->setObjectName(QString::fromUtf8(caption));
        connect(b, &QPushButton::clicked, this, action);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    grid->addWidget(all_, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(printed_, 1, 2);
    return group;
}

QWidget* TableDesignerWindow::buildColumn()
{
    auto* side = new QWidget(this);
    auto* box = new QVBoxLayout(side);
    box->setContentsMargins(0, 0, 0, 0);
    auto* cells = new QGroupBox(QStringLiteral("列项目"), side);
    auto* cf = new QFormLayout(cells);
    itemName_ = new QLineEdit(cells);
    itemName_->setReadOnly(true);
    cf->addRow(QStringLiteral("项目名称"), itemName_);
    dataAlign_ = new QComboBox(cells);
    dataAlign_->addItems(kAlignments);
    connect(dataAlign_, &QComboBox::activated, this, [this] { if (auto* c = column()) c->dataAlign = dataAlign_->currentText().toStdString(); });
    cf->addRow(QStringLiteral("对齐方式"), dataAlign_);
    format_ = new QLineEdit(cells);
    format_->setObjectName(QStringLiteral("格式化"));
    connect(format_, &QLineEdit::textEdited, this, [this] {
        if (auto* c = column()) c->format = print::fitToCapacity(format_->text().toStdString(), print::capacity::kFormat);
    });
    cf->addRow(QStringLiteral("格式化"), format_);
    width_ = new QLineEdit(cells);
    width_->setObjectName(QStringLiteral("列宽度"));
    connect(width_, &QLineEdit::editingFinished, this, [this] {
        if (column() && !designer_.setWidth(printed_->currentRow(), width_->text().toStdString()))
            width_->setText(QString::number(column()->width));
    });
    cf->addRow(QStringLiteral("宽度"), width_);
    dataFont_ = new QPushButton(cells);
    connect(dataFont_, &QPushButton::clicked, this, [this] { if (auto* c = column()) chooseFont(c->dataFont, dataFont_); });
    cf->addRow(QStringLiteral("字体"), dataFont_);
    box->addWidget(cells);

    auto* head = new QGroupBox(QStringLiteral("行标题"), side);
    auto* hf = new QFormLayout(head);
    headerAlign_ = new QComboBox(head);
    headerAlign_->addItems(kAlignments);
    connect(headerAlign_, &QComboBox::activated, this, [this] { if (auto* c = column()) c->headerAlign = headerAlign_->currentText().toStdString(); });
    hf->addRow(QStringLiteral("对齐方式"), headerAlign_);
    header_ = new QLineEdit(head);
    header_->setObjectName(QStringLiteral("标题内容"));
    connect(header_, &QLineEdit::textEdited, this, [this] {
        if (auto* c = column()) c->header = print::fitToCapacity(header_->text().toStdString(), print::capacity::kHeader);
    });
    hf->addRow(QStringLiteral("标题内容"), header_);
    headerFont_ = new QPushButton(head);
    connect(headerFont_, &QPushButton::clicked, this, [this] { if (auto* c = column()) chooseFont(c->headerFont, headerFont_); });
    hf->addRow(QStringLiteral("字体"), headerFont_);
    sum_ = new QCheckBox(QStringLiteral("对应项目合计计算"), head);
    sum_->setObjectName(QStringLiteral("对应项目合计计算"));
    connect(sum_, &QCheckBox::toggled, this, [this](bool on) { if (auto* c = column(); c && !filling_) c->sum = on; });
    hf->addRow(sum_);
    box->addWidget(head);
    box->addStretch();
    side->setMinimumWidth(300);
    return side;
}

print::TableColumn* TableDesignerWindow::column()
{
    const int i = printed_->currentRow();
    return i >= 0 && i < static_cast<int>(layout_.columns.size()) ? &layout_.columns[static_cast<size_t>(i)] : nullptr;
}

void TableDesignerWindow::addColumn(const QString& item)
{
    const int row = designer_.addColumn(item.toStdString());
    if (row >= 0) fillPrinted(row);
}

// 全选 selects every item, so one 添加 prints them all, in the order of the list.
void TableDesignerWindow::addSelected()
{
    for (int i = 0; i < all_->count(); ++i)
        if (all_->item(i)->isSelected() && designer_.addColumn(all_->item(i)->text().toStdString()) < 0) break;
    fillPrinted(static_cast<int>(layout_.columns.size()) - 1);
}

void TableDesignerWindow::fillPrinted(int select)
{
    filling_ = true;
    printed_->clear();
    for (const auto& c : layout_.columns) printed_->addItem(q(c.item));
    filling_ = false;
    printed_->setCurrentRow(select);
    showColumn();
}

void TableDesignerWindow::showColumn()
{
    const print::TableColumn* c = column();
    filling_ = true;
    for (QWidget* w : std::initializer_list<QWidget*>{dataAlign_, format_, width_, dataFont_, headerAlign_, header_, headerFont_, sum_})
        w->setEnabled(c != nullptr);
    const print::TableColumn shown = c ? *c : print::TableColumn{};
    itemName_->setText(q(shown.item));
    dataAlign_->setCurrentIndex(std::max(0, static_cast<int>(kAlignments.indexOf(q(shown.dataAlign)))));
    headerAlign_->setCurrentIndex(std::max(0, static_cast<int>(kAlignments.indexOf(q(shown.headerAlign)))));
    format_->setText(q(shown.format));
    width_->setText(c ? QString::number(shown.width) : QString());
    header_->setText(q(shown.header));
    showFont(dataFont_, shown.dataFont);
    showFont(headerFont_, shown.headerFont);
    sum_->setChecked(shown.sum);
    filling_ = false;
}

void TableDesignerWindow::showTitle()
{
    const int i = titles_->currentRow();
    titleFont_->setEnabled(i >= 0);
    if (i < 0) return;
    showFont(titleFont_, layout_.titles[static_cast<size_t>(i)].font);
    titleText_->setText(q(layout_.titles[static_cast<size_t>(i)].text));
}

void TableDesignerWindow::chooseFont(print::TableFont& font, QPushButton* sample)
{
    QFont start(q(print::installedFontFamily(font.name)));
    start.setPointSize(std::max(1, font.size));
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, start, this, QStringLiteral("字体"));
    if (!ok) return;
    font.name = print::fitToCapacity(chosen.family().toStdString(), print::capacity::kFontName);
    font.size = chosen.pointSize() > 0 ? chosen.pointSize() : font.size;
    showFont(sample, font);
}

void TableDesignerWindow::reject()
{
    // Boxes that still have the focus store their value first.
    if (QWidget* f = focusWidget()) f->clearFocus();
    if (designer_.mayClose()) QDialog::reject();
}

}  // namespace rsgz::print
