#include "shell/WorkListPages.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/DataSet.h"
#include "db/Money.h"
#include "payroll/WorkListForm.h"
#include "widgets/DataSetModel.h"
#include "shell/ModulePanel.h"
#include "widgets/QtStrings.h"

namespace rsgz::shell {

namespace {

const char* const kAddButton = "增加";

// Quantities and hours with the "0.00" pattern; decided by the column's field name as the grid
// shows it now.
class TwoDecimalsDelegate : public QStyledItemDelegate {
public:
    TwoDecimalsDelegate(QStringList fields, QObject* parent) : QStyledItemDelegate(parent), fields_(std::move(fields)) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QString field = index.model()->headerData(index.column(), Qt::Horizontal).toString();
        if (option->text.isEmpty() || !fields_.contains(field)) return;
        bool ok = false;
        const double v = QLocale::c().toDouble(option->text, &ok);
        db::Money m;
        if (ok && db::Money::fromDoubleChecked(v, &m)) option->text = QString::fromStdString(m.toString(2));
    }

private:
    QStringList fields_;
};

// The edit window from the grid: a double-click beside the rows of an empty list, and Enter on the
// grid, open it (on a new row when the list is empty); a double-click on a row is the panel's own.
class GridOpener : public QObject {
public:
    GridOpener(db::DataSet& list, std::string caption, QTableView* grid)
        : QObject(grid), list_(list), caption_(std::move(caption)), grid_(grid)
    {
        grid->installEventFilter(this);
        grid->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonDblClick && list_.active() &&
            list_.isEmpty()) {
            app::interaction().openWindow(caption_);
            return true;
        }
        if (watched == grid_ && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                app::interaction().openWindow(caption_);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    db::DataSet& list_;
    std::string caption_;
    QTableView* grid_;
};

QStringList names(const std::vector<std::string>& fields) { return widgets::toQStringList(fields); }

}  // namespace

void installWorkListPage(app::TDM& dm, ModulePanel* panel, const payroll::WorkListKind& kind)
{
    QTableView* grid = panel->grid();
    grid->setItemDelegate(new TwoDecimalsDelegate(names(kind.quantities), grid));
    db::DataSet& list = *dm.dataSet(kind.dataSet);
    new GridOpener(list, kind.caption, grid);

    auto* add = new QPushButton(QString::fromUtf8(kAddButton), panel);
    add->setObjectName(QString::fromUtf8(kAddButton));
    panel->addToTopBar(add);
    QObject::connect(add, &QPushButton::clicked, add, [&dm, &kind, &list] {
        // The row is begun here, its employee picked, and the window opens on it.
        payroll::WorkListForm form(dm, kind);
        if (!form.mayChange()) return;
        app::runAction([&] {
            if (list.active() && list.isEditing()) list.post();
            form.add();
        });
        if (list.active() && list.isEditing()) app::interaction().openWindow(kind.caption);
    });
}

void openWorkListPage(app::TDM& dm, ModulePanel* panel, const payroll::WorkListKind& kind)
{
    panel->model()->setVisibleFields(names(kind.listColumns));
    if (auto* add = panel->findChild<QPushButton*>(QString::fromUtf8(kAddButton)))
        add->setEnabled(payroll::WorkListForm(dm, kind).mayChange());
}

}  // namespace rsgz::shell
