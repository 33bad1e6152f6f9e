#include "widgets/ListGroup.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "widgets/DataSetGrid.h"
#include "widgets/DataSetNavigator.h"
#include "widgets/RecordFields.h"

namespace rsgz::widgets {

namespace {

class EnterToNextColumn : public QObject {
public:
    explicit EnterToNextColumn(QTableView* grid) : QObject(grid), grid_(grid) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return QObject::eventFilter(watched, event);
        const QModelIndex at = grid_->currentIndex();
        if (at.isValid() && at.column() + 1 < grid_->model()->columnCount())
            grid_->setCurrentIndex(at.sibling(at.row(), at.column() + 1));
        return true;
    }

private:
    QTableView* grid_;
};

// Decides by the column's field name as the grid shows it now, so columns may come and go with the
// statement.
class YuanDelegate : public QStyledItemDelegate {
public:
    YuanDelegate(QStringList fields, QObject* parent) : QStyledItemDelegate(parent), fields_(std::move(fields)) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QString field = index.model()->headerData(index.column(), Qt::Horizontal).toString();
        if (!option->text.isEmpty() && fields_.contains(field)) option->text.prepend(QStringLiteral("￥"));
    }

private:
    QStringList fields_;
};

}  // namespace

ListGroup makeListGroup(QWidget* parent, db::DataSet& ds, const ListGroupSpec& setup,
                        const std::vector<ButtonSpec>& buttons)
{
    ListGroup g;
    g.box = new QGroupBox(setup.title, parent);
    auto* layout = new QVBoxLayout(g.box);
    QHBoxLayout* top = makeDataSetNavigator(g.box, ds);
    if (setup.afterMove) {
        for (int i = 0; i < top->count(); ++i)
            if (auto* b = qobject_cast<QToolButton*>(top->itemAt(i)->widget()))
                QObject::connect(b, &QToolButton::clicked, parent, [after = setup.afterMove] { app::runAction(after); });
    }
    top->addSpacing(12);
    top->addLayout(makeButtonRow(parent, buttons), 1);
    layout->addLayout(top);
    g.grid = new DataSetGrid(&ds, setup.editable, g.box);
    g.grid->setObjectName(setup.gridName);
    g.grid->dataModel()->setVisibleFields(setup.columns);
    enterMovesToNextColumn(g.grid);
    if (!setup.editPage) {
        layout->addWidget(g.grid, 1);
        return g;
    }
    g.pages = new QTabWidget(g.box);
    g.pages->addTab(g.grid, setup.listTab);
    g.pages->addTab(setup.editPage, setup.editTab);
    layout->addWidget(g.pages, 1);
    return g;
}

QWidget* makeFieldPage(QWidget* parent, RecordFields& fields, const std::vector<app::EditorField>& list,
                       int columns)
{
    auto* page = new QWidget(parent);
    auto* grid = new QGridLayout(page);
    int row = 0, column = 0;
    for (const app::EditorField& f : list) {
        const bool wide = f.kind == app::EditorFieldKind::Memo;
        if (wide && column > 0) ++row, column = 0;
        QWidget* w = fields.add(f.column, f.kind, f.key);
        w->setParent(page);
        grid->addWidget(new QLabel(QString::fromStdString(f.column), page), row, column * 2);
        grid->addWidget(w, row, column * 2 + 1, 1, wide ? columns * 2 - 1 : 1);
        if (wide || ++column == columns) ++row, column = 0;
    }
    grid->setRowStretch(row + 1, 1);
    return page;
}

void enterMovesToNextColumn(QTableView* grid) { grid->installEventFilter(new EnterToNextColumn(grid)); }

void showWithYuanSign(DataSetGrid* grid, const QStringList& fields)
{
    grid->setItemDelegate(new YuanDelegate(fields, grid));
}

void enableButtons(QWidget* window, const std::vector<const char*>& objectNames, bool on)
{
    for (const char* name : objectNames)
        if (auto* b = window->findChild<QPushButton*>(QString::fromUtf8(name))) b->setEnabled(on);
}

}  // namespace rsgz::widgets
