#pragma once
// The fields of a record window bound to the current row of one dataset: text boxes, memos,
// drop-down fields with their suggestions, date fields with the date picker, read-only fields.
// Typing puts the row into edit mode and writes through the dataset; any change of the dataset
// (a move, a post, a re-read) shows the row again. Enter moves the focus as the window says.
// Without the right that guards the dataset every field is shown read-only and no picker writes.
#include <QObject>
#include <functional>
#include <map>
#include <string>

#include "db/DataSet.h"
#include "personnel/RecordEditor.h"

class QComboBox;
class QLineEdit;
class QWidget;

namespace rsgz::ui {

class RecordFields : public QObject, private db::DataSetListener {
    Q_OBJECT
public:
    RecordFields(app::TDM& dm, db::DataSet& ds, QWidget* parent);
    ~RecordFields() override;

    // Creates the control of one field (object name = column) and returns what the window lays
    // out: the control, or for a date field the control with its date button beside it. Dictionary
    // fields take the key's suggestions on refreshLists(); a double-click opens the dictionary, or
    // the date picker on a date field, as does the date button.
    QWidget* add(const std::string& column, personnel::EditorFieldKind kind, const std::string& key = {});
    QWidget* widget(const std::string& column) const;
    QComboBox* box(const std::string& column) const;

    // The field Enter moves to; unset: Enter does nothing.
    void setEnter(std::function<std::string(const std::string&)> next) { enter_ = std::move(next); }
    // Fills every dictionary field's suggestions from 数据字典 (keys starting with '@' are left to
    // the window, which fills them through box()).
    void refreshLists();
    void show();  // the current row into the controls

private:
    void dataSetReset(db::DataSet&) override { show(); }
    void rowChanged(db::DataSet&, int) override { show(); }
    void currentChanged(db::DataSet&) override { show(); }
    void write(const std::string& column, const QString& text, bool report);
    void pressEnter(const std::string& column);
    void showWritable(bool may);
    QWidget* withDateButton(QLineEdit* line, const std::string& column, const std::function<void()>& pick);

    app::TDM& dm_;
    db::DataSet& ds_;
    QWidget* parent_;
    std::map<std::string, QWidget*> widgets_;
    std::map<std::string, std::string> keys_;  // dictionary field -> key
    std::map<std::string, personnel::EditorFieldKind> kinds_;
    std::map<std::string, QWidget*> dateButtons_;
    std::function<std::string(const std::string&)> enter_;
    bool showing_ = false;
};

}  // namespace rsgz::ui
