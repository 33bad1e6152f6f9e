#pragma once
#include <string>

#include "personnel/KeptRows.h"
#include "app/RecordEditor.h"

namespace rsgz::personnel {

// The record windows of the title and reward modules (职称评定管理, 奖惩数据管理): the single-record
// pattern of the employee window's editors, plus a person picked with the employee picker, because
// no open employee record implies the person here.
struct PersonRecordSetup {
    app::EditorSpec editor;
    std::string table;           // the stored table of the dataset
    std::string right;           // 增加, 保存 and 删除 need it
    std::string nameField;       // the person's name column
    std::string personPicker;    // the picker caption of the person button
    std::string approverPicker;  // the approver button's picker; empty when there is none
    // Outside the employee window the window shows the row the module list was double-clicked on.
    void (*openedRow)(app::TDM& dm, KeptRows& rows);
    // The window holds the whole table, positioned on that row, instead of that row alone.
    bool wholeTable = false;
};

const PersonRecordSetup& titleRecordSetup();   // 职称评定管理 (Tzcpdw)
const PersonRecordSetup& rewardRecordSetup();  // 奖惩数据管理 (Tjcglw)

// The behaviour of the window Tpersonrecw: the single-record editor of the set-up's list, whose
// table (setup.editor) also names the person and approver buttons and the right they need.
class PersonRecordEditor : public app::RecordBehaviour {
public:
    PersonRecordEditor(app::TDM& dm, const PersonRecordSetup& setup);

    const PersonRecordSetup& setup() const { return setup_; }
    app::RecordEditor& editor() { return editor_; }
    db::DataSet& dataSet() const override { return editor_.dataSet(); }
    const KeptRows& rows() const { return rows_; }

    bool mayChange() const;
    // In the employee window the titles belong to its current employee: no person button there.
    bool personButtonEnabled() const { return !employeeWindowRows(); }

    void activate() override;
    void first() override { editor_.first(); }
    void prior() override { editor_.prior(); }
    void next() override { editor_.next(); }
    void last() override { editor_.last(); }
    void add() override { editor_.add(); }
    void save() override;
    void remove() override { editor_.remove(); }
    bool close() override { return editor_.close(); }
    std::string enter(const std::string& column) override { return editor_.enter(column); }
    // personButton and approverButton.
    void act(const std::string& button) override;
    bool enabled(const app::RecordButton& button) const override;

    void pickPerson();
    void pickApprover();

private:
    bool employeeWindowRows() const;
    void openWholeTable(const db::Value& key);  // every row of the table, on the one with this 编号

    app::TDM& dm_;
    const PersonRecordSetup& setup_;
    app::RecordEditor editor_;
    KeptRows rows_;
};

}  // namespace rsgz::personnel
