#pragma once
#include <QDialog>
#include <string>

class QLineEdit;

namespace rsgz::app {
class TDM;
}

namespace rsgz::admin {

// The confirmation before the initialization: the operator types the password once more. The box
// starts empty; 确定 hands over what was typed, 取消 and closing hand over nothing.
class Ttestmima : public QDialog {
    Q_OBJECT
public:
    explicit Ttestmima(QWidget* parent = nullptr);
    const std::string& password() const { return password_; }

private:
    QLineEdit* box_;
    std::string password_;
};

// Shows the window modally and leaves the typed password in the data module's ConfirmPassword.
void openPasswordConfirmation(app::TDM& dm, QWidget* parent);

}  // namespace rsgz::admin
