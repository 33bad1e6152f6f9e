#pragma once
#include <QDialog>
#include <functional>

#include "personnel/TransferManagement.h"

namespace rsgz::ui {
class DepartmentBoxes;
class RecordFields;
}  // namespace rsgz::ui

namespace rsgz::personnel {

// The transfer window 调动数据管理 over the transfer module's list. Its behaviour is
// TransferManagement's; the after-transfer departments are linked drop-down lists.
class Tddglw : public QDialog {
    Q_OBJECT
public:
    explicit Tddglw(app::TDM& dm, QWidget* parent = nullptr);
    TransferManagement& transfers() { return transfers_; }

protected:
    void showEvent(QShowEvent* e) override;
    void reject() override;

private:
    void run(const std::function<void()>& step);
    void refreshDepartments();

    TransferManagement transfers_;
    ui::RecordFields* fields_;
    ui::DepartmentBoxes* departments_ = nullptr;
    bool activated_ = false;
};

}  // namespace rsgz::personnel
