#pragma once
#include <QDialog>
#include <memory>

#include "db/DataSet.h"
#include "payroll/TaxListForm.h"

class QLabel;
class QTabWidget;
class QTableView;

namespace rsgz::payroll {
class TaxListPanel;
}

namespace rsgz::payroll {

// 个税扣除信息: the employees on the left; on the right the chosen employee's declared special
// additional deductions (categories, months, amounts) and other lawful deductions per month.
// Behaviour: the two TaxListForms.
class Tgskcw : public QDialog {
    Q_OBJECT
public:
    // Opens on the employee with that number (the first one when empty or unknown).
    Tgskcw(app::TDM& dm, const std::string& employee, QWidget* parent = nullptr);
    ~Tgskcw() override;
    TaxListForm& deductions() { return deductions_; }
    TaxListForm& others() { return others_; }
    QTabWidget* pages() const { return pages_; }

private:
    void choose(int row);

    app::TDM& dm_;
    db::DataSet employees_;
    TaxListForm deductions_, others_;
    QTabWidget* pages_ = nullptr;
    QLabel* who_ = nullptr;
    QTableView* additionalGrid_ = nullptr;
    int shownRow_ = -1;  // the employee whose lists are shown
};

}  // namespace rsgz::payroll
