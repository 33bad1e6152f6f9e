#pragma once
#include <QWidget>

#include "app/Navigation.h"

class QTableView;
class QTreeWidget;

namespace rsgz::ui {

// The panel of 工资帐套管理: the query tree, the payroll sets and the items of the current set.
// The payroll-set page opens both lists and adds its buttons.
class PayrollSetsPanel : public QWidget {
    Q_OBJECT
public:
    PayrollSetsPanel(app::Navigation& nav, db::DataSet* sets, db::DataSet* items, QWidget* parent = nullptr);

    QTreeWidget* queryTree() const { return tree_; }
    QTableView* setGrid() const { return sets_; }
    QTableView* itemGrid() const { return items_; }

private:
    QTreeWidget* tree_ = nullptr;
    QTableView* sets_ = nullptr;
    QTableView* items_ = nullptr;
};

}  // namespace rsgz::ui
