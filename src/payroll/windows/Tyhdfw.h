#pragma once
#include <QDialog>

#include "payroll/BankFileForm.h"

class QLineEdit;

namespace rsgz::payroll {

// The window 银行代发工资文件制作. Behaviour: BankFileForm.
class Tyhdfw : public QDialog {
    Q_OBJECT
public:
    Tyhdfw(app::TDM& dm, const SalaryView* view, QWidget* parent = nullptr);
    BankFileForm& form() { return form_; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    BankFileForm form_;
    QLineEdit* set_ = nullptr;
    QLineEdit* file_ = nullptr;
    bool activated_ = false;
};

}  // namespace rsgz::payroll
