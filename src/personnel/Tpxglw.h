#pragma once
#include <QDialog>
#include <functional>

#include "personnel/TrainingManagement.h"

namespace rsgz::ui {
class DataSetGrid;
}

namespace rsgz::personnel {

// The training window 员工培训管理: courses above, the current course's attendees below. Its
// behaviour is TrainingManagement's.
class Tpxglw : public QDialog {
    Q_OBJECT
public:
    explicit Tpxglw(app::TDM& dm, QWidget* parent = nullptr);
    TrainingManagement& training() { return training_; }

protected:
    void showEvent(QShowEvent* e) override;
    void reject() override;

private:
    void run(const std::function<void()>& step);

    TrainingManagement training_;
    ui::DataSetGrid* courses_ = nullptr;
    bool activated_ = false;
};

}  // namespace rsgz::personnel
