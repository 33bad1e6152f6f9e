#pragma once
#include "widgets/ActivatedDialog.h"

#include "payroll/NewMonthForm.h"

class QComboBox;
class QLabel;
class QSpinBox;

namespace rsgz::payroll {

// The window 生成新工资表. Behaviour: NewMonthForm. The set is picked from a fixed list.
class Tnew_gzbw : public widgets::ActivatedDialog {
    Q_OBJECT
public:
    explicit Tnew_gzbw(app::TDM& dm, QWidget* parent = nullptr);
    NewMonthForm& form() { return form_; }

protected:
    void activateOnce() override;
    void done(int result) override;

private:
    void takeControls();  // the controls into the form before each button
    NewMonthForm form_;
    QComboBox* set_ = nullptr;
    QSpinBox* year_ = nullptr;
    QSpinBox* month_ = nullptr;
    QComboBox* mode_ = nullptr;
    QLabel* progress_ = nullptr;
};

}  // namespace rsgz::payroll
