#pragma once
#include <QDialog>
#include <string>
#include <vector>

#include "db/DataSet.h"
#include "payroll/SalaryCard.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace rsgz::payroll {

// The salary card 工资卡片编辑 over the current row of gzb. Behaviour: SalaryCard. The boxes are
// filled and their editability decided again whenever the row changes.
class Tgzeditw : public QDialog {
    Q_OBJECT
public:
    Tgzeditw(app::TDM& dm, SalaryView& view, QWidget* parent = nullptr);

private:
    void buildBoxes(QWidget* area);
    QGroupBox* buildCumulative();
    void showCumulative();
    void showRow();
    void commitBox(size_t index);
    bool postPending();
    void move(void (db::DataSet::*step)());

    app::TDM& dm_;
    SalaryCard card_;
    std::vector<std::string> fields_;
    std::vector<QLineEdit*> boxes_;
    QPushButton *save_ = nullptr, *remove_ = nullptr;
    QGroupBox* cumulative_ = nullptr;
    std::vector<std::pair<QLabel*, QLabel*>> cumulativeLines_;
    QLabel* openMonths_ = nullptr;
};

}  // namespace rsgz::payroll
