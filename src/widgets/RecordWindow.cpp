#include "widgets/RecordWindow.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Rights.h"
#include "db/DataSet.h"
#include "widgets/ButtonRow.h"
#include "widgets/GridLink.h"
#include "widgets/PickerFields.h"
#include "widgets/RecordFields.h"
#include "widgets/WindowStyle.h"

namespace rsgz::widgets {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }

// A field whose list the behaviour gives rather than the dictionary.
bool listed(const app::EditorField& f)
{
    using K = app::EditorFieldKind;
    return f.kind == K::Choice || (f.kind == K::Dictionary && !f.key.empty() && f.key.front() == '@');
}
}  // namespace

RecordWindow::RecordWindow(app::TDM& dm, const app::RecordWindowTable& table,
                           std::unique_ptr<app::RecordBehaviour> behaviour, QWidget* parent)
    : RecordDialog(parent), dm_(dm), table_(table), behaviour_(std::move(behaviour)),
      fields_(new RecordFields(dm, behaviour_->dataSet(), this)), browseState_([this](const app::BrowseState& s) {
          const bool on[4] = {s.first, s.prior, s.next, s.last};
          for (size_t i = 0; i < 4; ++i)
              if (browse_[i]) browse_[i]->setEnabled(on[i]);
      })
{
    setObjectName(q(table.windowClass));
    setWindowTitle(q(table.caption));
    QLayout* form = layOutFields();
    linkDepartments();
    fields_->setWritable([this](const std::string& c) { return behaviour_->writable(c); });
    fields_->setWritten([this](const std::string& c) { run([this, c] { behaviour_->written(c); }); });
    // Enter walks the table's order; the behaviour may take it elsewhere (a new row at the end).
    if (!table.enterOrder.empty())
        fields_->setEnter([this](const std::string& c) {
            const std::string next = behaviour_->enter(c);
            return next != c ? next : app::nextInOrder(table_.enterOrder, c);
        });

    auto* row = new QHBoxLayout;
    const auto move = [this](void (app::RecordBehaviour::*step)()) {
        return [this, step] { run([this, step] { (behaviour_.get()->*step)(); }); };
    };
    addNavigatorButtons(row, this, {table.navigator[0].c_str(), table.navigator[1].c_str(), table.navigator[2].c_str(),
                                    table.navigator[3].c_str()},
                        {move(&app::RecordBehaviour::first), move(&app::RecordBehaviour::prior),
                         move(&app::RecordBehaviour::next), move(&app::RecordBehaviour::last)});
    for (size_t i = 0; i < 4; ++i) browse_[i] = qobject_cast<QToolButton*>(row->itemAt(static_cast<int>(i))->widget());
    row->addStretch();
    std::vector<ButtonSpec> buttons;
    for (const app::RecordButton& b : table.buttons)
        buttons.push_back({b.objectName.c_str(), b.caption.c_str(), [this, &b] { press(b); }});
    row->addLayout(makeButtonRow(this, buttons));
    for (const app::RecordButton& b : table.buttons) buttons_[b.objectName] = findChild<QPushButton*>(q(b.objectName));

    body_ = new QVBoxLayout(this);
    body_->addLayout(row);
    body_->addLayout(form);
    browseState_.follow(&behaviour_->dataSet());
    showChoices();
    showButtons();
    finishDialog(this);
}

// One column: a caption beside each field. More: the fields row by row across the columns, a memo
// on a row of its own over the whole width.
QLayout* RecordWindow::layOutFields()
{
    if (table_.columns <= 1) {
        auto* form = new QFormLayout;
        for (const app::EditorField& f : table_.fields) form->addRow(q(f.column), addField(f));
        return form;
    }
    auto* grid = new QGridLayout;
    const int columns = table_.columns;
    int row = 0, column = 0;
    for (const app::EditorField& f : table_.fields) {
        const bool wide = f.kind == app::EditorFieldKind::Memo;
        if (wide && column > 0) ++row, column = 0;
        grid->addWidget(new QLabel(q(f.column), this), row, column * 2);
        grid->addWidget(addField(f), row, column * 2 + 1, 1, wide ? columns * 2 - 1 : 1);
        if (wide || ++column == columns) ++row, column = 0;
    }
    return grid;
}

QWidget* RecordWindow::addField(const app::EditorField& f)
{
    QWidget* w = fields_->add(f.column, f.kind, f.key);
    if (f.pattern != app::FieldPattern::AsStored) fields_->setNumberPattern(f.column, f.pattern == app::FieldPattern::Yuan);
    if (f.kind == app::EditorFieldKind::Person) w = withPersonButton(w, f);
    if (f.width > 0) fields_->widget(f.column)->setMinimumWidth(f.width);
    return w;
}

void RecordWindow::linkDepartments()
{
    std::vector<QComboBox*> boxes;
    for (const app::EditorField& f : table_.fields)
        if (f.kind == app::EditorFieldKind::Department) boxes.push_back(fields_->box(f.column));
    if (!boxes.empty()) departments_ = new DepartmentBoxes(dm_, boxes, this);
}

RecordWindow::~RecordWindow() = default;

QPushButton* RecordWindow::button(const std::string& objectName) const
{
    const auto it = buttons_.find(objectName);
    return it == buttons_.end() ? nullptr : it->second;
}

void RecordWindow::addBelow(QWidget* part)
{
    body_->addWidget(part);
    finishDialog(this);
}

void RecordWindow::press(const app::RecordButton& b)
{
    using S = app::RecordStep;
    switch (b.step) {
    case S::Add: run([this] { behaviour_->add(); }); break;
    case S::Save: run([this] { behaviour_->save(); }); break;
    case S::Delete: run([this] { behaviour_->remove(); }); break;
    case S::Return: reject(); break;
    case S::Action: run([this, name = b.objectName] { behaviour_->act(name); }); break;
    }
}

// A person field with its picker button (选择经办人, 选择批准人) beside it.
QWidget* RecordWindow::withPersonButton(QWidget* field, const app::EditorField& f)
{
    auto* cell = new QWidget(this);
    auto* row = new QHBoxLayout(cell);
    row->setContentsMargins(0, 0, 0, 0);
    field->setParent(cell);
    row->addWidget(field, 1);
    auto* button = new QPushButton(q(f.key), cell);
    button->setObjectName(q(f.key));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this,
            [this, column = f.column] { run([this, column] { behaviour_->pickPerson(column); }); });
    row->addWidget(button);
    return cell;
}

void RecordWindow::activateOnce()
{
    run([this] { behaviour_->activate(); });
    fields_->refreshLists();
    fields_->focusFirstEditable();
}

bool RecordWindow::leave() { return fields_->commitTyped() && behaviour_->close(); }

void RecordWindow::showChoices()
{
    for (const app::EditorField& f : table_.fields) {
        if (!listed(f)) continue;
        QComboBox* box = fields_->box(f.column);
        const std::vector<std::string> items = behaviour_->choices(f);
        bool same = box->count() == static_cast<int>(items.size());
        for (int i = 0; same && i < box->count(); ++i) same = box->itemText(i).toStdString() == items[static_cast<size_t>(i)];
        if (!same) setSuggestions(box, items);
    }
}

// The lists below a department field follow the levels the row holds.
void RecordWindow::showDepartments()
{
    if (!departments_) return;
    const db::DataSet& ds = behaviour_->dataSet();
    const bool onRow = ds.active() && ds.currentRow() >= 0;
    app::DepartmentPath stored;
    size_t level = 0;
    for (const app::EditorField& f : table_.fields)
        if (f.kind == app::EditorFieldKind::Department && level < stored.size())
            stored[level++] = onRow ? ds.asString(f.column) : std::string();
    departments_->refresh(stored);
}

void RecordWindow::showButtons()
{
    for (const app::RecordButton& b : table_.buttons)
        if (QPushButton* button = buttons_[b.objectName])
            button->setEnabled((b.right.empty() || app::hasRight(dm_, b.right)) && behaviour_->enabled(b));
}

void RecordWindow::showAfterStep()
{
    showChoices();
    fields_->show();
    showDepartments();
    showButtons();
}

}  // namespace rsgz::widgets
