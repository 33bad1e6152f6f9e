#include "print/windows/Tdyddw.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "widgets/WindowStyle.h"

namespace rsgz::print {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
using Group = CardDefinitionForm::Group;
}  // namespace

Tdyddw::Tdyddw(app::TDM& dm, CardDefinition& def, QWidget* parent) : QDialog(parent), form_(dm, def), def_(def)
{
    setObjectName(QStringLiteral("Tdyddw"));
    setWindowTitle(QStringLiteral("定义订单打印内容"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildLists(), 3);
    auto* right = new QVBoxLayout;
    right->addWidget(buildSettings());
    right->addWidget(buildLines(true));
    right->addWidget(buildLines(false));
    right->addStretch();
    layout->addLayout(right, 2);
    widgets::finishListDialog(this, 1020, 620);
}

QWidget* Tdyddw::buildLists()
{
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel(QStringLiteral("数据库选择"), box), 0, 0);
    groups_ = new QListWidget(box);
    groups_->setObjectName(QStringLiteral("groupList"));
    groups_->addItems({QStringLiteral("员工基本数据"), QStringLiteral("公司数据"), QStringLiteral("其他内容")});
    groups_->setMaximumHeight(70);
    grid->addWidget(groups_, 1, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("字段列表"), box), 2, 0);
    grid->addWidget(new QLabel(QStringLiteral("选中列表"), box), 2, 2);
    fields_ = new QListWidget(box);
    fields_->setObjectName(QStringLiteral("fieldList"));
    chosen_ = new QListWidget(box);
    chosen_->setObjectName(QStringLiteral("chosenList"));
    grid->addWidget(fields_, 3, 0);
    grid->addWidget(chosen_, 3, 2);
    auto* buttons = new QVBoxLayout;
    const struct {
        const char* name;
        const char* caption;
        std::function<void()> action;
    } actions[] = {
        {"addButton", "添加", [this] { form_.add(fields_->currentRow()); }},
        {"removeButton", "删除", [this] { form_.remove(); }},
        {"removeAllButton", "全部删除", [this] { form_.removeAll(); }},
        {"upButton", "上移", [this] { form_.moveUp(); }},
        {"downButton", "下移", [this] { form_.moveDown(); }},
        {"saveButton", "保存", [this] { form_.save(); }},
        {"copyButton", "将列表选入其他内容", [this] { form_.copyToOther(); }},
        {"otherFontButton", "统一其他内容字体", [this] { chooseFont(true); }},
        {"closeButton", "返回", [this] { close(); }},
    };
    for (const auto& a : actions) {
        auto* b = new QPushButton(QString::fromUtf8(a.caption), box);
        b->setObjectName(QLatin1String(a.name));
        connect(b, &QPushButton::clicked, this, [this, action = a.action] {
            app::runAction(action);
            showLists();
        });
        buttons->addWidget(b);
    }
    buttons->addStretch();
    grid->addLayout(buttons, 3, 1);

    auto* fonts = new QHBoxLayout;
    fontName_ = new QLineEdit(QStringLiteral("宋体"), box);
    fontName_->setObjectName(QStringLiteral("fontName"));
    fontSize_ = new QLineEdit(QStringLiteral("9"), box);
    fontSize_->setObjectName(QStringLiteral("fontSize"));
    fontSize_->setMaximumWidth(50);
    for (QLineEdit* e : {fontName_, fontSize_}) {
        e->setReadOnly(true);
        e->installEventFilter(this);
    }
    fonts->addWidget(new QLabel(QStringLiteral("字体名称"), box));
    fonts->addWidget(fontName_);
    fonts->addWidget(new QLabel(QStringLiteral("大小"), box));
    fonts->addWidget(fontSize_);
    grid->addLayout(fonts, 4, 0, 1, 3);
    entry_ = new QLineEdit(box);
    entry_->setObjectName(QStringLiteral("otherEntry"));
    entry_->setPlaceholderText(QStringLiteral("输入其他内容(回车确认)"));
    grid->addWidget(new QLabel(QStringLiteral("输入其他内容(回车确认)"), box), 5, 0);
    grid->addWidget(entry_, 6, 0, 1, 3);

    connect(groups_, &QListWidget::currentRowChanged, this, [this](int row) {
        form_.chooseGroup(row == 0 ? Group::Employee : row == 1 ? Group::Company : row == 2 ? Group::Other : Group::None);
        showLists();
    });
    connect(fields_, &QListWidget::itemDoubleClicked, this, [this] {
        app::runAction([this] { form_.add(fields_->currentRow()); });
        showLists();
    });
    connect(chosen_, &QListWidget::itemClicked, this, [this] {
        form_.select(chosen_->currentRow());
        if (form_.group() == Group::Other && chosen_->currentItem()) entry_->setText(chosen_->currentItem()->text());
        showFont();
    });
    // The box is emptied for the next text once its text has been taken.
    connect(entry_, &QLineEdit::returnPressed, this, [this] {
        const size_t before = form_.chosen().size();
        app::runAction([this] { form_.enterOther(entry_->text().toStdString()); });
        if (form_.chosen().size() > before) entry_->clear();
        showLists();
    });
    return box;
}

QSpinBox* Tdyddw::spin(const char* name, int min, int max, int step, int value, std::function<void(int)> store)
{
    auto* s = new QSpinBox(this);
    s->setObjectName(QLatin1String(name));
    // The box shows what the record holds, even a value outside what its arrows offer (an old
    // record's 0): showing the nearest allowed value instead would hide what gets printed.
    s->setRange(std::min(min, value), std::max(max, value));
    s->setSingleStep(step);
    s->setValue(value);
    connect(s, &QSpinBox::valueChanged, this, [this, store = std::move(store)](int v) {
        if (!showing_) store(v);
    });
    return s;
}

QWidget* Tdyddw::buildSettings()
{
    auto* box = new QGroupBox(QStringLiteral("纸张与边距"), this);
    auto* grid = new QGridLayout(box);
    paper_ = new QComboBox(box);
    paper_->setObjectName(QStringLiteral("paperBox"));
    paper_->setEditable(true);
    paper_->addItems({QStringLiteral("A4"), QStringLiteral("B5"), QStringLiteral("16K"), QStringLiteral("32K"),
                      QStringLiteral("A3"), QStringLiteral("B4")});
    paper_->setCurrentText(q(def_.paperName()));
    CardDefinition& d = def_;
    paperWidth_ = spin("paperWidth", 300, 3000, 10, d.paperWidth(), [&d](int v) { d.setPaperSize(v, d.paperHeight()); });
    paperHeight_ = spin("paperHeight", 300, 4200, 10, d.paperHeight(), [&d](int v) { d.setPaperSize(d.paperWidth(), v); });
    connect(paper_, &QComboBox::textActivated, this, [this](const QString& name) {
        app::runAction([&] { form_.choosePaper(name.toStdString()); });
        showing_ = true;
        paperWidth_->setValue(def_.paperWidth());
        paperHeight_->setValue(def_.paperHeight());
        showing_ = false;
    });
    auto margins = [&d](int which) {
        return [&d, which](int v) {
            int m[4] = {d.leftMargin(), d.rightMargin(), d.topMargin(), d.bottomMargin()};
            m[which] = v;
            d.setMargins(m[0], m[1], m[2], m[3]);
        };
    };
    const std::pair<const char*, QWidget*> rows[] = {
        {"纸张大小", paper_},
        {"宽", paperWidth_},
        {"高", paperHeight_},
        {"左边距", spin("leftMargin", 10, 1000, 10, d.leftMargin(), margins(0))},
        {"右边距", spin("rightMargin", 10, 1000, 10, d.rightMargin(), margins(1))},
        {"上边距", spin("topMargin", 10, 1000, 10, d.topMargin(), margins(2))},
        {"下边距", spin("bottomMargin", 10, 1000, 10, d.bottomMargin(), margins(3))},
        {"表格上边距", spin("tableTop", 10, 1000, 10, d.tableTop(), [&d](int v) { d.setTableTop(v); })},
        {"行距(单位0.1毫米)", spin("lineSpacing", 30, 200, 5, d.lineSpacing(), [&d](int v) { d.setLineSpacing(v); })},
        {"偏差校正(X,Y)", spin("offsetX", 0, 1000, 10, d.offset().x, [&d](int v) { d.setOffset({v, d.offset().y}); })},
        {"", spin("offsetY", 0, 1000, 10, d.offset().y, [&d](int v) { d.setOffset({d.offset().x, v}); })},
        {"简历框宽", spin("resumeWidth", 100, 3000, 10, d.resumeWidth(), [&d](int v) { d.setResumeSize(v, d.resumeHeight()); })},
        {"简历框高", spin("resumeHeight", 100, 4200, 10, d.resumeHeight(), [&d](int v) { d.setResumeSize(d.resumeWidth(), v); })},
    };
    int i = 0;
    for (const auto& [caption, w] : rows) {
        grid->addWidget(new QLabel(QString::fromUtf8(caption), box), i / 2, (i % 2) * 2);
        grid->addWidget(w, i / 2, (i % 2) * 2 + 1);
        ++i;
    }
    auto* resume = new QCheckBox(QStringLiteral("打印个人简历部分"), box);
    resume->setObjectName(QStringLiteral("resumeCheck"));
    resume->setChecked(d.printResume());
    connect(resume, &QCheckBox::toggled, this, [&d](bool on) { d.setPrintResume(on); });
    grid->addWidget(resume, i / 2 + 1, 0, 1, 4);
    return box;
}

QWidget* Tdyddw::buildLines(bool horizontal)
{
    LineRow& row = lines_[horizontal ? 0 : 1];
    auto* box = new QGroupBox(horizontal ? QStringLiteral("表格横线") : QStringLiteral("表格竖线"), this);
    auto* grid = new QGridLayout(box);
    const int count = static_cast<int>(def_.lines(horizontal).size());
    row.count = spin(horizontal ? "hCount" : "vCount", 0, CardDefinition::kMaxLines, 1, count, [this, horizontal](int v) {
        def_.setLineCount(horizontal, v);
        lines_[horizontal ? 0 : 1].number->setMaximum(v);
    });
    row.number = spin(horizontal ? "hNumber" : "vNumber", 0, count, 1, 0, [this, horizontal](int) { showLine(horizontal); });
    grid->addWidget(new QLabel(horizontal ? QStringLiteral("表格横线数量") : QStringLiteral("表格竖线数量"), box), 0, 0);
    grid->addWidget(row.count, 0, 1);
    grid->addWidget(new QLabel(horizontal ? QStringLiteral("横线序号") : QStringLiteral("竖线序号"), box), 0, 2);
    grid->addWidget(row.number, 0, 3);
    auto* init = new QPushButton(QStringLiteral("初始化"), box);
    init->setObjectName(horizontal ? QStringLiteral("hInit") : QStringLiteral("vInit"));
    connect(init, &QPushButton::clicked, this, [this, horizontal] {
        if (horizontal) def_.initialiseHorizontalLines();
        else {
            def_.initialiseVerticalLines();
            for (int i : {1, 3}) lines_[1].coords[i]->setSingleStep(def_.lineSpacing());
        }
        showLine(horizontal);
    });
    grid->addWidget(init, 0, 4);
    grid->addWidget(new QLabel(QStringLiteral("起点"), box), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("末点"), box), 1, 3);
    for (int i = 0; i < 4; ++i) {
        row.coords[i] = spin("lineCoordinate", 0, 5000, 10, 0, [this, horizontal, i](int v) {
            LineRow& r = lines_[horizontal ? 0 : 1];
            const int n = r.number->value();
            if (n < 1) return;
            CardDefinition::Line l = def_.lines(horizontal).at(static_cast<size_t>(n - 1));
            int* c[4] = {&l.x1, &l.y1, &l.x2, &l.y2};
            *c[i] = v;
            def_.setLine(horizontal, n, l);
        });
        grid->addWidget(row.coords[i], 1, i < 2 ? i + 1 : i + 2);
    }
    return box;
}

void Tdyddw::showLine(bool horizontal)
{
    LineRow& r = lines_[horizontal ? 0 : 1];
    const int n = r.number->value();
    const std::vector<CardDefinition::Line> lines = def_.lines(horizontal);
    if (n < 1 || n > static_cast<int>(lines.size())) return;
    const CardDefinition::Line& l = lines[static_cast<size_t>(n - 1)];
    showing_ = true;
    const int values[4] = {l.x1, l.y1, l.x2, l.y2};
    for (int i = 0; i < 4; ++i) r.coords[i]->setValue(values[i]);
    showing_ = false;
}

void Tdyddw::showLists()
{
    fields_->clear();
    for (const std::string& f : form_.fieldList()) fields_->addItem(q(f));
    chosen_->clear();
    for (const std::string& c : form_.chosen()) chosen_->addItem(q(c));
    chosen_->setCurrentRow(form_.selected());
    showFont();
}

void Tdyddw::showFont()
{
    const CardDefinition::Font f = form_.font();
    fontName_->setText(q(f.name));
    fontSize_->setText(QString::number(f.size));
}

void Tdyddw::chooseFont(bool forAllOther)
{
    if (forAllOther && form_.group() != Group::Other) return;
    bool ok = false;
    QFont start(fontName_->text());
    start.setPointSize(fontSize_->text().toInt());
    const QFont chosen = QFontDialog::getFont(&ok, start, this, QStringLiteral("字体"));
    if (!ok) return;
    const CardDefinition::Font f{chosen.family().toStdString(), chosen.pointSize()};
    app::runAction([&] {
        if (forAllOther) form_.setOtherFontForAll(f);
        else form_.setFont(f);
    });
    showFont();
}

bool Tdyddw::eventFilter(QObject* watched, QEvent* e)
{
    if ((watched == fontName_ || watched == fontSize_) && e->type() == QEvent::MouseButtonPress) {
        chooseFont(false);
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

}  // namespace rsgz::print
