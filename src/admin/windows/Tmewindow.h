#pragma once
#include <QDialog>
#include <functional>
#include <vector>

#include "admin/CompanyForm.h"

class QLineEdit;

namespace rsgz::admin {

// The company window 公司情况. Its behaviour is CompanyForm's; this class only binds the fields.
class Tmewindow : public QDialog {
    Q_OBJECT
public:
    explicit Tmewindow(app::TDM& dm, QWidget* parent = nullptr);
    CompanyForm& form() { return form_; }

protected:
    void reject() override;

private:
    void showForm();
    void save();

    CompanyForm form_;
    std::vector<QLineEdit*> edits_;  // in the order of companyFields()
};

// Opens the company window modally. frameSteps is what the main window does when a system-group
// window opens (after the module number became 0); it may be empty.
void openCompanyWindow(app::TDM& dm, QWidget* parent, const std::function<void()>& frameSteps);

}  // namespace rsgz::admin
