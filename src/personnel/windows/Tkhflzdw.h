#pragma once
#include <QDialog>
#include <functional>

#include "personnel/DepartmentEditor.h"

class QTableWidget;

namespace rsgz::personnel {

// The department editor 部门分类字典编辑 for one level. Its behaviour is DepartmentEditor's; this
// class only binds the grid and the buttons. The upper-level columns are shown greyed and cannot be
// edited; every column is 180 wide.
class Tkhflzdw : public QDialog {
    Q_OBJECT
public:
    Tkhflzdw(app::TDM& dm, int level, const app::DepartmentPath& upper, QWidget* parent = nullptr);
    DepartmentEditor& form() { return form_; }

protected:
    void reject() override;

private:
    void run(const std::function<void()>& step);
    void showEntries();
    void editNewEntry();

    DepartmentEditor form_;
    QTableWidget* grid_;
    bool showing_ = false;
};

}  // namespace rsgz::personnel
