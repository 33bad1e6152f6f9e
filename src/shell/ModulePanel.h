#pragma once
#include <QWidget>

#include <array>
#include <functional>
#include <string>

#include "app/BrowseButtons.h"
#include "app/Navigation.h"
#include "query/GridLayout.h"

class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QTableView;
class QToolButton;
class QTreeWidget;

class QSplitter;

namespace rsgz::widgets {
class DataSetModel;
class GridFooter;
}  // namespace rsgz::widgets

namespace rsgz::db {
class DataSet;
}
namespace rsgz::query {
class QueryPages;
class QueryTree;
}  // namespace rsgz::query

namespace rsgz::shell {

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
    widgets::DataSetModel* model() const { return model_; }
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
    // The totals row under the grid (the salary table); made once, on the first call.
    widgets::GridFooter* addGridFooter();
    widgets::GridFooter* gridFooter() const { return footer_; }

    // --- query trees, sort bar and stored layout ---------------------------------------------------
    // The user's actions on the tree, the sort bar, the search column and the splitter go to pages.
    void attachQueries(query::QueryPages* pages);
    query::QueryPages* queryPages() const { return pages_; }
    // A page whose tree click and sort are its own (the salary table) takes them here instead.
    std::function<void(int node)> ownNodeClick;
    std::function<void(const std::string& field, const std::string& order)> ownSort;
    // A page whose quick search can be taken back: Enter or the magnifier with an empty text.
    std::function<void()> ownEmptySearch;
    void showTree(const query::QueryTree& tree);
    // Filled by the program: nothing is stored and nothing is sorted.
    void showSort(const std::string& field, const std::string& order);
    void showTreeWidth(int width);
    void showSearchField(const std::string& name);
    // The grid's stored layout, when its file exists.
    void loadGridLayout();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildTopBar(const QString& title);
    QWidget* buildTreeSide(bool refreshButton);
    QWidget* buildGridSide(const Options& options);
    void buildGrid();
    void search();
    void searchButton();
    void wireQueries();
    void treeClicked(const QPoint& at);
    void gridMenu(const QPoint& at);
    void saveGridLayout();
    void alignCurrentColumn(Qt::Alignment alignment);

    app::Navigation& nav_;
    int module_;
    db::DataSet* list_;
    widgets::DataSetModel* model_ = nullptr;
    QTableView* grid_ = nullptr;
    widgets::GridFooter* footer_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QComboBox* searchField_ = nullptr;
    QLineEdit* searchText_ = nullptr;
    QComboBox* sortField_ = nullptr;
    QComboBox* sortOrder_ = nullptr;
    std::array<QToolButton*, 4> browseButtons_ = {};
    app::BrowseButtons browseState_;
    QHBoxLayout* topRow_ = nullptr;
    QSplitter* split_ = nullptr;
    query::QueryPages* pages_ = nullptr;
    query::GridLayout layout_;  // the stored layout in force (its widths survive a new read)
};

}  // namespace rsgz::shell
