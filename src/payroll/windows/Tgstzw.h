#pragma once
#include <QDialog>
#include <vector>

#include "payroll/TaxRegister.h"

class QComboBox;
class QSpinBox;
class QTableWidget;

namespace rsgz::app {
class TDM;
}

namespace rsgz::payroll {

// 个人所得税台账: an employee's register of a year (months, income, deductions, taxable, tax), shown,
// printed through the table print (打印) and written to a workbook (导出EXCEL). Behaviour: taxRegister.
class Tgstzw : public QDialog {
    Q_OBJECT
public:
    Tgstzw(app::TDM& dm, const std::string& employee, QWidget* parent = nullptr);
    const std::vector<TaxRegisterLine>& lines() const { return lines_; }
    void showRegister();

private:
    std::string employee() const;
    void print();
    void exportRegister();

    app::TDM& dm_;
    QComboBox* employees_ = nullptr;
    QSpinBox* year_ = nullptr;
    QTableWidget* grid_ = nullptr;
    std::vector<TaxRegisterLine> lines_;
};

}  // namespace rsgz::payroll
