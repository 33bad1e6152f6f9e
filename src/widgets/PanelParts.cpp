#include "widgets/PanelParts.h"

#include "app/Navigation.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPolygonF>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace rsgz::widgets {

QFrame* makePanelHeader(const QString& title, QWidget* parent)
{
    auto* header = new QFrame(parent);
    header->setObjectName(QStringLiteral("panelHeader"));
    header->setMinimumHeight(42);
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(12, 6, 10, 6);
    layout->setSpacing(6);
    auto* label = new QLabel(title, header);
    label->setObjectName(QStringLiteral("panelTitle"));
    layout->addWidget(label);
    layout->addSpacing(16);
    return header;
}

PanelSkeleton makePanelSkeleton(QWidget* panel, int module, const QString& title, app::Navigation& nav)
{
    panel->setObjectName(QStringLiteral("modulePanel%1").arg(module));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makePanelHeader(title, panel));
    PanelSkeleton s;
    s.split = new QSplitter(Qt::Horizontal, panel);
    s.split->setChildrenCollapsible(false);
    s.tree = makeTreeSide(s.split, [&nav, module](const QString& entry) { nav.treeMenu(module, entry.toStdString()); });
    s.split->addWidget(s.tree.widget);
    layout->addWidget(s.split, 1);
    return s;
}

QHBoxLayout* headerLayout(QFrame* header) { return static_cast<QHBoxLayout*>(header->layout()); }

QFrame* makeCaptionBar(const QString& text, QWidget* parent)
{
    auto* bar = new QFrame(parent);
    bar->setObjectName(QStringLiteral("captionBar"));
    bar->setFixedHeight(28);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(8, 3, 4, 3);
    layout->setSpacing(4);
    auto* label = new QLabel(text, bar);
    label->setObjectName(QStringLiteral("captionText"));
    layout->addWidget(label);
    layout->addStretch();
    return bar;
}

QTreeWidget* makeQueryTree(QWidget* parent, const std::function<void(const QString&)>& onMenu)
{
    auto* tree = new QTreeWidget(parent);
    tree->setObjectName(QStringLiteral("queryTree"));
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    tree->setFrameShape(QFrame::NoFrame);
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(tree, &QWidget::customContextMenuRequested, tree, [tree, onMenu](const QPoint& at) {
        QMenu menu(tree);
        for (const char* entry : {"刷新查询列表", "定义查询列表", "保存查询列表"}) menu.addAction(QString::fromUtf8(entry));
        if (const QAction* chosen = menu.exec(tree->viewport()->mapToGlobal(at))) onMenu(chosen->text());
    });
    return tree;
}

TreeSide makeTreeSide(QWidget* parent, const std::function<void(const QString&)>& onMenu)
{
    TreeSide side;
    side.widget = new QWidget(parent);
    side.widget->setObjectName(QStringLiteral("treeSide"));
    side.widget->setMinimumWidth(110);
    auto* column = new QVBoxLayout(side.widget);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    side.caption = makeCaptionBar(QStringLiteral("检索列表"), side.widget);
    column->addWidget(side.caption);
    side.tree = makeQueryTree(side.widget, onMenu);
    column->addWidget(side.tree, 1);
    return side;
}

QTableView* makeGrid(QWidget* parent)
{
    auto* grid = new QTableView(parent);
    grid->setObjectName(QStringLiteral("moduleGrid"));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setAlternatingRowColors(true);
    grid->setFrameShape(QFrame::NoFrame);
    grid->setWordWrap(false);
    grid->verticalHeader()->setDefaultSectionSize(24);
    grid->verticalHeader()->setFixedWidth(18);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->horizontalHeader()->setDefaultSectionSize(96);
    return grid;
}

// Columns start as wide as the first rows need, within reason, and never narrower than their title.
void fitColumns(QTableView* grid)
{
    QHeaderView* header = grid->horizontalHeader();
    // Rows beyond those in sight are measured too: enough that the longer words of a column (部门副经理
    // among 科长 and 职员) are met, few enough that a list of 20,000 rows is fitted at once.
    header->setResizeContentsPrecision(300);
    grid->resizeColumnsToContents();
    for (int i = 0; i < header->count(); ++i) {
        const int title = header->sectionSizeHint(i);
        header->resizeSection(i, std::clamp(header->sectionSize(i), std::max(56, title), std::max(220, title)));
    }
}

void setGridModel(QTableView* grid, QAbstractItemModel* model)
{
    grid->setModel(model);
    QObject::connect(model, &QAbstractItemModel::modelReset, grid, [grid] { fitColumns(grid); });
    fitColumns(grid);
}

QIcon browseIcon(int step)
{
    QIcon icon;
    for (const int size : {18, 36}) {
        QPixmap pix(size, size);
        pix.fill(Qt::transparent);
        QPainter p(&pix);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 18.0, size / 18.0);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x1f, 0x5f, 0xa8));
        // Drawn pointing left; next and last are the mirror image.
        if (step >= 2) p.setTransform(QTransform(-1, 0, 0, 1, 18, 0), true);
        const bool edge = step == 0 || step == 3;
        if (edge) p.drawRect(QRectF(3, 4, 2.2, 10));
        const qreal tip = edge ? 6.5 : 5;
        p.drawPolygon(QPolygonF({QPointF(tip, 9), QPointF(tip + 8, 3.5), QPointF(tip + 8, 14.5)}));
        p.end();
        icon.addPixmap(pix, QIcon::Normal);
    }
    return icon;
}

QToolButton* makeToolButton(const QString& hint, const QString& themeIcon, int fallbackIcon, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setToolTip(hint);
    b->setIcon(QIcon::fromTheme(themeIcon, QApplication::style()->standardIcon(static_cast<QStyle::StandardPixmap>(fallbackIcon))));
    b->setIconSize(QSize(18, 18));
    b->setAutoRaise(true);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

}  // namespace rsgz::widgets
