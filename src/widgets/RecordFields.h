#pragma once
// The fields of a record window bound to the current row of one dataset: text boxes, memos,
// drop-down fields with their suggestions, fixed choice lists, date fields with the date picker, read-only fields.
// Typing puts the row into edit mode and writes through the dataset; any change of the dataset
// (a move, a post, a re-read) shows the row again. Enter moves the focus as the window says.
// Without the right that guards the dataset every field is shown read-only and no picker writes.
#include <QObject>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "db/DataSet.h"
#include "app/RecordEditor.h"

class QComboBox;
class QKeyEvent;
class QLineEdit;
class QWidget;

namespace rsgz::widgets {

class RecordFields : public QObject, private db::DataSetListener {
    Q_OBJECT
public:
    RecordFields(app::TDM& dm, db::DataSet& ds, QWidget* parent);
    ~RecordFields() override;

    // Creates the control of one field (object name = column) and returns what the window lays
    // out: the control, or for a date field the control with its date button beside it. Dictionary
    // fields take the key's suggestions on refreshLists(); a double-click opens the dictionary, or
    // the date picker on a date field, as does the date button.
    QWidget* add(const std::string& column, app::EditorFieldKind kind, const std::string& key = {});
    QWidget* widget(const std::string& column) const;
    QComboBox* box(const std::string& column) const;
    // The focus into the first field, in the order added, that takes typing.
    void focusFirstEditable();

    // An amount or quantity field shown with the "0.00" pattern: a read-only box with exactly two
    // decimals, an editable one with at least two and every further decimal it holds (a price of
    // 1.2345 stays 1.2345); with the yuan sign before it while the box is not being edited.
    void setNumberPattern(const std::string& column, bool yuanSign = false);

    // Beyond the dataset's right: whether a field takes typing now (asked whenever the row is shown).
    void setWritable(std::function<bool(const std::string&)> may) { writable_ = std::move(may); }
    // Called when a field's value was taken: picked from its list, or the field left after typing.
    void setWritten(std::function<void(const std::string&)> done) { written_ = std::move(done); }

    // The field Enter moves to; unset: Enter does nothing.
    void setEnter(std::function<std::string(const std::string&)> next) { enter_ = std::move(next); }
    // Fills every dictionary field's suggestions from 数据字典 (keys starting with '@' are left to
    // the window, which fills them through box()).
    void refreshLists();
    void show();  // the current row into the controls
    db::DataSet& dataSet() const { return ds_; }
    // Writes what is typed into a date box and not yet checked (Esc or a close leaves no focus
    // change behind). False when a typed date was refused.
    bool commitTyped();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString shownText(const std::string& column, const QWidget* w) const;
    bool keypadComma(QObject* watched, const QKeyEvent* key);
    void showOne(const std::string& column, QWidget* w);
    void dataSetReset(db::DataSet&) override;
    void rowChanged(db::DataSet&, int) override { show(); }
    void currentChanged(db::DataSet&) override;
    void write(const std::string& column, const QString& text, bool report);
    void writeRow(const std::string& column, const QString& text, bool report, bool& written);
    void dateTyped(const std::string& column);
    bool commitDate(const std::string& column);
    void pressEnter(const std::string& column);
    void showWritable(bool may);
    QWidget* withDateButton(QLineEdit* line, const std::string& column, const std::function<void()>& pick);

    app::TDM& dm_;
    db::DataSet& ds_;
    QWidget* parent_;
    std::map<std::string, QWidget*> widgets_;
    std::vector<std::string> order_;  // the columns as added
    std::map<std::string, std::string> keys_;  // dictionary field -> key
    std::map<std::string, app::EditorFieldKind> kinds_;
    std::map<std::string, QWidget*> dateButtons_;
    std::map<std::string, bool> patterns_;     // number field -> with the yuan sign
    std::function<std::string(const std::string&)> enter_;
    std::function<bool(const std::string&)> writable_;
    std::function<void(const std::string&)> written_;
    bool showing_ = false;
    std::string writing_;  // the field whose text is being written: shown as it stands
    // Date boxes hold what is typed until they are left or Enter is pressed; until then (and after
    // a refusal) they keep their text while the row stays the same. The refused text is not
    // reported twice.
    std::map<std::string, QString> typedDates_;  // column -> text refused last, empty when none
    int typedRow_ = -1;
};

}  // namespace rsgz::widgets
