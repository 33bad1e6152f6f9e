#pragma once
#include <QDialog>

#include "payroll/TaxListForm.h"

class QComboBox;

namespace rsgz::payroll {

// 缴费方案设置: the rows of every contribution scheme (kind, rates, add-ons, floor, ceiling, rounding,
// valid from), and which scheme a payroll set computes with. Behaviour: TaxListForm.
class Tjffaw : public QDialog {
    Q_OBJECT
public:
    explicit Tjffaw(app::TDM& dm, QWidget* parent = nullptr);
    ~Tjffaw() override;
    TaxListForm& form() { return form_; }

private:
    void fillSets();
    void showSchemeOfSet();
    void useScheme();

    app::TDM& dm_;
    TaxListForm form_;
    QComboBox* sets_ = nullptr;
    QComboBox* scheme_ = nullptr;
};

}  // namespace rsgz::payroll
