#pragma once
#include "widgets/RecordDialog.h"
#include <array>

#include "personnel/PersonRecordEditor.h"

class QToolButton;

namespace rsgz::widgets {
class RecordFields;
}

namespace rsgz::personnel {

// The record window of the title and of the reward module (职称评定管理 Tzcpdw, 奖惩数据管理
// Tjcglw), made from its set-up. Its behaviour is PersonRecordEditor's.
class Tpersonrecw : public widgets::RecordDialog {
    Q_OBJECT
public:
    Tpersonrecw(app::TDM& dm, const PersonRecordSetup& setup, QWidget* parent = nullptr);
    PersonRecordEditor& records() { return records_; }

protected:
    void activateOnce() override;
    bool leave() override;
    void showAfterStep() override;

private:

    PersonRecordEditor records_;
    widgets::RecordFields* fields_;
    std::array<QToolButton*, 4> browse_{};
};

}  // namespace rsgz::personnel
