#pragma once
#include <QMainWindow>

#include "app/MainFrame.h"

class QLabel;

namespace rsgz::app {

// The main window: the frame every module hangs in. Its behaviour lives in MainFrame.
class Tmain : public QMainWindow {
    Q_OBJECT
public:
    // Runs the creation steps, the login included (unless login is false, for tests).
    explicit Tmain(MainFrame& frame, bool login = true, QWidget* parent = nullptr);
    MainFrame& frame() { return frame_; }
    QLabel* statusPanel(int i) const { return status_[i]; }
    void khdl();  // the login window, modal

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void buildMenus();
    void buildStatusBar();
    void onActivate();
    void sizeStatusBar();

    MainFrame& frame_;
    QLabel* status_[6] = {};
    bool firstShown_ = false;
    bool countNextActivation_ = true;
    bool closingWithoutCopy_ = false;
};

}  // namespace rsgz::app
