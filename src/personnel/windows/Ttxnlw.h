#pragma once
#include <QDialog>
#include <vector>

#include "personnel/RetirementDates.h"

class QTableWidget;

namespace rsgz::app {
class TDM;
}

namespace rsgz::personnel {

// 女职工原退休年龄: the old age (50 or 55) each woman in service retires by, before the gradual
// rise; where none is set, her post decides. Only wires the controls; WomanOldAges does the work.
class Ttxnlw : public QDialog {
    Q_OBJECT
public:
    explicit Ttxnlw(app::TDM& dm, QWidget* parent = nullptr);

private:
    void fill();
    void setChosen(int age);

    app::TDM& dm_;
    WomanOldAges ages_;
    std::vector<WomanOldAges::Woman> women_;
    QTableWidget* grid_ = nullptr;
};

}  // namespace rsgz::personnel
