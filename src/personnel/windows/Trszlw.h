#pragma once
#include "widgets/ActivatedDialog.h"
#include <array>
#include <functional>
#include <vector>

#include "personnel/EmployeeRecord.h"

class QLabel;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace rsgz::widgets {
class DataSetGrid;
class DepartmentBoxes;
class RecordFields;
}  // namespace rsgz::widgets

namespace rsgz::personnel {

// The employee window 员工信息: toolbar, name list, the employee's two pages and the ten lists.
// Its behaviour is EmployeeRecord's; this class only builds and binds the controls.
class Trszlw : public widgets::ActivatedDialog {
    Q_OBJECT
public:
    explicit Trszlw(app::TDM& dm, QWidget* parent = nullptr);
    ~Trszlw() override;
    EmployeeRecord& record() { return record_; }
    QTabWidget* pages() const { return pages_; }

protected:
    void activateOnce() override;
    void reject() override;

private:
    QWidget* buildToolbar();
    QWidget* buildBasicPage();
    QWidget* buildExtraPage();
    QWidget* buildListPage(const SubRecordPage& page);
    void run(const std::function<void()>& step);
    void showState();
    void showPhoto();
    void fillLists();

    app::TDM& dm_;
    EmployeeRecord record_;
    widgets::RecordFields* fields_;
    widgets::DepartmentBoxes* departments_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QLabel* photo_ = nullptr;
    QPushButton *add_ = nullptr, *save_ = nullptr, *delete_ = nullptr;
    std::vector<QPushButton*> listButtons_;  // 新增 and 删除 of every list page (hidden on page 10)
};

}  // namespace rsgz::personnel
