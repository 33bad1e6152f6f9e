#include "personnel/windows/Tunitw.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "widgets/ButtonRow.h"
#include "widgets/GridLink.h"
#include "widgets/PickerFields.h"
#include "widgets/RecordFields.h"
#include "widgets/WindowStyle.h"

namespace rsgz::personnel {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

Tunitw::Tunitw(app::TDM& dm, const EditorSpec& setup, QWidget* parent)
    : QDialog(parent), dm_(dm), editor_(dm, setup)
{
    setObjectName(q(setup.windowClass));
    setWindowTitle(q(setup.caption));
    fields_ = new ui::RecordFields(dm, editor_.dataSet(), this);
    auto* form = new QFormLayout;
    std::vector<QComboBox*> after;
    for (const EditorField& f : setup.fields) {
        QWidget* w = fields_->add(f.column, f.kind, f.key);
        if (f.pattern != FieldPattern::AsStored) fields_->setNumberPattern(f.column, f.pattern == FieldPattern::Yuan);
        if (f.kind == EditorFieldKind::Person) w = withPersonButton(w, f);
        form->addRow(q(f.column), w);
        if (f.kind == EditorFieldKind::Department) after.push_back(fields_->box(f.column));
    }
    if (!setup.enterOrder.empty()) fields_->setEnter([this](const std::string& c) { return editor_.enter(c); });
    if (!after.empty()) departments_ = new ui::DepartmentBoxes(dm, after, this);

    auto* row = new QHBoxLayout;
    auto move = [this](void (RecordEditor::*step)()) { return [this, step] { run([this, step] { (editor_.*step)(); }); }; };
    ui::addNavigatorButtons(row, this, {"第一条记录", "前一条记录", "后一条记录", "最后一条记录"},
                            {move(&RecordEditor::first), move(&RecordEditor::prior), move(&RecordEditor::next),
                             move(&RecordEditor::last)});
    for (int i = 0; i < 4; ++i) browse_[static_cast<size_t>(i)] = qobject_cast<QToolButton*>(row->itemAt(i)->widget());
    row->addStretch();
    QHBoxLayout* buttons = ui::makeButtonRow(this, {
        {"addButton", "增加", [this] { run([this] { editor_.add(); }); }},
        {"saveButton", "保存", [this] { run([this] { editor_.save(); }); }},
        {"deleteButton", "删除", [this] { run([this] { editor_.remove(); }); }},
        {"returnButton", "返回", [this] { reject(); }},
    });
    row->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(form);
    if (setup.coursePanel) {
        auto* box = new QGroupBox(QStringLiteral("培训课程"), this);
        course_ = new QLabel(box);
        course_->setObjectName(QStringLiteral("coursePanel"));
        (new QVBoxLayout(box))->addWidget(course_);
        layout->addWidget(box);
    }
    ui::finishDialog(this);
}

Tunitw::~Tunitw() = default;

// A person field with its picker button (选择经办人, 选择批准人) beside it.
QWidget* Tunitw::withPersonButton(QWidget* field, const EditorField& f)
{
    auto* cell = new QWidget(this);
    auto* row = new QHBoxLayout(cell);
    row->setContentsMargins(0, 0, 0, 0);
    field->setParent(cell);
    row->addWidget(field, 1);
    auto* button = new QPushButton(q(f.key), cell);
    button->setObjectName(q(f.key));
    button->setAutoDefault(false);
    const std::string column = f.column;
    connect(button, &QPushButton::clicked, this, [this, column] { run([this, column] { editor_.pickPerson(column); }); });
    row->addWidget(button);
    return cell;
}

void Tunitw::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (activated_) return;
    activated_ = true;
    run([this] { editor_.activate(); });
    fields_->refreshLists();
    fields_->focusFirstEditable();
}

void Tunitw::run(const std::function<void()>& step)
{
    app::runAction(step);
    fields_->show();
    const app::BrowseState& s = editor_.browse;
    const bool on[4] = {s.first, s.prior, s.next, s.last};
    for (int i = 0; i < 4; ++i)
        if (browse_[static_cast<size_t>(i)]) browse_[static_cast<size_t>(i)]->setEnabled(on[i]);
    if (departments_) {
        DepartmentPath stored;
        for (int level = 1; level <= 3; ++level)
            stored[static_cast<size_t>(level - 1)] = editor_.dataSet().active() && editor_.dataSet().currentRow() >= 0
                                                         ? editor_.dataSet().asString(std::string("调动后") + departmentColumn(level))
                                                         : std::string();
        departments_->refresh(stored);
    }
    showCourse();
}

void Tunitw::showCourse()
{
    if (!course_) return;
    QStringList lines;
    const bool has = dm_.pxkc.active() && dm_.pxkc.currentRow() >= 0;
    for (const char* f : {"课程编号", "培训名称", "培训内容", "开始日期", "结束日期", "培训单位"})
        lines << QStringLiteral("%1：%2").arg(QString::fromUtf8(f), has ? q(dm_.pxkc.asString(f)) : QString());
    course_->setText(lines.join(QLatin1Char('\n')));
}

void Tunitw::reject()
{
    bool done = false;  // a refused date or save keeps the window open
    if (!fields_->commitTyped()) return;
    app::runAction([this, &done] { done = editor_.close(); });
    if (done) QDialog::reject();
}

}  // namespace rsgz::personnel
