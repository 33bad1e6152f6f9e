#include "ui/RecordFields.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QToolButton>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "personnel/DatePicker.h"
#include "personnel/DictionaryLists.h"
#include "ui/PickerFields.h"

namespace rsgz::ui {

using personnel::EditorFieldKind;

RecordFields::RecordFields(app::TDM& dm, db::DataSet& ds, QWidget* parent)
    : QObject(parent), dm_(dm), ds_(ds), parent_(parent)
{
    ds_.addListener(this);
}

RecordFields::~RecordFields() { ds_.removeListener(this); }

QWidget* RecordFields::add(const std::string& column, EditorFieldKind kind, const std::string& key)
{
    QWidget* w = nullptr;
    QWidget* laidOut = nullptr;  // what the window places, when it is more than the control
    QLineEdit* line = nullptr;
    if (kind == EditorFieldKind::Memo) {
        auto* memo = new QPlainTextEdit(parent_);
        connect(memo, &QPlainTextEdit::textChanged, this, [this, memo, column] {
            if (!showing_) write(column, memo->toPlainText(), false);
        });
        w = memo;
    } else if (kind == EditorFieldKind::Dictionary || kind == EditorFieldKind::Department) {
        auto* combo = new QComboBox(parent_);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        line = combo->lineEdit();
        connect(combo, &QComboBox::textActivated, this, [this, column](const QString& t) { write(column, t, true); });
        if (kind == EditorFieldKind::Dictionary) {
            const std::string k = key.empty() ? column : key;
            keys_[column] = k;
            if (k.front() != '@')
                onDoubleClick(combo, [this, k] {
                    app::runAction([this, k] { personnel::pickDictionary(dm_, k); });
                    refreshLists();
                });
        }
        w = combo;
    } else {
        line = new QLineEdit(parent_);
        line->setReadOnly(kind == EditorFieldKind::ReadOnly);
        w = line;
        if (kind == EditorFieldKind::Date) {
            const auto pick = [this, column] {
                if (ds_.mayChange()) app::runAction([this, column] { personnel::pickDate(dm_, ds_, column); });
            };
            onDoubleClick(line, pick);
            laidOut = withDateButton(line, column, pick);
        }
    }
    if (line) {
        connect(line, &QLineEdit::textEdited, this, [this, column](const QString& t) { write(column, t, false); });
        connect(line, &QLineEdit::editingFinished, this, [this, column, line] {
            if (ds_.isEditing() && ds_.asString(column) != line->text().toStdString()) write(column, line->text(), true);
        });
        connect(line, &QLineEdit::returnPressed, this, [this, column] { pressEnter(column); });
    }
    w->setObjectName(QString::fromStdString(column));
    widgets_[column] = w;
    kinds_[column] = kind;
    if (laidOut) dateButtons_[column] = laidOut->findChild<QToolButton*>();
    showWritable(ds_.mayChange());
    return laidOut ? laidOut : w;
}

// The date button beside a date field: the same picker as a double-click on the field.
QWidget* RecordFields::withDateButton(QLineEdit* line, const std::string& column, const std::function<void()>& pick)
{
    auto* cell = new QWidget(parent_);
    auto* row = new QHBoxLayout(cell);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    line->setParent(cell);
    row->addWidget(line, 1);
    auto* button = new QToolButton(cell);
    button->setObjectName(QString::fromStdString("dateButton:" + column));
    button->setText(QStringLiteral("…"));
    button->setToolTip(QStringLiteral("选择日期"));
    button->setFocusPolicy(Qt::NoFocus);  // Enter moves between the fields, never onto the button
    connect(button, &QToolButton::clicked, this, pick);
    row->addWidget(button);
    return cell;
}

QWidget* RecordFields::widget(const std::string& column) const
{
    const auto it = widgets_.find(column);
    return it == widgets_.end() ? nullptr : it->second;
}

QComboBox* RecordFields::box(const std::string& column) const { return qobject_cast<QComboBox*>(widget(column)); }

void RecordFields::refreshLists()
{
    std::vector<personnel::DictionaryField> fields;
    for (const auto& [column, key] : keys_)
        if (key.front() != '@') fields.push_back({column, key, ds_.name()});
    std::vector<std::vector<std::string>> lists;
    app::runAction([&] { lists = personnel::fillDictionaryLists(dm_, fields); });
    for (size_t i = 0; i < lists.size() && i < fields.size(); ++i) setSuggestions(box(fields[i].column), lists[i]);
}

void RecordFields::write(const std::string& column, const QString& text, bool report)
{
    if (showing_ || !ds_.active() || ds_.currentRow() < 0 || ds_.fieldIndex(column) < 0 || !ds_.mayChange()) return;
    if (ds_.field(ds_.fieldIndex(column)).readOnly) return;
    const auto set = [&] {
        ds_.edit();
        ds_.setValue(column, text.isEmpty() ? db::Value() : db::Value(text.toStdString()));
    };
    if (report) {
        app::runAction(set);
        return;
    }
    // A half-typed date or number is not an error yet; it is reported when the field is left.
    try {
        set();
    } catch (const db::DataSetError&) {
    } catch (const db::Abort&) {
    }
}

void RecordFields::pressEnter(const std::string& column)
{
    if (!enter_) return;
    std::string next;
    app::runAction([&] { next = enter_(column); });
    if (QWidget* w = widget(next)) w->setFocus();
}

void RecordFields::show()
{
    showing_ = true;
    const bool hasRow = ds_.active() && ds_.currentRow() >= 0;
    for (const auto& [column, w] : widgets_) {
        const QString text = hasRow && ds_.fieldIndex(column) >= 0 ? QString::fromStdString(ds_.asString(column)) : QString();
        if (auto* line = qobject_cast<QLineEdit*>(w)) {
            if (line->text() != text) line->setText(text);
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            if (combo->currentText() != text) combo->setEditText(text);
        } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
            if (memo->toPlainText() != text) memo->setPlainText(text);
        }
    }
    showing_ = false;
    showWritable(ds_.mayChange());
}

void RecordFields::showWritable(bool may)
{
    for (const auto& [column, w] : widgets_) {
        const bool on = may && kinds_[column] != EditorFieldKind::ReadOnly;
        if (auto* line = qobject_cast<QLineEdit*>(w)) line->setReadOnly(!on);
        else if (auto* combo = qobject_cast<QComboBox*>(w)) combo->setEnabled(on);
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) memo->setReadOnly(!on);
    }
    for (const auto& [column, button] : dateButtons_)
        if (button) button->setEnabled(may);
}

}  // namespace rsgz::ui
