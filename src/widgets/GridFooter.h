#pragma once
#include <QWidget>

class QHeaderView;
class QTableView;

namespace rsgz::widgets {

class DataSetModel;
class TotalsRowModel;

// The totals row under a grid over a dataset (app::GridTotals): a one-row strip whose sections
// stay under the grid's columns — their widths, their order, hidden columns and the horizontal
// scroll — and whose sums follow every change of the rows (a new read, a search, an edit).
class GridFooter : public QWidget {
    Q_OBJECT
public:
    GridFooter(QTableView* grid, DataSetModel* model, QWidget* parent);

    QHeaderView* row() const { return row_; }
    // What the row shows under a grid column.
    QString text(int column) const;
    // The sums read again from the rows.
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void followColumns();
    void widenForTotals();
    void followSection(int column);
    void followScroll();
    void place();
    void refreshIfSummed(int firstColumn, int lastColumn);

    QTableView* grid_;
    DataSetModel* model_;
    TotalsRowModel* totals_;
    QHeaderView* row_;
};

}  // namespace rsgz::widgets
