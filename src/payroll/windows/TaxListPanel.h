#pragma once
#include <QWidget>

#include "payroll/TaxListForm.h"

class QHBoxLayout;
class QTableView;

namespace rsgz::widgets {
class DataSetModel;
}  // namespace rsgz::widgets

namespace rsgz::payroll {

// The grid of one wage-tax list with 添加, 删除 and 保存 below it; rows are typed straight into the
// grid. A column with choices gets a drop-down of them (still open to typing).
class TaxListPanel : public QWidget {
    Q_OBJECT
public:
    TaxListPanel(payroll::TaxListForm& form, QWidget* parent = nullptr);
    void setChoices(const QString& column, const QStringList& choices);
    void setTitle(const QString& column, const QString& title);
    QTableView* grid() const { return grid_; }
    // Extra buttons go before 添加.
    void addButton(QWidget* button);

private:
    payroll::TaxListForm& form_;
    widgets::DataSetModel* model_;
    QTableView* grid_;
    QHBoxLayout* buttons_;
};

}  // namespace rsgz::payroll
