#pragma once
#include "app/TDM.h"
#include "payroll/TWorkListWindow.h"

namespace rsgz::payroll {

// 计件工资编辑: the piece-rate list's window.
class Tjjgzw : public TWorkListWindow {
public:
    explicit Tjjgzw(app::TDM& dm, QWidget* parent = nullptr) : TWorkListWindow(dm, pieceWork(), parent)
    {
        setObjectName(QStringLiteral("Tjjgzw"));
    }
};

}  // namespace rsgz::payroll
