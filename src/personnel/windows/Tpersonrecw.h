#pragma once
#include "personnel/PersonRecordEditor.h"
#include "widgets/RecordWindow.h"

namespace rsgz::personnel {

// The record window of the title and of the reward module (职称评定管理 Tzcpdw, 奖惩数据管理
// Tjcglw), made from its set-up's table. Behaviour: PersonRecordEditor.
class Tpersonrecw : public widgets::RecordWindow {
    Q_OBJECT
public:
    Tpersonrecw(app::TDM& dm, const PersonRecordSetup& setup, QWidget* parent = nullptr);
    PersonRecordEditor& records() const { return static_cast<PersonRecordEditor&>(behaviour()); }
};

}  // namespace rsgz::personnel
