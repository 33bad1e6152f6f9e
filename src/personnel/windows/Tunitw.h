#pragma once
#include "app/RecordEditor.h"
#include "widgets/RecordWindow.h"

class QLabel;

namespace rsgz::personnel {

// The single-record editor window of one list of the employee window (个人简历编辑, 社会关系 …).
// Its behaviour is RecordEditor's; the set-up it is made from names the fields. Beyond the table:
// the training editor's course panel.
class Tunitw : public widgets::RecordWindow {
    Q_OBJECT
public:
    Tunitw(app::TDM& dm, const app::EditorSpec& setup, QWidget* parent = nullptr);
    app::RecordEditor& editor() const { return static_cast<app::RecordEditor&>(behaviour()); }

protected:
    void showAfterStep() override;

private:
    void showCourse();

    app::TDM& dm_;
    QLabel* course_ = nullptr;
};

}  // namespace rsgz::personnel
