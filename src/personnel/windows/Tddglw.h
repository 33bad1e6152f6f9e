#pragma once
#include "widgets/RecordDialog.h"

#include "personnel/TransferManagement.h"

namespace rsgz::widgets {
class DepartmentBoxes;
class RecordFields;
}  // namespace rsgz::widgets

namespace rsgz::personnel {

// The transfer window 调动数据管理 over the transfer module's list. Its behaviour is
// TransferManagement's; the after-transfer departments are linked drop-down lists.
class Tddglw : public widgets::RecordDialog {
    Q_OBJECT
public:
    explicit Tddglw(app::TDM& dm, QWidget* parent = nullptr);
    TransferManagement& transfers() { return transfers_; }

protected:
    void activateOnce() override;
    bool leave() override;
    void showAfterStep() override;

private:
    void refreshDepartments();

    TransferManagement transfers_;
    widgets::RecordFields* fields_;
    widgets::DepartmentBoxes* departments_ = nullptr;
};

}  // namespace rsgz::personnel
