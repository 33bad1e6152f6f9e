#pragma once
#include <QWidget>

#include "app/Navigation.h"
#include "query/PersonnelStatistics.h"

class QComboBox;
class QPushButton;
class QTabWidget;
class QTableView;
class QTreeWidget;

namespace rsgz::widgets {
class ChartView;
class DataSetModel;
}  // namespace rsgz::widgets

namespace rsgz::app {
class TDM;
}
namespace rsgz::query {
class TreeQueries;
}

namespace rsgz::shell {

// The panel of 人员信息统计: the query tree, the statistics item list and the result of the
// counting shown as a table and as three charts, all over rytongji. Only wires the controls;
// PersonnelStatistics does the counting.
class StatisticsPanel : public QWidget {
    Q_OBJECT
public:
    StatisticsPanel(app::Navigation& nav, app::TDM& dm, query::TreeQueries& trees, QWidget* parent = nullptr);
    ~StatisticsPanel() override;

    QTreeWidget* queryTree() const { return tree_; }
    QComboBox* itemList() const { return items_; }
    QTabWidget* tabs() const { return tabs_; }
    QTableView* grid() const { return grid_; }
    widgets::ChartView* chart(int tab) const;

    // Entering the page: the items of tongji.list, the first one shown; nothing is counted.
    void showItems();
    // Counts the item in the box within the tree's current node.
    void count();
    // 保存图片: the chart shown saved as a PNG file the user names.
    void saveChart();

private:
    app::Navigation& nav_;
    query::PersonnelStatistics statistics_;
    QTreeWidget* tree_ = nullptr;
    QComboBox* items_ = nullptr;
    QPushButton* save_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTableView* grid_ = nullptr;
    widgets::DataSetModel* model_ = nullptr;
};

}  // namespace rsgz::shell
