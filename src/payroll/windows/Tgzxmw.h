#pragma once
#include <QDialog>
#include <map>
#include <string>

#include "payroll/ItemForm.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace rsgz::payroll {

// The item window 工资项目设定 over the current row of zt_mx. Behaviour: ItemForm.
class Tgzxmw : public QDialog {
    Q_OBJECT
public:
    explicit Tgzxmw(app::TDM& dm, QWidget* parent = nullptr);
    ItemForm& form() { return form_; }

protected:
    void showEvent(QShowEvent* e) override;
    void reject() override;

private:
    QWidget* buildFields();
    QWidget* buildButtons();
    QComboBox* addCombo(const char* name, bool editable);
    QLineEdit* addEdit(const char* name);
    void run(void (ItemForm::*step)());
    void showForm();  // fields, lists and enabled states from the form

    ItemForm form_;
    std::map<std::string, QWidget*> fields_;
    QComboBox* nameBox_ = nullptr;
    QComboBox* linkBox_ = nullptr;
    QLineEdit* threshold_ = nullptr;
    std::map<std::string, QPushButton*> buttons_;
    bool activated_ = false;
};

}  // namespace rsgz::payroll
