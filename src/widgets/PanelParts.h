#pragma once
#include <QIcon>
#include <QString>
#include <functional>

class QAbstractItemModel;
class QFrame;
class QHBoxLayout;
class QTableView;
class QToolButton;
class QTreeWidget;
class QWidget;

class QSplitter;
namespace rsgz::app {
class Navigation;
}

namespace rsgz::widgets {

// Pieces every module panel is built from, so that all panels share one look.

// The panel's top bar with its title on the left; callers add their controls to the bar's layout.
QFrame* makePanelHeader(const QString& title, QWidget* parent);
QHBoxLayout* headerLayout(QFrame* header);
// A thin caption bar ("检索列表", grid captions).
QFrame* makeCaptionBar(const QString& text, QWidget* parent);
// The query tree with its context menu; entry is 刷新查询列表, 定义查询列表 or 保存查询列表.
QTreeWidget* makeQueryTree(QWidget* parent, const std::function<void(const QString& entry)>& onMenu);
// The left side of a panel: the caption 检索列表 over the query tree.
struct TreeSide {
    QWidget* widget = nullptr;
    QFrame* caption = nullptr;
    QTreeWidget* tree = nullptr;
};
TreeSide makeTreeSide(QWidget* parent, const std::function<void(const QString& entry)>& onMenu);
// The skeleton of a panel that is not a plain module list: its header over a splitter whose left
// side is the query tree (the tree menu goes to the navigation of that module). The caller adds
// its right side to the splitter.
struct PanelSkeleton {
    QSplitter* split = nullptr;
    TreeSide tree;
};
PanelSkeleton makePanelSkeleton(QWidget* panel, int module, const QString& title, app::Navigation& nav);
// A read-only grid that selects whole rows.
QTableView* makeGrid(QWidget* parent);
// Gives a grid its model; the columns fit their contents each time the model is reset.
void setGridModel(QTableView* grid, QAbstractItemModel* model);
// Fits the columns to the title and the first rows (at most 220 pixels, unless the title needs more).
void fitColumns(QTableView* grid);
QToolButton* makeToolButton(const QString& hint, const QString& themeIcon, int fallbackIcon, QWidget* parent);
// The arrows of the browse buttons (0 first, 1 previous, 2 next, 3 last), drawn in a strong colour:
// the desktop theme's pale ones look disabled even when the button works.
QIcon browseIcon(int step);

}  // namespace rsgz::widgets
