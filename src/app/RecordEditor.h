#pragma once
// The single-record editors of the employee window's lists, without their controls. One pattern
// for all: a navigator over the page's dataset, 增加 / 保存 / 删除 / 返回, the Enter order of the
// fields, the editor-open flag, and what each editor re-reads. Each editor only adds its fields.
#include <string>
#include <vector>

#include "app/BrowseButtons.h"
#include "app/TDM.h"
#include "app/PendingRow.h"

namespace rsgz::personnel {

// Person: a name taken from the employee picker opened under the field's key ("选择经办人" …).
enum class EditorFieldKind { Text, Memo, Date, Dictionary, ReadOnly, Department, Person };

// How a number field shows its value: as stored, in the "0.00" pattern, or that with the yuan sign.
enum class FieldPattern { AsStored, Amount, Yuan };

struct EditorField {
    std::string column;
    EditorFieldKind kind = EditorFieldKind::Text;
    std::string key;  // dictionary key when it is not the column's own name; a person field's picker caption
    FieldPattern pattern = FieldPattern::AsStored;
};

struct EditorSpec {
    std::string caption;
    std::string windowClass;
    std::string dataSet;
    bool app::TDM::EditorOpen::*flag;
    std::vector<EditorField> fields;     // in the order the form shows them
    std::vector<std::string> enterOrder; // empty: Enter does not move
    std::string wrapTo;                  // Enter in the last field goes here and appends a row
    bool rereadOnSave = false;
    bool coursePanel = false;            // the training editor shows the current row's course
};

const std::vector<EditorSpec>& editorSpecs();
const EditorSpec* editorSpec(const std::string& caption);

class RecordEditor {
public:
    // Sets the editor's open flag; the destructor clears it.
    RecordEditor(app::TDM& dm, const EditorSpec& setup);
    ~RecordEditor();
    RecordEditor(const RecordEditor&) = delete;
    RecordEditor& operator=(const RecordEditor&) = delete;

    const EditorSpec& setup() const { return spec_; }
    db::DataSet& dataSet() const { return ds_; }

    void activate();
    void first();
    void prior();
    void next();
    void last();
    void add();
    void save();
    void remove();
    // 返回 or the close box: the pending row settled (see PendingRow). False: stay open.
    bool close();

    // Enter in a field: the field that takes the focus (the same one when the chain ends there).
    // Enter in the last field of a chain appends a row.
    std::string enter(const std::string& column);

    // The button of a person field: the employee picker under the field's caption; when an employee
    // was picked the row goes into edit mode and the field takes the name. True when it did.
    bool pickPerson(const std::string& column);

    app::BrowseState browse;

private:
    template <class Move> void move(Move m);
    void afterChange();  // the course panel follows the row; a new row is remembered

    app::TDM& dm_;
    const EditorSpec& spec_;
    db::DataSet& ds_;
    app::BrowseButtons buttons_;
    PendingRow pending_;
};

}  // namespace rsgz::personnel
