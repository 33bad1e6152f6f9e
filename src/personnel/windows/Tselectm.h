#pragma once
#include <QDialog>

#include "personnel/EmployeePicker.h"

class QBoxLayout;
class QComboBox;
class QLineEdit;
class QTreeWidget;

namespace rsgz::widgets {
class DataSetGrid;
}

namespace rsgz::personnel {

// The employee picker window: the personnel query tree, the search row, the candidates and the
// chosen list. Its behaviour (and the calling convention) is EmployeePicker's.
class Tselectm : public QDialog {
    Q_OBJECT
public:
    Tselectm(app::TDM& dm, const std::string& caption, QWidget* parent = nullptr);
    EmployeePicker& picker() { return picker_; }
    widgets::DataSetGrid* candidates() const { return candidates_; }

protected:
    void reject() override;

private:
    void buildTop(QBoxLayout* layout, app::TDM& dm);
    void buildChosen(QBoxLayout* layout, app::TDM& dm);
    void refillTree();

    EmployeePicker picker_;
    QTreeWidget* tree_ = nullptr;
    QComboBox* field_ = nullptr;
    QLineEdit* text_ = nullptr;
    widgets::DataSetGrid* candidates_ = nullptr;
};

}  // namespace rsgz::personnel
