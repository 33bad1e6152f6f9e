#pragma once
#include <QDialog>

class QSpinBox;

namespace rsgz::app {
class TDM;
}

namespace rsgz::payroll {

// 扣缴申报: the year and month whose withholding declaration 生成申报表 writes (declareMonthAsked).
class Tkjsbw : public QDialog {
    Q_OBJECT
public:
    explicit Tkjsbw(app::TDM& dm, QWidget* parent = nullptr);

private:
    app::TDM& dm_;
    QSpinBox* year_ = nullptr;
    QSpinBox* month_ = nullptr;
};

}  // namespace rsgz::payroll
