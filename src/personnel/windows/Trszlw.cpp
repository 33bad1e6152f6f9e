#include "personnel/windows/Trszlw.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "personnel/DepartmentEditor.h"
#include "widgets/ButtonRow.h"
#include "widgets/DataSetGrid.h"
#include "widgets/GridLink.h"
#include "widgets/PickerFields.h"
#include "widgets/RecordFields.h"
#include "widgets/WindowStyle.h"

namespace rsgz::personnel {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
constexpr int kGroupColumns = 3;  // label/field pairs side by side in a group
// Boxes whose text is long take a line of their own: an address or a mail address is read whole.
bool wideField(const std::string& column) { return column == "家庭住址" || column == "EMAIL"; }
}  // namespace

Trszlw::Trszlw(app::TDM& dm, QWidget* parent) : widgets::ActivatedDialog(parent), dm_(dm), record_(dm)
{
    setObjectName(QStringLiteral("Trszlw"));
    fields_ = new widgets::RecordFields(dm, dm.rszl, this);
    fields_->setEnter([](const std::string& c) { return employeeEnterNext(c); });

    auto* names = new widgets::DataSetGrid(&dm.rszl, false, this);
    names->setObjectName(QStringLiteral("nameList"));
    names->dataModel()->setVisibleFields({QStringLiteral("姓名")});
    names->horizontalHeader()->setStretchLastSection(true);
    names->setFixedWidth(120);
    connect(names, &QTableView::clicked, this, [this](const QModelIndex& i) {
        run([this, i] { record_.clickName(i.row()); });
    });

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("pages"));
    pages_->addTab(buildBasicPage(), QStringLiteral("基本信息"));
    pages_->addTab(buildExtraPage(), QStringLiteral("辅助信息"));
    for (const SubRecordPage& p : subRecordPages()) pages_->addTab(buildListPage(p), QString::fromUtf8(p.caption));
    connect(pages_, &QTabWidget::currentChanged, this, [this](int page) { run([this, page] { record_.setPage(page); }); });

    auto* body = new QHBoxLayout;
    body->addWidget(names);
    body->addWidget(pages_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildToolbar());
    layout->addLayout(body, 1);
    resize(1100, 700);
    widgets::centreOnScreen(this);
    showState();
}

Trszlw::~Trszlw() = default;

QWidget* Trszlw::buildToolbar()
{
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    auto step = [this](void (EmployeeRecord::*m)()) { return [this, m] { run([this, m] { (record_.*m)(); }); }; };
    widgets::addNavigatorButtons(row, this, {"第一条记录", "前一条记录", "后一条记录", "最后一条记录"},
                            {step(&EmployeeRecord::first), step(&EmployeeRecord::prior), step(&EmployeeRecord::next),
                             step(&EmployeeRecord::last)});
    QHBoxLayout* buttons = widgets::makeButtonRow(bar, {
        {"addButton", "增加", step(&EmployeeRecord::add)},
        {"saveButton", "保存", step(&EmployeeRecord::save)},
        {"deleteButton", "删除", step(&EmployeeRecord::remove)},
        {"photoButton", "照片", step(&EmployeeRecord::photo)},
        {"printButton", "打印", step(&EmployeeRecord::printCard)},
        {"returnButton", "返回", [this] { reject(); }},
        {"queryButton", "查询", step(&EmployeeRecord::query)},
        {"taxButton", "个税扣除", step(&EmployeeRecord::taxDeductions)},
    });
    row->addLayout(buttons);
    row->addStretch();
    add_ = bar->findChild<QPushButton*>(QStringLiteral("addButton"));
    save_ = bar->findChild<QPushButton*>(QStringLiteral("saveButton"));
    delete_ = bar->findChild<QPushButton*>(QStringLiteral("deleteButton"));
    return bar;
}

QWidget* Trszlw::buildBasicPage()
{
    auto* inner = new QWidget;
    auto* grid = new QGridLayout(inner);
    photo_ = new QLabel(inner);
    photo_->setObjectName(QStringLiteral("photo"));
    photo_->setFixedSize(120, 150);
    photo_->setAlignment(Qt::AlignCenter);
    photo_->setFrameShape(QFrame::StyledPanel);
    auto* photoBox = new QGroupBox(QStringLiteral("照片"), inner);
    (new QVBoxLayout(photoBox))->addWidget(photo_);

    std::vector<QComboBox*> levels;
    int groupRow = 0;
    for (const EmployeeGroup& g : employeeGroups()) {
        auto* box = new QGroupBox(q(g.caption), inner);
        auto* form = new QGridLayout(box);
        int slot = 0;  // label/field pairs placed so far, a wide field counting as a whole line
        for (const EmployeeField& f : g.fields) {
            QWidget* w = fields_->add(f.column, f.kind, f.key);
            const bool wide = wideField(f.column);
            if (wide && slot % kGroupColumns != 0) slot += kGroupColumns - slot % kGroupColumns;
            const int r = slot / kGroupColumns, c = (slot % kGroupColumns) * 2;
            slot += wide ? kGroupColumns : 1;
            form->addWidget(new QLabel(q(f.label.empty() ? f.column : f.label), box), r, c);
            if (f.column == "员工编号") {
                auto* cell = new QHBoxLayout;
                cell->addWidget(w);
                auto* check = new QToolButton(box);
                check->setObjectName(QStringLiteral("checkNumber"));
                check->setText(QStringLiteral("?"));
                check->setToolTip(QStringLiteral("检查员工编号是否重复"));
                connect(check, &QToolButton::clicked, this, [this, w] {
                    const std::string typed = static_cast<QLineEdit*>(w)->text().toStdString();
                    run([this, typed] { record_.checkNumber(typed); });
                });
                cell->addWidget(check);
                form->addLayout(cell, r, c + 1);
            } else {
                form->addWidget(w, r, c + 1, 1, wide ? kGroupColumns * 2 - 1 : 1);
            }
            if (f.kind == app::EditorFieldKind::Department) levels.push_back(fields_->box(f.column));
        }
        grid->addWidget(box, groupRow++, 0, 1, 2);
    }
    grid->addWidget(photoBox, 0, 2, Qt::AlignTop);
    departments_ = new widgets::DepartmentBoxes(dm_, levels, this);
    connect(departments_, &widgets::DepartmentBoxes::editorRequested, this, [this](int level) {
        app::DepartmentPath stored;
        for (int l = 1; l <= app::kDepartmentLevels; ++l) stored[static_cast<size_t>(l - 1)] = dm_.rszl.asString(app::departmentColumn(l));
        app::runAction([level, &stored] { openDepartmentEditor(level, stored); });
        fillLists();
    });

    auto* scroll = new QScrollArea;
    scroll->setWidget(inner);
    scroll->setWidgetResizable(true);
    return scroll;
}

QWidget* Trszlw::buildExtraPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("个人简历"), page));
    layout->addWidget(fields_->add("个人简历", app::EditorFieldKind::Memo), 1);
    const EmployeeGroup& g = contactGroup();
    auto* box = new QGroupBox(q(g.caption), page);
    auto* form = new QGridLayout(box);
    for (size_t i = 0; i < g.fields.size(); ++i) {
        const int r = static_cast<int>(i) / 2, c = (static_cast<int>(i) % 2) * 2;
        form->addWidget(new QLabel(q(g.fields[i].column), box), r, c);
        form->addWidget(fields_->add(g.fields[i].column, g.fields[i].kind), r, c + 1);
    }
    layout->addWidget(box);
    layout->addWidget(new QGroupBox(QStringLiteral("自定义信息:"), page));
    return page;
}

QWidget* Trszlw::buildListPage(const SubRecordPage& p)
{
    auto* page = new QWidget;
    db::DataSet* ds = dm_.dataSet(p.dataSet);
    auto* grid = new widgets::DataSetGrid(ds, p.index != kEvaluationPage, page);
    grid->setObjectName(QString::fromUtf8(p.dataSet));
    QStringList cols;
    for (const std::string& c : p.columns) cols << q(c);
    grid->dataModel()->setVisibleFields(cols);
    grid->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    grid->setEnterMovesToNextColumn(gridEnterMovesRight(p.index));
    connect(grid, &QTableView::doubleClicked, this, [this] { run([this] { record_.openPageEditor(); }); });
    QHBoxLayout* buttons = widgets::makeButtonRow(page, {
        {"newButton", "新增", [this] { run([this] { record_.pageAdd(); }); }},
        {"removeButton", "删除", [this] { run([this] { record_.pageDelete(); }); }},
        {"printButton", "打印", [this] { run([this] { record_.pagePrint(); }); }},
        {"designButton", "表格设计", [this] { run([this] { record_.pageDesign(); }); }},
    });
    buttons->addStretch();
    for (const char* name : {"newButton", "removeButton"}) {
        auto* b = page->findChild<QPushButton*>(QString::fromUtf8(name));
        if (p.index == kEvaluationPage) b->hide();
    }
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(buttons);
    layout->addWidget(grid, 1);
    return page;
}

void Trszlw::activateOnce()
{
    run([this] { record_.activate(); });
    fillLists();
}

void Trszlw::fillLists()
{
    app::DepartmentPath stored;
    if (dm_.rszl.active() && dm_.rszl.currentRow() >= 0)
        for (int l = 1; l <= app::kDepartmentLevels; ++l) stored[static_cast<size_t>(l - 1)] = dm_.rszl.asString(app::departmentColumn(l));
    departments_->refresh(stored);
    fields_->refreshLists();
    std::vector<std::string> grades, sets;
    app::runAction([&] {
        grades = record_.gradeNames();
        sets = record_.setNames();
    });
    widgets::setSuggestions(fields_->box("工资等级"), grades);
    widgets::setSuggestions(fields_->box("工资帐套名称"), sets);
    widgets::setSuggestions(fields_->box("工资核算"), {"是", "否"});
}

void Trszlw::run(const std::function<void()>& step)
{
    app::runAction(step);
    showState();
}

void Trszlw::showState()
{
    setWindowTitle(q(record_.caption));
    add_->setEnabled(record_.addEnabled);
    save_->setEnabled(record_.saveEnabled);
    delete_->setEnabled(record_.deleteEnabled);
    fields_->show();
    showPhoto();
    if (record_.focusNumber) {
        record_.focusNumber = false;
        pages_->setCurrentIndex(0);
        if (QWidget* w = fields_->widget("员工编号")) w->setFocus();
    }
}

void Trszlw::showPhoto()
{
    if (!photo_) return;
    QPixmap pic;
    if (!record_.photoFile.empty()) pic.load(q(record_.photoFile));
    if (pic.isNull()) {
        photo_->clear();
        return;
    }
    photo_->setPixmap(pic.scaled(photo_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void Trszlw::reject()
{
    bool done = false;  // a refused date or save keeps the window open
    if (!fields_->commitTyped()) return;
    app::runAction([this, &done] { done = record_.close(); });
    if (done) QDialog::reject();
}

}  // namespace rsgz::personnel
