#pragma once
#include "widgets/ActivatedDialog.h"

#include "payroll/WorkListForm.h"
#include "app/PendingRow.h"

class QPushButton;

namespace rsgz::widgets {
class RecordFields;
}

namespace rsgz::payroll {

// The edit window of a work list: one bound box per column (the computed amounts shown, never
// typed), the navigator 前后浏览 and 添加, 删除, 保存, 取消, 返回. Behaviour: WorkListForm. It opens on
// the row being added when there is one, and on a new row when the list is empty.
class TWorkListWindow : public widgets::ActivatedDialog {
    Q_OBJECT
public:
    TWorkListWindow(app::TDM& dm, const WorkListKind& kind, const char* objectName, QWidget* parent = nullptr);

protected:
    void reject() override;
    void activateOnce() override;

private:
    void buildFields(QWidget* area);
    void add();

    WorkListForm form_;
    widgets::RecordFields* fields_ = nullptr;
    app::PendingRow pending_;
};

// 计件工资编辑, the piece-rate list's window.
class Tjjgzw : public TWorkListWindow {
public:
    explicit Tjjgzw(app::TDM& dm, QWidget* parent = nullptr) : TWorkListWindow(dm, pieceWork(), "Tjjgzw", parent) {}
};

// 复杂计时工资, the time-rate list's window.
class Tjsgzfzw : public TWorkListWindow {
public:
    explicit Tjsgzfzw(app::TDM& dm, QWidget* parent = nullptr) : TWorkListWindow(dm, timeWork(), "Tjsgzfzw", parent) {}
};

}  // namespace rsgz::payroll
