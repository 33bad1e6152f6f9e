#pragma once
#include "widgets/ActivatedDialog.h"

#include "payroll/BankFileForm.h"

class QLineEdit;

namespace rsgz::payroll {

// The window 银行代发工资文件制作. Behaviour: BankFileForm.
class Tyhdfw : public widgets::ActivatedDialog {
    Q_OBJECT
public:
    Tyhdfw(app::TDM& dm, const SalaryView* view, QWidget* parent = nullptr);
    BankFileForm& form() { return form_; }

protected:
    void activateOnce() override;

private:
    BankFileForm form_;
    QLineEdit* set_ = nullptr;
    QLineEdit* file_ = nullptr;
};

}  // namespace rsgz::payroll
