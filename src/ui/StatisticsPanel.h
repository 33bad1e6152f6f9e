#pragma once
#include <QWidget>

#include "app/Navigation.h"

class QComboBox;
class QTabWidget;
class QTableView;
class QTreeWidget;

namespace rsgz::ui {

// The panel of 人员信息统计: the query tree, the statistics item list and the result of the
// counting shown as a table and as three charts, all over rytongji.
class StatisticsPanel : public QWidget {
    Q_OBJECT
public:
    StatisticsPanel(app::Navigation& nav, db::DataSet* result, QWidget* parent = nullptr);

    QTreeWidget* queryTree() const { return tree_; }
    QComboBox* itemList() const { return items_; }
    QTabWidget* tabs() const { return tabs_; }
    QTableView* grid() const { return grid_; }

private:
    QTreeWidget* tree_ = nullptr;
    QComboBox* items_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTableView* grid_ = nullptr;
};

}  // namespace rsgz::ui
