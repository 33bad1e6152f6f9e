#pragma once
#include <QDialog>

#include "payroll/PayrollSetsPage.h"

class QFormLayout;
class QLineEdit;
class QPushButton;

namespace rsgz::payroll {

// The set window 帐套数据编辑 over the current row of gz_zt. Behaviour: SetForm.
class Tgzztw : public QDialog {
    Q_OBJECT
public:
    explicit Tgzztw(app::TDM& dm, QWidget* parent = nullptr);

protected:
    void reject() override;

private:
    QLineEdit* addField(const char* name, QFormLayout* form);
    SetForm form_;
    QPushButton* ok_ = nullptr;
};

}  // namespace rsgz::payroll
