#pragma once
#include "widgets/RecordDialog.h"

#include "personnel/EvaluationManagement.h"

class QTabWidget;

namespace rsgz::widgets {
class RecordFields;
}

namespace rsgz::personnel {

// The evaluation window 考评情况管理: evaluation items above, the current item's participants below,
// each as a list page and an edit page. Its behaviour is EvaluationManagement's.
class Tkpqk_Editw : public widgets::RecordDialog {
    Q_OBJECT
public:
    explicit Tkpqk_Editw(app::TDM& dm, QWidget* parent = nullptr);
    EvaluationManagement& evaluations() { return evaluations_; }
    QTabWidget* itemPages() const { return itemPages_; }

protected:
    void activateOnce() override;
    bool leave() override;
    void showAfterStep() override;

private:

    EvaluationManagement evaluations_;
    widgets::RecordFields* itemFields_;
    widgets::RecordFields* participantFields_;
    QTabWidget* itemPages_ = nullptr;
};

}  // namespace rsgz::personnel
