#pragma once
#include "payroll/ItemForm.h"
#include "widgets/RecordWindow.h"

namespace rsgz::payroll {

// The item window 工资项目设定 over the current row of zt_mx. Behaviour: ItemForm.
class Tgzxmw : public widgets::RecordWindow {
    Q_OBJECT
public:
    explicit Tgzxmw(app::TDM& dm, QWidget* parent = nullptr);
    ItemForm& form() const { return static_cast<ItemForm&>(behaviour()); }
};

}  // namespace rsgz::payroll
