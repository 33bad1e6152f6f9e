#pragma once
#include <QDialog>

#include "query/BatchChange.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace rsgz::query {
class QueryPages;
}

namespace rsgz::query {

// 批量修改员工资料: one column of the employee master set to a new value over the personnel list's
// current query or the whole table. Only wires the controls; BatchChange does the work.
class Tplxgw : public QDialog {
    Q_OBJECT
public:
    Tplxgw(app::TDM& dm, query::QueryPages& pages, const std::vector<std::string>& columns, QWidget* parent = nullptr);

private:
    void change();

    query::BatchChange change_;
    QRadioButton* current_ = nullptr;
    QComboBox* field_ = nullptr;
    QLineEdit* old_ = nullptr;
    QCheckBox* ignore_ = nullptr;
    QLineEdit* new_ = nullptr;
};

}  // namespace rsgz::query
