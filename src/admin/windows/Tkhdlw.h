#pragma once
#include <QDialog>

#include "admin/LoginForm.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace rsgz::admin {

// The login window. Its behaviour is LoginForm's; this class only binds the boxes to it.
class Tkhdlw : public QDialog {
    Q_OBJECT
public:
    explicit Tkhdlw(app::MainFrame& frame, QWidget* parent = nullptr);
    LoginForm& form() { return form_; }

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    void readBoxes();
    void showForm();
    void run(void (LoginForm::*step)());
    void nameEdited(const QString& text);

    LoginForm form_;
    QComboBox* nameBox_;
    QLineEdit* passwordBox_;
    QPushButton* loginButton_;
    QPushButton* quitButton_;
};

}  // namespace rsgz::admin
