#pragma once
#include <QDialog>
#include <functional>

namespace rsgz::ui {

// The life the record windows of the personnel modules share: their activation runs once, when the
// window is first shown; every button step runs as one user action and the window then shows the
// result; and closing asks the behaviour first (a pending row whose save is refused keeps it open).
class RecordDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

protected:
    virtual void activateOnce() = 0;  // typically run(behaviour.activate) and the list fills
    virtual bool leave() = 0;         // the behaviour's close; false: stay open
    virtual void showAfterStep() {}   // controls that follow the data (button states, linked lists)

    void run(const std::function<void()>& step);
    void showEvent(QShowEvent* e) override;
    void reject() override;

private:
    bool activated_ = false;
};

}  // namespace rsgz::ui
