#pragma once
#include <QWidget>

#include "db/DataSet.h"

namespace rsgz::ui {

// A simple chart over a statistics list: one slice or bar per row, sized by 人数 and labelled with
// 统计类别. It redraws whenever the list is opened or changed.
class ChartView : public QWidget, private db::DataSetListener {
    Q_OBJECT
public:
    enum class Kind { Pie, Column, Bar };
    ChartView(db::DataSet* list, Kind kind, QWidget* parent = nullptr);
    ~ChartView() override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    struct Item {
        QString label;
        double value = 0;
    };
    QList<Item> items() const;
    void drawPie(QPainter& p, const QRectF& area, const QList<Item>& items);
    void drawColumns(QPainter& p, const QRectF& area, const QList<Item>& items);
    void drawBars(QPainter& p, const QRectF& area, const QList<Item>& items);
    void dataSetReset(db::DataSet&) override { update(); }
    void rowChanged(db::DataSet&, int) override { update(); }
    void rowInserted(db::DataSet&, int) override { update(); }
    void rowRemoved(db::DataSet&, int) override { update(); }

    db::DataSet* list_;
    Kind kind_;
};

}  // namespace rsgz::ui
