#pragma once
#include <string>
#include <vector>

#include "app/PendingRow.h"
#include "app/RecordWindowTable.h"

namespace rsgz::app {
class TDM;
}
namespace rsgz::db {
class DataSet;
}

namespace rsgz::payroll {

// One of the two work lists: piece-rate work (计件工资, window 计件工资编辑) and time-rate work
// (计时工资, window 复杂计时工资).
struct WorkListKind {
    std::string caption;
    std::string right;             // the operator right that allows changes
    std::string dataSet;           // jjgz or jsgz
    std::string numberField;       // 员工编号1 or 员工编号
    std::vector<std::string> fields;    // the window's fields, in Enter order
    std::vector<std::string> computed;  // shown, never typed
    // The list's grid, in the order a clerk reads a record: who, what, how much, at what price, the
    // amounts; the references after them.
    std::vector<std::string> listColumns;
    std::vector<std::string> quantities;  // floats shown with the "0.00" pattern
    std::vector<std::string> prices;      // the money columns typed in, "0.00" too
};
const WorkListKind& pieceWork();
const WorkListKind& timeWork();

// What the work-list windows do, without their widgets: 添加, 删除, 保存 and 取消 over the list the
// module page shows, allowed only with the list's right. A row the page began (its 增加) counts as
// new like one begun here: closing drops it untouched and asks about it changed.
class WorkListForm : public app::RecordBehaviour {
public:
    WorkListForm(app::TDM& dm, const WorkListKind& kind);

    app::TDM& dm() const { return dm_; }
    const WorkListKind& kind() const { return kind_; }
    db::DataSet& list() const { return list_; }
    db::DataSet& dataSet() const override { return list_; }
    bool mayChange() const;
    // Computed amounts, 序号 and 编号 never; the rest only with the right.
    bool editable(const std::string& field) const;

    // 添加: a new row; its rules ask for the employee (选择姓名) and date it today.
    void add() override;
    // 删除: the current row, after the list's question.
    void remove() override;
    // 保存: posts the pending change and reads the list again, staying on the row.
    void save() override;
    // 取消: drops the typing of the current row; nothing is deleted.
    void cancel();
    // 返回 and Esc: an untouched new row is dropped, a changed one asked about. False: stay open.
    bool close() override;
    // An empty list has no row to show: the window begins the first one once it is on the screen.
    bool beginsRow() const;

    void act(const std::string& button) override;  // "cancel"
    // Enter goes on to the next field, from the last back to the first.
    std::string enter(const std::string& column) override;
    bool writable(const std::string& column) const override { return editable(column); }

private:
    app::TDM& dm_;
    const WorkListKind& kind_;
    db::DataSet& list_;
    app::PendingRow pending_;
};

// The employee picker and today's date for a new row of jjgz and jsgz: a picked employee gives the
// row its 姓名 and number; after 取消 both stay empty for the operator to type.
void bindWorkListInsert(app::TDM& dm);

}  // namespace rsgz::payroll
