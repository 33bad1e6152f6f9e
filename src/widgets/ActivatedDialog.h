#pragma once
#include <QDialog>

namespace rsgz::widgets {

// A window whose activation runs once, when it is first shown (after the dialog's own handling of
// the show, which places it). Every window that fills itself on opening derives from this.
class ActivatedDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

protected:
    virtual void activateOnce() = 0;
    void showEvent(QShowEvent* e) override;

private:
    bool activated_ = false;
};

}  // namespace rsgz::widgets
