#pragma once
#include "payroll/WorkListForm.h"
#include "widgets/RecordWindow.h"

namespace rsgz::payroll {

// The edit window of a work list: one bound box per column (the computed amounts shown, never
// typed), the navigator and 添加, 删除, 保存, 取消, 返回. Behaviour: WorkListForm. It opens on the row
// being added when there is one, and on a new row when the list is empty.
class TWorkListWindow : public widgets::RecordWindow {
    Q_OBJECT
public:
    TWorkListWindow(app::TDM& dm, const app::RecordWindowTable& table, const WorkListKind& kind,
                    QWidget* parent = nullptr);
    WorkListForm& form() const { return static_cast<WorkListForm&>(behaviour()); }

protected:
    void activateOnce() override;
};

// 计件工资编辑, the piece-rate list's window.
class Tjjgzw : public TWorkListWindow {
    Q_OBJECT
public:
    explicit Tjjgzw(app::TDM& dm, QWidget* parent = nullptr);
};

// 复杂计时工资, the time-rate list's window.
class Tjsgzfzw : public TWorkListWindow {
    Q_OBJECT
public:
    explicit Tjsgzfzw(app::TDM& dm, QWidget* parent = nullptr);
};

}  // namespace rsgz::payroll
