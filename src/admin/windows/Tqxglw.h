#pragma once
#include "widgets/ActivatedDialog.h"
#include <functional>
#include <vector>

#include "admin/RightsForm.h"

class QCheckBox;
class QLineEdit;
class QTreeWidget;

namespace rsgz::admin {

// The rights window 权限管理. Its behaviour is RightsForm's; this class only binds the controls.
class Tqxglw : public widgets::ActivatedDialog {
    Q_OBJECT
public:
    explicit Tqxglw(app::TDM& dm, QWidget* parent = nullptr);
    RightsForm& form() { return form_; }

protected:
    void activateOnce() override;
    void reject() override;

private:
    QWidget* buildButtons();
    QWidget* buildRights();
    void run(const std::function<void()>& step);
    void showForm();
    void showTree();

    RightsForm form_;
    QTreeWidget* tree_;
    QLineEdit* nameEdit_;
    QLineEdit* passwordEdit_;
    std::vector<QCheckBox*> boxes_;  // in the order of allRights()
};

// Opens the rights window modally, unless the logged-in operator may not manage rights (then only
// the notice is shown).
void openRightsWindow(app::TDM& dm, QWidget* parent);

}  // namespace rsgz::admin
