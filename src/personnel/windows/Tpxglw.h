#pragma once
#include "widgets/RecordDialog.h"

#include "personnel/TrainingManagement.h"

namespace rsgz::widgets {
class DataSetGrid;
}

namespace rsgz::personnel {

// The training window 员工培训管理: courses above, the current course's attendees below. Its
// behaviour is TrainingManagement's.
class Tpxglw : public widgets::RecordDialog {
    Q_OBJECT
public:
    explicit Tpxglw(app::TDM& dm, QWidget* parent = nullptr);
    TrainingManagement& training() { return training_; }

protected:
    void activateOnce() override;
    bool leave() override;

private:

    TrainingManagement training_;
    widgets::DataSetGrid* courses_ = nullptr;
};

}  // namespace rsgz::personnel
