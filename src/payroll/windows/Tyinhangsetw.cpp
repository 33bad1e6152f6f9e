#include "payroll/windows/Tyinhangsetw.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "widgets/ButtonRow.h"
#include "widgets/WindowStyle.h"

namespace rsgz::payroll {

namespace {

const char* const kPartTitles[BankLayout::kParts] = {"第一部分", "第二部分", "第三部分", "第四部分",
                                                     "第五部分", "第六部分", "第七部分", "第八部分"};

QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QString& text) { return text.toStdString(); }

QLineEdit* makeEdit(QWidget* parent, const QString& name, int maxLength)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    return e;
}

QComboBox* makeList(QWidget* parent, const QString& name, const QStringList& items)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->addItems(items);
    return c;
}

// Shows a stored choice; one the list does not offer is added, so saving keeps it as it was.
void showChoice(QComboBox* box, const std::string& value)
{
    if (value.empty()) {
        box->setCurrentIndex(-1);
        return;
    }
    int i = box->findText(q(value));
    if (i < 0) {
        box->addItem(q(value));
        i = box->count() - 1;
    }
    box->setCurrentIndex(i);
}

}  // namespace

Tyinhangsetw::Tyinhangsetw(app::TDM& dm, const SalaryView* view, QWidget* parent) : QDialog(parent), form_(dm, view)
{
    setObjectName(QStringLiteral("Tyinhangsetw"));
    setWindowTitle(QStringLiteral("银行报盘文件格式设置"));

    auto* page = new QWidget(this);
    auto* top = new QHBoxLayout;
    partsUsed_ = new QSpinBox(page);
    partsUsed_->setObjectName(QStringLiteral("partsUsed"));
    partsUsed_->setRange(3, BankLayout::kParts);
    separator_ = makeList(page, QStringLiteral("separator"),
                          {QStringLiteral("|"), QStringLiteral("无"), QStringLiteral("空格"), QStringLiteral("逗号"),
                           QStringLiteral("其他")});
    otherSeparator_ = makeEdit(page, QStringLiteral("otherSeparator"), 10);
    otherSeparator_->setMaximumWidth(80);
    top->addWidget(new QLabel(QStringLiteral("每一条记录:"), page));
    top->addWidget(partsUsed_);
    top->addWidget(new QLabel(QStringLiteral("部分,各部分之间分隔符:"), page));
    top->addWidget(separator_);
    top->addWidget(otherSeparator_);
    top->addStretch();

    partTabs_ = new QTabWidget(page);
    partTabs_->setObjectName(QStringLiteral("partTabs"));
    partTabs_->setMinimumWidth(660);  // all eight tabs in sight
    for (int i = 0; i < BankLayout::kParts; ++i) partTabs_->addTab(makePart(i), QString::fromUtf8(kPartTitles[i]));

    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addLayout(top);
    pageLayout->addWidget(partTabs_);
    pageLayout->addWidget(makePreview());

    auto* outer = new QTabWidget(this);
    outer->addTab(page, QStringLiteral("文件格式"));
    QHBoxLayout* buttons = widgets::makeButtonRow(this, {
        {"确定", "确定", [this] {
             takeControls();
             app::runAction([this] { form_.save(); });
         }},
        {"返回", "返回", [this] { reject(); }},
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(outer);
    layout->addLayout(buttons);

    // Checking every row of the view waits until the typing stops.
    checkTimer_ = new QTimer(this);
    checkTimer_->setSingleShot(true);
    checkTimer_->setInterval(250);
    connect(checkTimer_, &QTimer::timeout, this, &Tyinhangsetw::showCheck);
    widgets::finishDialog(this);
}

QWidget* Tyinhangsetw::makePart(int index)
{
    auto* page = new QWidget(partTabs_);
    PartControls& c = parts_[static_cast<size_t>(index)];
    const QString n = QString::number(index + 1);
    c.content = makeList(page, QStringLiteral("content") + n, {});
    c.content->setMinimumWidth(160);
    c.fixedText = makeEdit(page, QStringLiteral("fixedText") + n, 50);
    c.front = makeEdit(page, QStringLiteral("front") + n, 50);
    c.back = makeEdit(page, QStringLiteral("back") + n, 50);
    c.times100 = new QCheckBox(QStringLiteral("×100"), page);
    c.times100->setObjectName(QStringLiteral("times100_") + n);
    c.widthMode = makeList(page, QStringLiteral("widthMode") + n, {q(kFixedWidth), q(kActualWidth)});
    c.width = new QSpinBox(page);
    c.width->setObjectName(QStringLiteral("width") + n);
    c.width->setRange(0, 999);
    c.padSide = makeList(page, QStringLiteral("padSide") + n, {q(kPadFront), q(kPadBack)});
    c.padText = makeEdit(page, QStringLiteral("padText") + n, 50);

    auto* content = new QGroupBox(QStringLiteral("内容"), page);
    auto* contentForm = new QFormLayout(content);
    contentForm->addRow(c.content);
    contentForm->addRow(QStringLiteral("其他:"), c.fixedText);
    contentForm->addRow(QStringLiteral("前加"), c.front);
    contentForm->addRow(QStringLiteral("后加"), c.back);
    auto* number = new QGroupBox(QStringLiteral("数值"), content);
    (new QHBoxLayout(number))->addWidget(c.times100);
    contentForm->addRow(number);

    auto* width = new QGroupBox(QStringLiteral("宽度"), page);
    auto* widthForm = new QFormLayout(width);
    widthForm->addRow(c.widthMode);
    widthForm->addRow(QStringLiteral("宽度"), c.width);
    auto* shortOf = new QGroupBox(QStringLiteral("当内容不足宽度时"), width);
    auto* shortForm = new QFormLayout(shortOf);
    shortForm->addRow(c.padSide);
    shortForm->addRow(QStringLiteral("填充"), c.padText);
    widthForm->addRow(shortOf);

    auto* row = new QHBoxLayout(page);
    row->addWidget(content, 3);
    row->addWidget(width, 2);
    return page;
}

QWidget* Tyinhangsetw::makePreview()
{
    auto* box = new QGroupBox(QStringLiteral("预览"), this);
    record_ = new QLineEdit(box);
    record_->setObjectName(QStringLiteral("previewRecord"));
    record_->setReadOnly(true);
    notes_ = new QPlainTextEdit(box);
    notes_->setObjectName(QStringLiteral("previewNotes"));
    notes_->setReadOnly(true);
    notes_->setFixedHeight(96);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(record_);
    layout->addWidget(notes_);
    return box;
}

bool Tyinhangsetw::load()
{
    bool opened = false;
    app::runAction([&] { opened = form_.open(); });
    if (!opened) return false;
    fillControls();
    applyEnabling();
    connectChanges();
    showPreview();
    showCheck();
    if (form_.repaired())
        app::interaction().showMessage("工资帐套“" + form_.set + "”的代发格式记录不完整，已补齐为八个部分，请检查后按“确定”保存。");
    return true;
}

void Tyinhangsetw::fillControls()
{
    const BankLayout& l = form_.layout;
    partsUsed_->setValue(l.partsUsed);
    showChoice(separator_, l.separator);
    otherSeparator_->setText(q(l.otherSeparator));
    QStringList contents;
    for (const std::string& c : form_.contents) contents << q(c);
    for (size_t i = 0; i < parts_.size(); ++i) {
        const BankPart& p = l.parts[i];
        PartControls& c = parts_[i];
        c.content->clear();
        c.content->addItems(contents);
        showChoice(c.content, p.content);
        c.fixedText->setText(q(p.fixedText));
        c.front->setText(q(p.front));
        c.back->setText(q(p.back));
        c.times100->setChecked(p.times100);
        c.widthMode->setCurrentText(q(p.fixedWidth ? kFixedWidth : kActualWidth));
        c.width->setValue(p.width);
        showChoice(c.padSide, p.padSide);
        c.padText->setText(q(p.padText));
    }
}

void Tyinhangsetw::takeControls()
{
    BankLayout& l = form_.layout;
    l.partsUsed = partsUsed_->value();
    l.separator = s(separator_->currentText());
    l.otherSeparator = s(otherSeparator_->text());
    for (size_t i = 0; i < parts_.size(); ++i) {
        const PartControls& c = parts_[i];
        BankPart& p = l.parts[i];
        p.content = s(c.content->currentText());
        p.fixedText = s(c.fixedText->text());
        p.front = s(c.front->text());
        p.back = s(c.back->text());
        p.times100 = c.times100->isChecked();
        p.fixedWidth = c.widthMode->currentText() == q(kFixedWidth);
        p.width = c.width->value();
        p.padSide = s(c.padSide->currentText());
        p.padText = s(c.padText->text());
    }
}

void Tyinhangsetw::applyEnabling()
{
    otherSeparator_->setEnabled(form_.otherSeparatorEnabled());
    for (size_t i = 0; i < parts_.size(); ++i) {
        parts_[i].fixedText->setEnabled(BankLayoutForm::fixedTextEnabled(form_.layout.parts[i]));
        parts_[i].width->setEnabled(BankLayoutForm::widthEnabled(form_.layout.parts[i]));
    }
}

// Every change of a part rebuilds the preview; a content or width mode, and the separator, also
// change what may be typed.
void Tyinhangsetw::connectChanges()
{
    auto plain = [this] { changed(false); };
    auto enabling = [this] { changed(true); };
    connect(partsUsed_, &QSpinBox::valueChanged, this, plain);
    connect(separator_, &QComboBox::currentIndexChanged, this, enabling);
    connect(otherSeparator_, &QLineEdit::textChanged, this, plain);
    for (PartControls& c : parts_) {
        connect(c.content, &QComboBox::currentIndexChanged, this, enabling);
        connect(c.widthMode, &QComboBox::currentIndexChanged, this, enabling);
        connect(c.padSide, &QComboBox::currentIndexChanged, this, plain);
        connect(c.times100, &QCheckBox::toggled, this, plain);
        connect(c.width, &QSpinBox::valueChanged, this, plain);
        for (QLineEdit* e : {c.fixedText, c.front, c.back, c.padText}) connect(e, &QLineEdit::textChanged, this, plain);
    }
}

void Tyinhangsetw::changed(bool enabling)
{
    takeControls();
    if (enabling) applyEnabling();
    showPreview();
    checkTimer_->start();
}

void Tyinhangsetw::showPreview()
{
    BankLayoutForm::Preview p;
    app::runAction([&] { p = form_.preview(); });
    record_->setText(q(p.record));
    QStringList notes;
    if (!p.unencodable.empty()) notes << q(p.unencodable);
    for (const std::string& problem : p.problems) notes << q(problem);
    recordNotes_ = notes.join(QLatin1Char('\n'));
    notes_->setPlainText(recordNotes_);
}

// What the whole view would give: the record count, the total, the amounts rounded to the fen and
// the rows that would not read as the bank expects.
void Tyinhangsetw::showCheck()
{
    BankBatch b;
    app::runAction([&] { b = form_.check(); });
    QStringList notes;
    if (!recordNotes_.isEmpty()) notes << recordNotes_;
    notes << QStringLiteral("当前工资表：") + q(b.summary());
    if (!b.unencodable.empty()) notes << q(b.unencodable);
    if (!b.problems.empty()) notes << q(b.problemText());
    notes_->setPlainText(notes.join(QLatin1Char('\n')));
}

}  // namespace rsgz::payroll
