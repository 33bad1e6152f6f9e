#pragma once
#include <QDialog>
#include <functional>

#include "personnel/EvaluationManagement.h"

class QTabWidget;

namespace rsgz::ui {
class RecordFields;
}

namespace rsgz::personnel {

// The evaluation window 考评情况管理: evaluation items above, the current item's participants below,
// each as a list page and an edit page. Its behaviour is EvaluationManagement's.
class Tkpqk_Editw : public QDialog {
    Q_OBJECT
public:
    explicit Tkpqk_Editw(app::TDM& dm, QWidget* parent = nullptr);
    EvaluationManagement& evaluations() { return evaluations_; }
    QTabWidget* itemPages() const { return itemPages_; }

protected:
    void showEvent(QShowEvent* e) override;
    void reject() override;

private:
    void run(const std::function<void()>& step);

    EvaluationManagement evaluations_;
    ui::RecordFields* itemFields_;
    ui::RecordFields* participantFields_;
    QTabWidget* itemPages_ = nullptr;
    bool activated_ = false;
};

}  // namespace rsgz::personnel
