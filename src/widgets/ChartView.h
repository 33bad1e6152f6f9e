#pragma once
#include <QWidget>

#include "db/DataSet.h"

QT_BEGIN_NAMESPACE
class QChart;
class QChartView;
QT_END_NAMESPACE

namespace rsgz::widgets {

// A chart over a statistics list: one slice or bar per row, sized by 人数 and labelled with
// 统计类别. It is rebuilt whenever the list is opened or changed. Many small categories are
// folded into 其他 so that every label stays readable.
class ChartView : public QWidget, private db::DataSetListener {
    Q_OBJECT
public:
    enum class Kind { Pie, Column, Bar };
    ChartView(db::DataSet* list, Kind kind, QWidget* parent = nullptr);
    ~ChartView() override;

    // Categories shown before the smallest are folded into 其他.
    static constexpr size_t kShownCategories = 15;
    // The chart as a PNG picture (written to a temporary file, then renamed). False on failure.
    bool savePng(const QString& path);
    QChart* chart() const { return chart_; }

private:
    void rebuild();
    void dataSetReset(db::DataSet&) override { rebuild(); }
    void rowChanged(db::DataSet&, int) override { rebuild(); }
    void rowRemoved(db::DataSet&, int) override { rebuild(); }

    db::DataSet* list_;
    Kind kind_;
    QChart* chart_ = nullptr;
    QChartView* view_ = nullptr;
};

}  // namespace rsgz::widgets
