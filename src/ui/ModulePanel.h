#pragma once
#include <QWidget>

#include <array>

#include "app/BrowseButtons.h"
#include "app/Navigation.h"

class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QTableView;
class QToolButton;
class QTreeWidget;

namespace rsgz::db {
class DataSet;
}

namespace rsgz::ui {

class DataSetModel;

// The common panel of a module list: the top bar with the title, the browse buttons and the
// one-field search; the query tree under 检索列表; the sort bar with 多条件查询; and the read-only
// grid that follows the list's current row. Everything it does goes through the navigation.
class ModulePanel : public QWidget {
    Q_OBJECT
public:
    struct Options {
        bool refreshButton = false;  // the refresh button above the tree (modules 1 and 8)
        bool sortBar = true;
        bool queryButton = true;     // 多条件查询
    };

    ModulePanel(app::Navigation& nav, int module, db::DataSet* list, Options options, QWidget* parent = nullptr);

    int module() const { return module_; }
    QTableView* grid() const { return grid_; }
    DataSetModel* model() const { return model_; }
    QTreeWidget* queryTree() const { return tree_; }
    QComboBox* searchField() const { return searchField_; }
    QComboBox* sortField() const { return sortField_; }
    QComboBox* sortOrder() const { return sortOrder_; }
    // 第一条记录, 前一条记录, 后一条记录, 最后一条记录
    const std::array<QToolButton*, 4>& browseButtons() const { return browseButtons_; }

    // The field lists after the list was opened.
    void setFieldLists(const app::FieldLists& lists);
    // Drops the grid's column layout: every column of the list in its own order and width.
    void resetColumns();
    // A control of the module's own after the search controls of the top bar.
    void addToTopBar(QWidget* w);

private:
    QWidget* buildTopBar(const QString& title);
    QWidget* buildTreeSide(bool refreshButton);
    QWidget* buildGridSide(const Options& options);
    void buildGrid();
    void followCurrentRow(int row);
    void rowActivated(const QModelIndex& current);
    void search();

    app::Navigation& nav_;
    int module_;
    db::DataSet* list_;
    DataSetModel* model_ = nullptr;
    QTableView* grid_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QComboBox* searchField_ = nullptr;
    QLineEdit* searchText_ = nullptr;
    QComboBox* sortField_ = nullptr;
    QComboBox* sortOrder_ = nullptr;
    bool following_ = false;
    std::array<QToolButton*, 4> browseButtons_ = {};
    app::BrowseButtons browseState_;
    QHBoxLayout* topRow_ = nullptr;
};

}  // namespace rsgz::ui
