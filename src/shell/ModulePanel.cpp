#include "shell/ModulePanel.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/DataSet.h"
#include "query/QueryPages.h"
#include "widgets/DataSetModel.h"
#include "widgets/GridFooter.h"
#include "widgets/GridLayoutView.h"
#include "widgets/GridLink.h"
#include "widgets/PanelParts.h"
#include "widgets/QueryTreeWidget.h"

namespace rsgz::shell {

using Move = app::Navigation::Move;

ModulePanel::ModulePanel(app::Navigation& nav, int module, db::DataSet* list, Options options, QWidget* parent)
    : QWidget(parent), nav_(nav), module_(module), list_(list), browseState_([this](const app::BrowseState& s) {
          const bool on[4] = {s.first, s.prior, s.next, s.last};
          for (size_t i = 0; i < browseButtons_.size(); ++i) browseButtons_[i]->setEnabled(on[i]);
      })
{
    setObjectName(QStringLiteral("modulePanel%1").arg(module));
    const app::ModuleInfo* info = app::findModule(module);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildTopBar(info ? QString::fromStdString(info->title) : QString()));

    split_ = new QSplitter(Qt::Horizontal, this);
    split_->setObjectName(QStringLiteral("panelSplitter"));
    split_->setChildrenCollapsible(false);
    split_->addWidget(buildTreeSide(options.refreshButton));
    split_->addWidget(buildGridSide(options));
    split_->setStretchFactor(1, 1);
    split_->setSizes({170, 900});
    layout->addWidget(split_, 1);
    browseState_.follow(list_);
}

QWidget* ModulePanel::buildTopBar(const QString& title)
{
    QFrame* bar = widgets::makePanelHeader(title, this);
    QHBoxLayout* row = widgets::headerLayout(bar);
    row->addWidget(new QLabel(QStringLiteral("前后浏览"), bar));
    const struct {
        const char* hint;
        const char* theme;
        QStyle::StandardPixmap fallback;
        Move move;
    } moves[] = {
        {"第一条记录", "go-first", QStyle::SP_MediaSkipBackward, Move::First},
        {"前一条记录", "go-previous", QStyle::SP_MediaSeekBackward, Move::Prior},
        {"后一条记录", "go-next", QStyle::SP_MediaSeekForward, Move::Next},
        {"最后一条记录", "go-last", QStyle::SP_MediaSkipForward, Move::Last},
    };
    for (size_t i = 0; i < std::size(moves); ++i) {
        const auto& m = moves[i];
        QToolButton* b = widgets::makeToolButton(QString::fromUtf8(m.hint), QString::fromUtf8(m.theme), m.fallback, bar);
        b->setIcon(widgets::browseIcon(static_cast<int>(i)));
        browseButtons_[i] = b;
        b->setObjectName(QString::fromUtf8(m.hint));
        const Move move = m.move;
        connect(b, &QToolButton::clicked, this, [this, move] { nav_.browse(module_, move); });
        row->addWidget(b);
    }
    row->addSpacing(18);
    row->addWidget(new QLabel(QStringLiteral("查"), bar));
    searchField_ = new QComboBox(bar);
    searchField_->setObjectName(QStringLiteral("searchField"));
    searchField_->setMinimumWidth(120);
    searchField_->setMaxVisibleItems(20);
    row->addWidget(searchField_);
    searchText_ = new QLineEdit(bar);
    searchText_->setObjectName(QStringLiteral("searchText"));
    searchText_->setMinimumWidth(150);
    searchText_->setMaximumWidth(260);
    searchText_->setClearButtonEnabled(true);
    connect(searchText_, &QLineEdit::returnPressed, this, &ModulePanel::search);
    row->addWidget(searchText_);
    QToolButton* go = widgets::makeToolButton(QStringLiteral("查询数据"), QStringLiteral("edit-find"), QStyle::SP_FileDialogContentsView, bar);
    go->setObjectName(QStringLiteral("searchButton"));
    connect(go, &QToolButton::clicked, this, &ModulePanel::searchButton);
    row->addWidget(go);
    row->addStretch();
    topRow_ = row;
    return bar;
}

QWidget* ModulePanel::buildTreeSide(bool refreshButton)
{
    const widgets::TreeSide side = widgets::makeTreeSide(this, [this](const QString& entry) { nav_.treeMenu(module_, entry.toStdString()); });
    tree_ = side.tree;
    if (refreshButton) {
        QToolButton* refresh = widgets::makeToolButton(QStringLiteral("显示全部数据"), QStringLiteral("view-refresh"), QStyle::SP_BrowserReload, side.caption);
        refresh->setObjectName(QStringLiteral("refreshButton"));
        refresh->setIconSize(QSize(16, 16));
        connect(refresh, &QToolButton::clicked, this, [this] { nav_.refreshList(module_); });
        side.caption->layout()->addWidget(refresh);
    }
    return side.widget;
}

QWidget* ModulePanel::buildGridSide(const Options& options)
{
    auto* side = new QWidget(this);
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    if (options.sortBar || options.queryButton) {
        auto* bar = new QFrame(side);
        bar->setObjectName(QStringLiteral("sortBar"));
        auto* row = new QHBoxLayout(bar);
        row->setContentsMargins(10, 4, 10, 4);
        row->setSpacing(6);
        if (options.sortBar) {
            row->addWidget(new QLabel(QStringLiteral("排序字段"), bar));
            sortField_ = new QComboBox(bar);
            sortField_->setObjectName(QStringLiteral("sortField"));
            sortField_->setMinimumWidth(120);
            sortField_->setMaxVisibleItems(20);
            row->addWidget(sortField_);
            row->addSpacing(10);
            row->addWidget(new QLabel(QStringLiteral("排序方式"), bar));
            sortOrder_ = new QComboBox(bar);
            sortOrder_->setObjectName(QStringLiteral("sortOrder"));
            sortOrder_->addItems({QStringLiteral("升序"), QStringLiteral("降序")});
            row->addWidget(sortOrder_);
        }
        row->addStretch();
        if (options.queryButton) {
            auto* query = new QPushButton(QStringLiteral("多条件查询"), bar);
            query->setObjectName(QStringLiteral("queryButton"));
            connect(query, &QPushButton::clicked, this, [this] { nav_.openQueryWindow(module_); });
            row->addWidget(query);
        }
        column->addWidget(bar);
    }
    buildGrid();
    grid_->setParent(side);
    column->addWidget(grid_, 1);
    return side;
}

widgets::GridFooter* ModulePanel::addGridFooter()
{
    if (footer_ || !model_) return footer_;
    QWidget* side = grid_->parentWidget();
    footer_ = new widgets::GridFooter(grid_, model_, side);
    if (auto* column = qobject_cast<QVBoxLayout*>(side->layout())) column->addWidget(footer_);
    return footer_;
}

void ModulePanel::buildGrid()
{
    grid_ = widgets::makeGrid(this);
    if (!list_) return;
    model_ = new widgets::DataSetModel(list_, this);
    widgets::setGridModel(grid_, model_);
    widgets::linkGridToDataSet(grid_, model_);
    connect(grid_, &QTableView::clicked, this, [this] { nav_.gridClicked(module_); });
    connect(grid_, &QTableView::doubleClicked, this, [this] { nav_.openRecordWindow(module_); });
    grid_->installEventFilter(this);  // Enter on a row opens the window like a double-click
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this, &ModulePanel::gridMenu);
    // A new read fits the columns to their contents; a stored layout keeps its widths.
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        if (!layout_.columns.empty()) widgets::applyWidths(grid_, model_, layout_);
    });
}

void ModulePanel::gridMenu(const QPoint& at)
{
    QMenu menu(grid_);
    QAction* save = menu.addAction(QStringLiteral("保存表格样式"));
    QAction* left = menu.addAction(QStringLiteral("左对齐"));
    QAction* centre = menu.addAction(QStringLiteral("居中"));
    QAction* right = menu.addAction(QStringLiteral("右对齐"));
    const QAction* chosen = menu.exec(grid_->viewport()->mapToGlobal(at));
    if (chosen == save) saveGridLayout();
    else if (chosen == left) alignCurrentColumn(Qt::AlignLeft);
    else if (chosen == centre) alignCurrentColumn(Qt::AlignHCenter);
    else if (chosen == right) alignCurrentColumn(Qt::AlignRight);
}

void ModulePanel::addToTopBar(QWidget* w)
{
    w->setParent(topRow_->parentWidget());
    topRow_->insertWidget(topRow_->count() - 1, w);
}

// Enter in the text box searches only with a text; the magnifier with no text finds the rows
// whose column is empty.
void ModulePanel::search()
{
    if (searchText_->text().isEmpty()) {
        if (ownEmptySearch) ownEmptySearch();
        return;
    }
    nav_.searchOneField(module_, searchField_->currentText().toStdString(), searchText_->text().toStdString());
}

void ModulePanel::searchButton()
{
    if (searchText_->text().isEmpty() && !ownEmptySearch) nav_.searchEmptyValue(module_, searchField_->currentText().toStdString());
    else search();
}

void ModulePanel::setFieldLists(const app::FieldLists& lists)
{
    const auto fill = [](QComboBox* box, const std::vector<std::string>& names, int shown) {
        if (!box) return;
        QSignalBlocker block(box);
        box->clear();
        for (const std::string& n : names) box->addItem(QString::fromStdString(n));
        box->setCurrentIndex(shown);
    };
    fill(searchField_, lists.search, lists.searchIndex);
    fill(sortField_, lists.sort, lists.sortIndex);
}

void ModulePanel::resetColumns()
{
    if (!model_) return;
    layout_ = {};  // its widths no longer apply; the file stays as it is
    model_->setVisibleFields({});
    QHeaderView* header = grid_->horizontalHeader();
    for (int i = 0; i < header->count(); ++i) header->moveSection(header->visualIndex(i), i);
}

// --- query trees, sort bar and stored layout -------------------------------------------------------

void ModulePanel::attachQueries(query::QueryPages* pages)
{
    pages_ = pages;
    if (pages_) wireQueries();
}

void ModulePanel::wireQueries()
{
    const query::QueryModule* m = query::queryModule(module_);
    tree_->setEditTriggers(m && m->editableTree ? QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked
                                                : QAbstractItemView::NoEditTriggers);
    // The chosen node stays marked when the tree loses the focus.
    QPalette palette = tree_->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, palette.color(QPalette::Active, QPalette::HighlightedText));
    tree_->setPalette(palette);
    tree_->viewport()->installEventFilter(this);
    connect(tree_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) {
        pages_->nodeEdited(module_, widgets::nodeOf(item), item->text(0).toStdString());
    });
    const auto sortChosen = [this] {
        const std::string field = sortField_->currentText().toStdString(), order = sortOrder_->currentText().toStdString();
        if (ownSort) ownSort(field, order);
        else pages_->sortChosen(module_, field, order);
    };
    if (sortField_) connect(sortField_, &QComboBox::activated, this, sortChosen);
    if (sortOrder_) connect(sortOrder_, &QComboBox::activated, this, sortChosen);
    connect(searchField_, &QComboBox::activated, this,
            [this] { pages_->searchFieldChosen(module_, searchField_->currentText().toStdString()); });
    // A drag moves the splitter many times: the width is stored once it rests.
    auto* widthRests = new QTimer(this);
    widthRests->setSingleShot(true);
    widthRests->setInterval(400);
    connect(widthRests, &QTimer::timeout, this, [this] { pages_->treeWidthMoved(module_, split_->sizes().value(0)); });
    connect(split_, &QSplitter::splitterMoved, widthRests, qOverload<>(&QTimer::start));
}

bool ModulePanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grid_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && grid_->currentIndex().isValid()) {
            nav_.openRecordWindow(module_);
            return true;
        }
    }
    if (pages_ && watched == tree_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) treeClicked(mouse->position().toPoint());
    }
    return QWidget::eventFilter(watched, event);
}

// A click on a node narrows the list to it; a click beside the nodes shows the whole list.
void ModulePanel::treeClicked(const QPoint& at)
{
    QTreeWidgetItem* item = tree_->itemAt(at);
    // A click on the branch mark only opens or closes the node.
    if (item && at.x() < tree_->visualItemRect(item).left()) return;
    if (!item) tree_->clearSelection();
    if (ownNodeClick) ownNodeClick(widgets::nodeOf(item));
    else pages_->nodeClicked(module_, widgets::nodeOf(item));
}

void ModulePanel::showTree(const query::QueryTree& tree)
{
    const query::QueryModule* m = query::queryModule(module_);
    widgets::fillQueryTree(tree_, tree, m && m->editableTree);
}

void ModulePanel::showSort(const std::string& field, const std::string& order)
{
    const auto show = [](QComboBox* box, const std::string& text) {
        if (!box) return;
        const int i = box->findText(QString::fromStdString(text));
        if (i < 0) return;
        QSignalBlocker block(box);
        box->setCurrentIndex(i);
    };
    show(sortField_, field);
    show(sortOrder_, order);
}

void ModulePanel::showTreeWidth(int width)
{
    QList<int> sizes = split_->sizes();
    if (sizes.size() < 2 || width <= 0) return;
    const int total = sizes[0] + sizes[1];
    QSignalBlocker block(split_);
    split_->setSizes({width, total > width ? total - width : sizes[1]});
}

void ModulePanel::showSearchField(const std::string& name)
{
    const int i = searchField_->findText(QString::fromStdString(name));
    if (i < 0) return;
    QSignalBlocker block(searchField_);
    searchField_->setCurrentIndex(i);
}

void ModulePanel::loadGridLayout()
{
    if (!model_ || !list_->active()) return;
    const std::string path = query::GridLayout::path(app::DM().programDir(), module_);
    if (path.empty() || !QFileInfo::exists(QString::fromStdString(path))) return;
    try {
        layout_ = query::GridLayout::read(path);
        widgets::applyLayout(grid_, model_, layout_);
    } catch (const std::exception& e) {
        layout_ = {};
        app::interaction().showMessage(e.what());
    }
}

void ModulePanel::saveGridLayout()
{
    if (!model_ || !list_->active()) return;
    const std::string path = query::GridLayout::path(app::DM().programDir(), module_);
    if (path.empty()) return;
    app::runAction([&] {
        layout_ = widgets::captureLayout(grid_, model_);
        layout_.write(path);
    });
}

void ModulePanel::alignCurrentColumn(Qt::Alignment alignment)
{
    const int column = grid_->currentIndex().column();
    const int f = model_ ? model_->fieldIndexOfColumn(column) : -1;
    if (f < 0) return;
    model_->setAlignment(QString::fromStdString(list_->field(f).name), alignment);
    saveGridLayout();
}

}  // namespace rsgz::shell
