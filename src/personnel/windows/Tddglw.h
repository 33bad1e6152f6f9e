#pragma once
#include "personnel/TransferManagement.h"
#include "widgets/RecordWindow.h"

namespace rsgz::personnel {

// The transfer window 调动数据管理 over the transfer module's list; the after-transfer departments
// are linked lists. Behaviour: TransferManagement.
class Tddglw : public widgets::RecordWindow {
    Q_OBJECT
public:
    explicit Tddglw(app::TDM& dm, QWidget* parent = nullptr);
    TransferManagement& transfers() const { return static_cast<TransferManagement&>(behaviour()); }
};

}  // namespace rsgz::personnel
