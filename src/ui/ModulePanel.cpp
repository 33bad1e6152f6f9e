#include "ui/ModulePanel.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "db/DataSet.h"
#include "ui/DataSetModel.h"
#include "ui/PanelParts.h"

namespace rsgz::ui {

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

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setObjectName(QStringLiteral("panelSplitter"));
    split->setChildrenCollapsible(false);
    split->addWidget(buildTreeSide(options.refreshButton));
    split->addWidget(buildGridSide(options));
    split->setStretchFactor(1, 1);
    split->setSizes({170, 900});
    layout->addWidget(split, 1);
    browseState_.follow(list_);
}

QWidget* ModulePanel::buildTopBar(const QString& title)
{
    QFrame* bar = makePanelHeader(title, this);
    QHBoxLayout* row = headerLayout(bar);
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
        QToolButton* b = makeToolButton(QString::fromUtf8(m.hint), QString::fromUtf8(m.theme), m.fallback, bar);
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
    QToolButton* go = makeToolButton(QStringLiteral("查询数据"), QStringLiteral("edit-find"), QStyle::SP_FileDialogContentsView, bar);
    go->setObjectName(QStringLiteral("searchButton"));
    connect(go, &QToolButton::clicked, this, &ModulePanel::search);
    row->addWidget(go);
    row->addStretch();
    topRow_ = row;
    return bar;
}

QWidget* ModulePanel::buildTreeSide(bool refreshButton)
{
    const TreeSide side = makeTreeSide(this, [this](const QString& entry) { nav_.treeMenu(module_, entry.toStdString()); });
    tree_ = side.tree;
    if (refreshButton) {
        QToolButton* refresh = makeToolButton(QStringLiteral("显示全部数据"), QStringLiteral("view-refresh"), QStyle::SP_BrowserReload, side.caption);
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

void ModulePanel::buildGrid()
{
    grid_ = makeGrid(this);
    if (!list_) return;
    model_ = new DataSetModel(list_, this);
    setGridModel(grid_, model_);
    connect(model_, &DataSetModel::currentRowChanged, this, &ModulePanel::followCurrentRow);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { rowActivated(current); });
    connect(grid_, &QTableView::clicked, this, [this] { nav_.gridClicked(module_); });
    connect(grid_, &QTableView::doubleClicked, this, [this] { nav_.openRecordWindow(module_); });
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        // Column layouts are saved and aligned by the layout settings; the entries are offered here.
        QMenu menu(grid_);
        for (const char* entry : {"保存表格样式", "左对齐", "居中", "右对齐"}) menu.addAction(QString::fromUtf8(entry));
        menu.exec(grid_->viewport()->mapToGlobal(at));
    });
}

void ModulePanel::followCurrentRow(int row)
{
    if (row < 0 || row >= model_->rowCount()) return;
    following_ = true;
    const int column = std::max(0, grid_->currentIndex().column());
    grid_->setCurrentIndex(model_->index(row, column));
    grid_->scrollTo(model_->index(row, column));
    following_ = false;
}

void ModulePanel::rowActivated(const QModelIndex& current)
{
    if (following_ || !current.isValid() || !list_->active() || current.row() == list_->currentRow()) return;
    const int row = current.row();
    app::runAction([this, row] { list_->moveToRow(row); });
}

void ModulePanel::addToTopBar(QWidget* w)
{
    w->setParent(topRow_->parentWidget());
    topRow_->insertWidget(topRow_->count() - 1, w);
}

void ModulePanel::search()
{
    nav_.searchOneField(module_, searchField_->currentText().toStdString(), searchText_->text().toStdString());
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
    model_->setVisibleFields({});
    QHeaderView* header = grid_->horizontalHeader();
    for (int i = 0; i < header->count(); ++i) header->moveSection(header->visualIndex(i), i);
}

}  // namespace rsgz::ui
