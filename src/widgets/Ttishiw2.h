#pragma once
#include <QDialog>

class QLabel;

namespace rsgz::widgets {

// The question window 提示窗口: the text in red, 是 and 否. Closing it any other way is 否.
class Ttishiw2 : public QDialog {
    Q_OBJECT
public:
    explicit Ttishiw2(const QString& text, QWidget* parent = nullptr);
    bool answeredYes() const { return yes_; }

private:
    QLabel* label_;
    bool yes_ = false;
};

}  // namespace rsgz::widgets
