#pragma once
#include <QDialog>
#include <array>

#include "payroll/BankLayoutForm.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QTabWidget;
class QTimer;

namespace rsgz::payroll {

// The window 银行报盘文件格式设置. Behaviour: BankLayoutForm.
class Tyinhangsetw : public QDialog {
    Q_OBJECT
public:
    Tyinhangsetw(app::TDM& dm, const SalaryView* view, QWidget* parent = nullptr);
    BankLayoutForm& form() { return form_; }
    // The opening steps: the layout into the controls, the content lists, the preview. False when
    // there is no set to work on (the window is then not shown).
    bool load();

private:
    struct PartControls {
        QComboBox* content = nullptr;
        QLineEdit* fixedText = nullptr;
        QLineEdit* front = nullptr;
        QLineEdit* back = nullptr;
        QCheckBox* times100 = nullptr;
        QComboBox* widthMode = nullptr;
        QSpinBox* width = nullptr;
        QComboBox* padSide = nullptr;
        QLineEdit* padText = nullptr;
    };
    QWidget* makePart(int index);
    QWidget* makePreview();
    void fillControls();
    void takeControls();
    void applyEnabling();
    void connectChanges();
    void changed(bool enabling);
    void showPreview();
    void showCheck();

    BankLayoutForm form_;
    QSpinBox* partsUsed_ = nullptr;
    QComboBox* separator_ = nullptr;
    QLineEdit* otherSeparator_ = nullptr;
    QTabWidget* partTabs_ = nullptr;
    std::array<PartControls, BankLayout::kParts> parts_;
    QLineEdit* record_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
    QTimer* checkTimer_ = nullptr;
    QString recordNotes_;
};

}  // namespace rsgz::payroll
