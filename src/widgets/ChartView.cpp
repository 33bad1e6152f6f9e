#include "widgets/ChartView.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHorizontalStackedBarSeries>
#include <QPieSeries>
#include <QSaveFile>
#include <QValueAxis>
#include <QVBoxLayout>

#include "query/PersonnelStatistics.h"

namespace rsgz::widgets {

namespace {

QColor seriesColour(int i)
{
    static const QColor colours[] = {QColor(0x2f, 0x6f, 0xae), QColor(0x2e, 0x86, 0x5f), QColor(0xd0, 0x8a, 0x2c),
                                     QColor(0x6e, 0x5a, 0x94), QColor(0xc0, 0x4f, 0x4f), QColor(0x3a, 0x9d, 0xa8),
                                     QColor(0x8a, 0x8f, 0x3a), QColor(0x9b, 0x5a, 0x7c)};
    return colours[i % 8];
}

QString titleOf(ChartView::Kind kind)
{
    switch (kind) {
    case ChartView::Kind::Pie: return QStringLiteral("饼状图");
    case ChartView::Kind::Column: return QStringLiteral("柱状图");
    case ChartView::Kind::Bar: return QStringLiteral("条状图");
    }
    return {};
}

std::vector<query::StatisticsRow> rowsOf(const db::DataSet& list)
{
    std::vector<query::StatisticsRow> rows;
    if (!list.active()) return rows;
    const int label = list.fieldIndex("统计类别");
    const int value = list.fieldIndex("人数");
    if (label < 0 || value < 0) return rows;
    for (int r = 0; r < list.rowCount(); ++r)
        rows.push_back({list.valueAt(r, label).toString(), list.valueAt(r, value).toInt()});
    return rows;
}

void addPie(QChart* chart, const std::vector<query::StatisticsRow>& rows)
{
    auto* series = new QPieSeries(chart);
    for (size_t i = 0; i < rows.size(); ++i) {
        QPieSlice* slice = series->append(QString::fromStdString(rows[i].category) + QStringLiteral("  ")
                                              + QString::number(rows[i].people),
                                          static_cast<qreal>(rows[i].people));
        slice->setLabelVisible(true);
        slice->setColor(seriesColour(static_cast<int>(i)));
    }
    series->setPieSize(0.62);
    chart->addSeries(series);
    chart->legend()->hide();
}

QBarCategoryAxis* categoryAxis(const std::vector<query::StatisticsRow>& rows, QChart* chart)
{
    auto* axis = new QBarCategoryAxis(chart);
    for (const query::StatisticsRow& r : rows) axis->append(QString::fromStdString(r.category));
    return axis;
}

QValueAxis* countAxis(const std::vector<query::StatisticsRow>& rows, QChart* chart)
{
    int64_t most = 0;
    for (const query::StatisticsRow& r : rows) most = std::max(most, r.people);
    auto* axis = new QValueAxis(chart);
    axis->setRange(0, static_cast<qreal>(most) * 1.1 + 1);
    axis->applyNiceNumbers();
    axis->setLabelFormat(QStringLiteral("%d"));
    return axis;
}

void addColumns(QChart* chart, const std::vector<query::StatisticsRow>& rows)
{
    auto* set = new QBarSet(QStringLiteral("人数"));
    set->setColor(seriesColour(0));
    set->setLabelColor(QColor(0x1f, 0x3b, 0x5a));
    for (const query::StatisticsRow& r : rows) set->append(static_cast<qreal>(r.people));
    auto* series = new QBarSeries(chart);
    series->append(set);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    chart->addSeries(series);
    QBarCategoryAxis* categories = categoryAxis(rows, chart);
    // Long or many names lean so that none is cut off by its neighbour.
    if (rows.size() > 6) categories->setLabelsAngle(-45);
    chart->addAxis(categories, Qt::AlignBottom);
    chart->addAxis(countAxis(rows, chart), Qt::AlignLeft);
    series->attachAxis(categories);
    series->attachAxis(chart->axes(Qt::Vertical).first());
    chart->legend()->hide();
}

// One set per category, each holding only its own bar: every bar gets its own colour and stays at
// its own place on the axis.
void addBars(QChart* chart, const std::vector<query::StatisticsRow>& rows)
{
    auto* series = new QHorizontalStackedBarSeries(chart);
    for (size_t i = 0; i < rows.size(); ++i) {
        auto* set = new QBarSet(QString::fromStdString(rows[i].category));
        set->setColor(seriesColour(static_cast<int>(i)));
        for (size_t j = 0; j < rows.size(); ++j) set->append(i == j ? static_cast<qreal>(rows[i].people) : 0.0);
        series->append(set);
    }
    series->setBarWidth(0.7);
    chart->addSeries(series);
    QBarCategoryAxis* categories = categoryAxis(rows, chart);
    categories->setReverse(true);  // the first category on top, as in the table
    chart->addAxis(categories, Qt::AlignLeft);
    chart->addAxis(countAxis(rows, chart), Qt::AlignBottom);
    series->attachAxis(categories);
    series->attachAxis(chart->axes(Qt::Horizontal).first());
    chart->legend()->hide();
}

}  // namespace

ChartView::ChartView(db::DataSet* list, Kind kind, QWidget* parent) : QWidget(parent), list_(list), kind_(kind)
{
    setObjectName(QStringLiteral("chart_") + titleOf(kind));
    chart_ = new QChart;
    chart_->setTitle(titleOf(kind));
    QFont title = chart_->titleFont();
    title.setPointSizeF(title.pointSizeF() * 1.3);
    title.setBold(true);
    chart_->setTitleFont(title);
    view_ = new QChartView(chart_, this);
    view_->setRenderHint(QPainter::Antialiasing);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    list_->addListener(this);
    rebuild();
}

ChartView::~ChartView() { list_->removeListener(this); }

void ChartView::rebuild()
{
    chart_->removeAllSeries();
    for (QAbstractAxis* axis : chart_->axes()) {
        chart_->removeAxis(axis);
        delete axis;
    }
    const std::vector<query::StatisticsRow> rows = query::chartRows(rowsOf(*list_), kShownCategories);
    if (rows.empty()) return;
    switch (kind_) {
    case Kind::Pie: addPie(chart_, rows); break;
    case Kind::Column: addColumns(chart_, rows); break;
    case Kind::Bar: addBars(chart_, rows); break;
    }
}

bool ChartView::savePng(const QString& path)
{
    const QPixmap picture = view_->grab();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (!picture.save(&file, "PNG")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace rsgz::widgets
