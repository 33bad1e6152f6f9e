#pragma once
// A single-record window as data: its fields, its navigator, its buttons and the rights they
// need. The window (widgets/RecordWindow) is built from this table and runs a behaviour class
// (RecordBehaviour below) that holds everything the window does beyond showing the row; the
// activation on the first show, the refusals and errors of every step, the enabled states and the
// close are handled there once for every record window.
#include <array>
#include <string>
#include <vector>

namespace rsgz::db {
class DataSet;
}

namespace rsgz::app {

// Choice: a fixed drop-down list, picked, never typed (its items come from the behaviour).
// Person: a name taken from the employee picker opened under the field's key ("选择经办人" …).
// Department: the linked department lists, level 1 first, in the order the table names them.
enum class EditorFieldKind { Text, Memo, Date, Dictionary, Choice, ReadOnly, Department, Person };

// How a number field shows its value: as stored, in the "0.00" pattern, or that with the yuan sign.
enum class FieldPattern { AsStored, Amount, Yuan };

struct EditorField {
    std::string column;
    EditorFieldKind kind = EditorFieldKind::Text;
    // Dictionary key when it is not the column's own name (a key starting with '@' names a list
    // the behaviour gives); a person field's picker caption.
    std::string key;
    FieldPattern pattern = FieldPattern::AsStored;
    int width = 0;  // the least width of the control in pixels; 0: as laid out
};

// What a button of a record window does. Action: the behaviour's act() under the button's name.
enum class RecordStep { Add, Save, Delete, Return, Action };

struct RecordButton {
    std::string objectName;
    std::string caption;
    RecordStep step = RecordStep::Action;
    std::string right;  // the operator's right the button needs; empty: none
};

// 增加, 保存, 删除, 返回 (addButton, saveButton, deleteButton, returnButton).
std::vector<RecordButton> standardButtons();

struct RecordWindowTable {
    std::string caption;
    std::string windowClass;
    std::vector<EditorField> fields;     // in the order the form shows them
    std::vector<std::string> enterOrder; // empty: Enter does not move
    std::string wrapTo;                  // Enter in the last field goes here and appends a row
    std::array<std::string, 4> navigator = {"第一条记录", "前一条记录", "后一条记录", "最后一条记录"};
    std::vector<RecordButton> buttons = standardButtons();
    int columns = 1;  // the fields side by side in this many columns; a memo takes a row of its own
};

// The field after column in an Enter order; column itself when it is the last or not in the order.
std::string nextInOrder(const std::vector<std::string>& order, const std::string& column);

// What a record window does, without its widgets. Every step may throw (a refusal of the rules, a
// database error): the window reports it and shows the row again, so a behaviour catches nothing.
class RecordBehaviour {
public:
    virtual ~RecordBehaviour() = default;

    virtual db::DataSet& dataSet() const = 0;
    virtual void activate() {}  // once, when the window is first shown
    virtual void first();
    virtual void prior();
    virtual void next();
    virtual void last();
    virtual void add();
    virtual void save();
    virtual void remove();
    // 返回 or the close box. False: stay open (a pending row whose save was refused).
    virtual bool close() { return true; }
    // A button of step Action, by its object name.
    virtual void act(const std::string& /*button*/) {}
    // Beyond the button's right: whether it is on now (a button of the tax item only …).
    virtual bool enabled(const RecordButton& /*button*/) const { return true; }
    // Enter in a field: the field that takes the focus.
    virtual std::string enter(const std::string& column) { return column; }
    // The button of a person field. True when a name was taken.
    virtual bool pickPerson(const std::string& /*column*/) { return false; }
    // Beyond the dataset's rights: whether the field takes typing now.
    virtual bool writable(const std::string& /*column*/) const { return true; }
    // A field's value was taken (picked, or the field left after typing).
    virtual void written(const std::string& /*column*/) {}
    // The items of a Choice field or of a Dictionary field whose key starts with '@'.
    virtual std::vector<std::string> choices(const EditorField& /*field*/) const { return {}; }
};

}  // namespace rsgz::app
