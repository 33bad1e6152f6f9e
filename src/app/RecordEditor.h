#pragma once
// The single-record editors of the employee window's lists, without their controls. One pattern
// for all: a navigator over the page's dataset, 增加 / 保存 / 删除 / 返回, the Enter order of the
// fields, the editor-open flag, and what each editor re-reads. Each editor only adds its fields.
#include <string>
#include <vector>

#include "app/BrowseButtons.h"
#include "app/TDM.h"
#include "app/PendingRow.h"
#include "app/RecordWindowTable.h"

namespace rsgz::app {

using app::EditorField;
using app::EditorFieldKind;
using app::FieldPattern;

// An editor's window (caption, class, fields, Enter order) and what it edits.
struct EditorSpec : app::RecordWindowTable {
    EditorSpec(std::string caption, std::string windowClass, std::string dataSetName, bool app::TDM::EditorOpen::*openFlag,
               std::vector<EditorField> fields, std::vector<std::string> enterOrder = {}, std::string wrapTo = {},
               bool reread = false, bool course = false);

    std::string dataSet;
    bool app::TDM::EditorOpen::*flag;
    bool rereadOnSave = false;
    bool coursePanel = false;            // the training editor shows the current row's course
};

const std::vector<EditorSpec>& editorSpecs();
const EditorSpec* editorSpec(const std::string& caption);

class RecordEditor : public app::RecordBehaviour {
public:
    // Sets the editor's open flag; the destructor clears it.
    RecordEditor(app::TDM& dm, const EditorSpec& setup);
    ~RecordEditor() override;
    RecordEditor(const RecordEditor&) = delete;
    RecordEditor& operator=(const RecordEditor&) = delete;

    const EditorSpec& setup() const { return spec_; }
    db::DataSet& dataSet() const override { return ds_; }

    void activate() override;
    void first() override;
    void prior() override;
    void next() override;
    void last() override;
    void add() override;
    void save() override;
    void remove() override;
    // 返回 or the close box: the pending row settled (see PendingRow). False: stay open.
    bool close() override;

    // Enter in a field: the field that takes the focus (the same one when the chain ends there).
    // Enter in the last field of a chain appends a row.
    std::string enter(const std::string& column) override;

    // The button of a person field: the employee picker under the field's caption; when an employee
    // was picked the row goes into edit mode and the field takes the name. True when it did.
    bool pickPerson(const std::string& column) override;

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

}  // namespace rsgz::app
