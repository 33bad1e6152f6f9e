#pragma once
#include "widgets/ActivatedDialog.h"
#include <functional>

#include "personnel/BasicSettings.h"

class QTreeWidget;

namespace rsgz::widgets {
class DataSetGrid;
}

namespace rsgz::personnel {

// The settings window 基本资料设置: the dictionary keys in a tree, the chosen key's suggestions in a
// grid. Its behaviour is BasicSettings'; this class only binds the controls.
class Tjbzlw : public widgets::ActivatedDialog {
    Q_OBJECT
public:
    explicit Tjbzlw(app::TDM& dm, QWidget* parent = nullptr);
    BasicSettings& form() { return form_; }

protected:
    void activateOnce() override;
    void reject() override;

private:
    void run(const std::function<void()>& step);
    void showForm();

    BasicSettings form_;
    QTreeWidget* tree_;
    widgets::DataSetGrid* grid_;
};

}  // namespace rsgz::personnel
