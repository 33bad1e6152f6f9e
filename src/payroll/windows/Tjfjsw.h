#pragma once
#include <QDialog>

#include "payroll/TaxListForm.h"

class QSpinBox;

namespace rsgz::payroll {

// 缴费基数设置: every employee's social-insurance and housing-fund base of a year, typed in the grid
// or imported from a workbook. Behaviour: TaxListForm and importBasesAsked.
class Tjfjsw : public QDialog {
    Q_OBJECT
public:
    explicit Tjfjsw(app::TDM& dm, QWidget* parent = nullptr);
    ~Tjfjsw() override;
    TaxListForm& form() { return form_; }

private:
    app::TDM& dm_;
    TaxListForm form_;
    QSpinBox* year_ = nullptr;
};

}  // namespace rsgz::payroll
