#pragma once
#include "app/TDM.h"
#include "payroll/TWorkListWindow.h"

namespace rsgz::payroll {

// 复杂计时工资: the time-rate list's window.
class Tjsgzfzw : public TWorkListWindow {
public:
    explicit Tjsgzfzw(app::TDM& dm, QWidget* parent = nullptr) : TWorkListWindow(dm, timeWork(), parent)
    {
        setObjectName(QStringLiteral("Tjsgzfzw"));
    }
};

}  // namespace rsgz::payroll
