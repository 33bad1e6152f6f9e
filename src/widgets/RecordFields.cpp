#include "widgets/RecordFields.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/TypedDate.h"
#include "app/DatePicker.h"
#include "app/DictionaryLists.h"
#include "widgets/PickerFields.h"

namespace rsgz::widgets {

using app::EditorFieldKind;

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
                    app::runAction([this, k] { app::pickDictionary(dm_, k); });
                    refreshLists();
                });
        }
        w = combo;
    } else if (kind == EditorFieldKind::Choice) {
        auto* combo = new QComboBox(parent_);  // its items come from the window
        connect(combo, &QComboBox::textActivated, this, [this, column](const QString& t) { write(column, t, true); });
        w = combo;
    } else {
        line = new QLineEdit(parent_);
        line->setReadOnly(kind == EditorFieldKind::ReadOnly);
        w = line;
        if (kind == EditorFieldKind::Date) {
            const auto pick = [this, column] {
                if (ds_.mayChange()) app::runAction([this, column] { app::pickDate(dm_, ds_, column); });
            };
            onDoubleClick(line, pick);
            laidOut = withDateButton(line, column, pick);
        }
    }
    if (line && kind == EditorFieldKind::Date) {
        connect(line, &QLineEdit::textEdited, this, [this, column] { dateTyped(column); });
        connect(line, &QLineEdit::editingFinished, this, [this, column] { commitDate(column); });
        connect(line, &QLineEdit::returnPressed, this, [this, column] {
            if (commitDate(column)) pressEnter(column);
        });
    } else if (line) {
        connect(line, &QLineEdit::textEdited, this, [this, column](const QString& t) { write(column, t, false); });
        connect(line, &QLineEdit::editingFinished, this, [this, column, line] {
            const QString text = line->text();
            if (ds_.isEditing() && ds_.fieldIndex(column) >= 0 && text.toStdString() != ds_.asString(column) &&
                text != shownText(column, line))
                write(column, text, true);
            // What was typed is shown by the field's pattern once it is taken ("2.5" as "2.50").
            if (patterns_.count(column)) showOne(column, line);
        });
        connect(line, &QLineEdit::returnPressed, this, [this, column] { pressEnter(column); });
        line->installEventFilter(this);
    }
    w->setObjectName(QString::fromStdString(column));
    widgets_[column] = w;
    kinds_[column] = kind;
    if (laidOut) dateButtons_[column] = laidOut->findChild<QToolButton*>();
    showWritable(ds_.mayChange());
    order_.push_back(column);
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

void RecordFields::focusFirstEditable()
{
    for (const std::string& column : order_) {
        QWidget* w = widget(column);
        auto* line = qobject_cast<QLineEdit*>(w);
        if (line && line->isReadOnly()) continue;
        const int f = ds_.active() ? ds_.fieldIndex(column) : -1;
        if (f >= 0 && ds_.field(f).readOnly) continue;
        if (!w->isEnabled() || w->focusPolicy() == Qt::NoFocus) continue;
        w->setFocus();
        return;
    }
}

void RecordFields::refreshLists()
{
    std::vector<app::DictionaryField> fields;
    for (const auto& [column, key] : keys_)
        if (key.front() != '@') fields.push_back({column, key, ds_.name()});
    std::vector<std::vector<std::string>> lists;
    app::runAction([&] { lists = app::fillDictionaryLists(dm_, fields); });
    for (size_t i = 0; i < lists.size() && i < fields.size(); ++i) setSuggestions(box(fields[i].column), lists[i]);
}

void RecordFields::write(const std::string& column, const QString& text, bool report)
{
    bool written = false;
    writeRow(column, text, report, written);
    // After the write has ended: what follows may show the row again.
    if (written) written_(column);
}

void RecordFields::writeRow(const std::string& column, const QString& text, bool report, bool& written)
{
    if (showing_ || !ds_.active() || ds_.currentRow() < 0 || ds_.fieldIndex(column) < 0 || !ds_.mayChange()) return;
    if (ds_.field(ds_.fieldIndex(column)).readOnly) return;
    const std::string before = writing_;
    writing_ = column;
    const auto set = [&] {
        ds_.edit();
        ds_.setValue(column, text.isEmpty() ? db::Value() : db::Value(text.toStdString()));
    };
    struct Restore {
        std::string& w;
        std::string v;
        ~Restore() { w = v; }
    } restore{writing_, before};
    if (report) {
        if (app::runAction(set) && written_) written = true;
        return;
    }
    // A half-typed date or number is not an error yet; it is reported when the field is left. The
    // box keeps what was typed ("1." stays, and the next key makes "1.2"); the others show the row.
    try {
        set();
    } catch (const db::DataSetError&) {
    } catch (const db::Abort&) {
    }
}

void RecordFields::setNumberPattern(const std::string& column, bool yuanSign)
{
    patterns_[column] = yuanSign;
    if (QWidget* w = widget(column)) {
        if (yuanSign) w->installEventFilter(this);
        showOne(column, w);
    }
}

// The yuan sign goes while the box is edited and comes back when it is left, after the box's own
// handling of the leaving (which compares what it shows).
bool RecordFields::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && keypadComma(watched, static_cast<QKeyEvent*>(event))) return true;
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        for (const auto& [column, w] : widgets_) {
            if (w != watched || !patterns_.count(column)) continue;
            const std::string c = column;
            QWidget* box = w;
            if (event->type() == QEvent::FocusIn) showOne(c, box);
            else QTimer::singleShot(0, this, [this, c, box] { showOne(c, box); });
        }
    }
    return QObject::eventFilter(watched, event);
}

// The keypad's decimal key gives "," on some keyboards; a number box always takes it as the decimal
// point, which is the only one a number is read with.
bool RecordFields::keypadComma(QObject* watched, const QKeyEvent* key)
{
    if (!(key->modifiers() & Qt::KeypadModifier) || (key->key() != Qt::Key_Comma && key->text() != QStringLiteral(",")))
        return false;
    auto* line = qobject_cast<QLineEdit*>(watched);
    if (!line || line->isReadOnly() || !ds_.active()) return false;
    for (const auto& [column, w] : widgets_) {
        if (w != watched) continue;
        const int i = ds_.fieldIndex(column);
        if (i < 0) return false;
        const db::FieldType t = ds_.field(i).type;
        if (t != db::FieldType::Currency && t != db::FieldType::Double) return false;
        line->insert(QStringLiteral("."));
        return true;
    }
    return false;
}

QString RecordFields::shownText(const std::string& column, const QWidget* w) const
{
    if (!ds_.active() || ds_.currentRow() < 0 || ds_.fieldIndex(column) < 0) return {};
    const db::Value v = ds_.value(column);
    const auto pattern = patterns_.find(column);
    if (pattern == patterns_.end() || v.isNull()) return QString::fromStdString(v.toString());
    db::Money m;
    if (v.kind() == db::Value::Kind::Money) m = v.toMoney();
    else if (!db::Money::fromDoubleChecked(v.toDouble(), &m)) return QString::fromStdString(v.toString());
    const auto* line = qobject_cast<const QLineEdit*>(w);
    const bool editable = line && !line->isReadOnly();
    std::string text = m.toString(editable ? 4 : 2);
    // Past the two decimals of the pattern, only the digits the value holds.
    while (editable && text.size() > 3 && text[text.size() - 3] != '.' && text.back() == '0') text.pop_back();
    const bool sign = pattern->second && !(editable && w->hasFocus());
    return (sign ? QStringLiteral("￥") : QString()) + QString::fromStdString(text);
}

void RecordFields::showOne(const std::string& column, QWidget* w)
{
    if (column == writing_) return;  // shown as it stands while it is written
    const bool was = showing_;
    showing_ = true;
    const QString text = shownText(column, w);
    if (auto* line = qobject_cast<QLineEdit*>(w)) {
        if (line->text() != text) line->setText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->isEditable()) {
        if (combo->currentText() != text) combo->setEditText(text);
    } else if (combo) {
        if (combo->currentText() != text) combo->setCurrentIndex(combo->findText(text));
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
        if (memo->toPlainText() != text) memo->setPlainText(text);
    }
    showing_ = was;
}

// The first key into a date box puts the row into edit mode; the text itself waits for the check.
void RecordFields::dateTyped(const std::string& column)
{
    if (showing_ || !ds_.active() || ds_.currentRow() < 0) return;
    typedRow_ = ds_.currentRow();
    typedDates_[column].clear();
    if (ds_.isEditing()) return;
    writing_ = column;
    app::runAction([this] { ds_.edit(); });
    writing_.clear();
}

bool RecordFields::commitDate(const std::string& column)
{
    const auto it = typedDates_.find(column);
    auto* line = qobject_cast<QLineEdit*>(widget(column));
    if (it == typedDates_.end() || !line) return true;
    const QString typed = line->text().trimmed();
    if (!it->second.isEmpty() && it->second == typed) return false;  // refused already
    const std::string date = typed.isEmpty() ? std::string() : db::typedDateText(typed.toStdString());
    if (!typed.isEmpty() && date.empty()) {
        it->second = typed;  // before the message: its window takes the focus from the box
        write(column, typed, true);  // the dataset refuses it with its message; the box keeps the text
        return false;
    }
    typedDates_.erase(it);
    write(column, QString::fromStdString(date), true);
    const QString shown = ds_.active() && ds_.currentRow() >= 0 ? QString::fromStdString(ds_.asString(column)) : QString();
    if (line->text() != shown) line->setText(shown);
    return true;
}

bool RecordFields::commitTyped()
{
    bool ok = true;
    std::vector<std::string> columns;
    for (const auto& entry : typedDates_) columns.push_back(entry.first);
    for (const std::string& c : columns) {
        auto it = typedDates_.find(c);
        if (it != typedDates_.end()) it->second.clear();  // asked again: reported again
        ok = commitDate(c) && ok;
    }
    return ok;
}

void RecordFields::dataSetReset(db::DataSet&)
{
    typedDates_.clear();
    show();
}

void RecordFields::currentChanged(db::DataSet& ds)
{
    // Another row, or the row saved or given up: the boxes show what is stored.
    if (ds.currentRow() != typedRow_ || !ds.isEditing()) typedDates_.clear();
    show();
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
    const bool hasRow = ds_.active() && ds_.currentRow() >= 0;
    for (const auto& [column, w] : widgets_) {
        if (hasRow && typedDates_.count(column) && ds_.currentRow() == typedRow_) continue;
        showOne(column, w);
    }
    showWritable(ds_.mayChange());
}

void RecordFields::showWritable(bool may)
{
    for (const auto& [column, w] : widgets_) {
        const bool on = may && kinds_[column] != EditorFieldKind::ReadOnly && (!writable_ || writable_(column));
        if (auto* line = qobject_cast<QLineEdit*>(w)) line->setReadOnly(!on);
        else if (auto* combo = qobject_cast<QComboBox*>(w)) combo->setEnabled(on);
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) memo->setReadOnly(!on);
    }
    for (const auto& [column, button] : dateButtons_)
        if (button) button->setEnabled(may);
}

}  // namespace rsgz::widgets
