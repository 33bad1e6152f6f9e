#include "widgets/GridFooter.h"

#include <QAbstractTableModel>
#include <QEvent>
#include <QFont>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

#include "app/GridTotals.h"
#include "widgets/DataSetModel.h"

namespace rsgz::widgets {

// The texts of the totals row as the sections of a header: one section per grid column, no rows.
class TotalsRowModel : public QAbstractTableModel {
public:
    explicit TotalsRowModel(DataSetModel* grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid) {}

    void read()
    {
        std::vector<int> fields;
        for (int c = 0; c < grid_->columnCount(); ++c) fields.push_back(grid_->fieldIndexOfColumn(c));
        const app::GridTotals totals = app::gridTotals(*grid_->dataSet(), fields);
        const std::vector<std::string> texts = totals.texts();
        QStringList shown;
        summed_.assign(texts.size(), false);
        for (size_t c = 0; c < texts.size(); ++c) {
            shown << QString::fromStdString(texts[c]);
            summed_[c] = totals.sums[c].has_value();
        }
        if (shown.size() != texts_.size()) {
            beginResetModel();
            texts_ = shown;
            endResetModel();
        } else if (!texts_.isEmpty()) {
            // Also when only the grid's alignment of a column changed: the sums stand where it says.
            texts_ = shown;
            emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(texts_.size()) - 1);
        }
    }
    bool summed(int column) const { return column >= 0 && static_cast<size_t>(column) < summed_.size() && summed_[column]; }
    QString text(int column) const { return texts_.value(column); }

    int rowCount(const QModelIndex& = {}) const override { return 0; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : static_cast<int>(texts_.size()); }
    QVariant data(const QModelIndex&, int) const override { return {}; }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (o != Qt::Horizontal || section < 0 || section >= texts_.size()) return {};
        switch (role) {
        case Qt::DisplayRole: return texts_[section];
        case Qt::TextAlignmentRole:
            // The sums stand where the amounts above them stand.
            return QVariant::fromValue(Qt::AlignVCenter | (summed(section) ? grid_->alignment(section) : Qt::AlignHCenter));
        case Qt::FontRole: {
            QFont f;
            f.setBold(true);
            return f;
        }
        default: return {};
        }
    }

private:
    DataSetModel* grid_;
    QStringList texts_;
    std::vector<bool> summed_;
};

GridFooter::GridFooter(QTableView* grid, DataSetModel* model, QWidget* parent)
    : QWidget(parent), grid_(grid), model_(model), totals_(new TotalsRowModel(model, this)),
      row_(new QHeaderView(Qt::Horizontal, this))
{
    setObjectName(QStringLiteral("gridFooter"));
    row_->setObjectName(QStringLiteral("gridFooterRow"));
    row_->setModel(totals_);
    row_->setSectionsClickable(false);
    row_->setSectionsMovable(false);
    row_->setHighlightSections(false);
    row_->setSectionResizeMode(QHeaderView::Fixed);
    row_->setStretchLastSection(false);
    row_->setMinimumSectionSize(0);

    QHeaderView* header = grid_->horizontalHeader();
    connect(header, &QHeaderView::sectionResized, this, [this](int column) { followSection(column); });
    connect(header, &QHeaderView::sectionMoved, this, [this] { followColumns(); });
    connect(header, &QHeaderView::sectionCountChanged, this, [this] { followColumns(); });
    connect(header, &QHeaderView::geometriesChanged, this, [this] { place(); });
    connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { followScroll(); });
    connect(grid_->horizontalScrollBar(), &QScrollBar::rangeChanged, this, [this] { followScroll(); });
    grid_->installEventFilter(this);
    grid_->viewport()->installEventFilter(this);

    // Connected after the grid's own header: the grid has its new columns when the row follows.
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { refresh(); });
    connect(model_, &QAbstractItemModel::rowsInserted, this, [this] { refresh(); });
    connect(model_, &QAbstractItemModel::rowsRemoved, this, [this] { refresh(); });
    connect(model_, &QAbstractItemModel::layoutChanged, this, [this] { refresh(); });
    connect(model_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to) { refreshIfSummed(from.column(), to.column()); });
    refresh();
}

QString GridFooter::text(int column) const { return totals_->text(column); }

void GridFooter::refresh()
{
    totals_->read();
    setFixedHeight(std::max(row_->sizeHint().height(), grid_->verticalHeader()->defaultSectionSize()));
    widenForTotals();
    // A new read gives the grid's header its sections afresh (order and hidden ones too) without
    // saying so section by section.
    followColumns();
}

// A total is wider than the amounts above it: a column too narrow for its total is widened, so that
// no total is shown with its first digits cut off.
void GridFooter::widenForTotals()
{
    QHeaderView* header = grid_->horizontalHeader();
    const int n = std::min(header->count(), row_->count());
    for (int column = 0; column < n; ++column) {
        if (!totals_->summed(column) || header->isSectionHidden(column)) continue;
        const int needed = row_->sectionSizeHint(column);
        if (header->sectionSize(column) < needed) header->resizeSection(column, needed);
    }
}

// The row number column changes with every move of the cursor; only a change of an amount
// changes a sum.
void GridFooter::refreshIfSummed(int firstColumn, int lastColumn)
{
    for (int c = firstColumn; c <= lastColumn; ++c) {
        if (totals_->summed(c)) {
            refresh();
            return;
        }
    }
}

void GridFooter::followColumns()
{
    QHeaderView* header = grid_->horizontalHeader();
    const int n = std::min(header->count(), row_->count());
    for (int visual = 0; visual < n; ++visual) {
        const int column = header->logicalIndex(visual);
        if (column >= 0 && column < row_->count() && row_->visualIndex(column) != visual)
            row_->moveSection(row_->visualIndex(column), visual);
    }
    for (int column = 0; column < n; ++column) followSection(column);
    followScroll();
    place();
}

void GridFooter::followSection(int column)
{
    if (column < 0 || column >= row_->count()) return;
    QHeaderView* header = grid_->horizontalHeader();
    const bool hidden = header->isSectionHidden(column);
    if (row_->isSectionHidden(column) != hidden) row_->setSectionHidden(column, hidden);
    if (!hidden && row_->sectionSize(column) != header->sectionSize(column)) row_->resizeSection(column, header->sectionSize(column));
    followScroll();
}

void GridFooter::followScroll()
{
    const int offset = grid_->horizontalHeader()->offset();
    if (row_->offset() != offset) row_->setOffset(offset);
}

// The row spans exactly the grid's cell area: it starts after the row indicator column and ends
// before the vertical scroll bar, so its sections lie under the grid's columns.
void GridFooter::place()
{
    QWidget* cells = grid_->viewport();
    QWidget* top = window();
    if (cells->window() != top) return;
    const int x = mapFrom(top, cells->mapTo(top, QPoint(0, 0))).x();
    row_->setGeometry(x, 0, cells->width(), height());
    followScroll();
}

bool GridFooter::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == grid_ || watched == grid_->viewport()) &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Move || event->type() == QEvent::Show))
        place();
    return QWidget::eventFilter(watched, event);
}

void GridFooter::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    place();
}

}  // namespace rsgz::widgets
