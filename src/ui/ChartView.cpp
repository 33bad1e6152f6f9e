#include "ui/ChartView.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace rsgz::ui {

namespace {

QColor seriesColour(int i)
{
    static const QColor colours[] = {QColor(0x2f, 0x6f, 0xae), QColor(0x2e, 0x86, 0x5f), QColor(0xd0, 0x8a, 0x2c),
                                     QColor(0x6e, 0x5a, 0x94), QColor(0xc0, 0x4f, 0x4f), QColor(0x3a, 0x9d, 0xa8),
                                     QColor(0x8a, 0x8f, 0x3a), QColor(0x9b, 0x5a, 0x7c)};
    return colours[i % 8];
}

const char* titleOf(ChartView::Kind kind)
{
    switch (kind) {
    case ChartView::Kind::Pie: return "饼状图";
    case ChartView::Kind::Column: return "柱状图";
    case ChartView::Kind::Bar: return "条状图";
    }
    return "";
}

}  // namespace

ChartView::ChartView(db::DataSet* list, Kind kind, QWidget* parent) : QWidget(parent), list_(list), kind_(kind)
{
    list_->addListener(this);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

ChartView::~ChartView() { list_->removeListener(this); }

QList<ChartView::Item> ChartView::items() const
{
    QList<Item> result;
    if (!list_->active()) return result;
    const int label = list_->fieldIndex("统计类别");
    const int value = list_->fieldIndex("人数");
    if (label < 0 || value < 0) return result;
    for (int r = 0; r < list_->rowCount(); ++r)
        result.append({list_->valueAt(r, label).toQString(), list_->valueAt(r, value).toDouble()});
    return result;
}

void ChartView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QFont titleFont = font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    titleFont.setBold(true);
    p.setFont(titleFont);
    p.setPen(QColor(0x1f, 0x3b, 0x5a));
    const QRectF titleBox(0, 8, width(), 30);
    p.drawText(titleBox, Qt::AlignCenter, QString::fromUtf8(titleOf(kind_)));
    p.setFont(font());

    const QList<Item> data = items();
    const QRectF area = QRectF(rect()).adjusted(24, titleBox.bottom() + 12, -24, -24);
    if (data.isEmpty()) {
        p.setPen(palette().color(QPalette::PlaceholderText));
        p.drawText(area, Qt::AlignCenter, QStringLiteral("没有统计数据"));
        return;
    }
    switch (kind_) {
    case Kind::Pie: drawPie(p, area, data); break;
    case Kind::Column: drawColumns(p, area, data); break;
    case Kind::Bar: drawBars(p, area, data); break;
    }
}

void ChartView::drawPie(QPainter& p, const QRectF& area, const QList<Item>& data)
{
    double total = 0;
    for (const Item& it : data) total += std::max(0.0, it.value);
    if (total <= 0) return;
    const double d = std::min(area.width() * 0.5, area.height() * 0.72);
    const QRectF pie(area.left() + (area.width() - d) / 2, area.top() + (area.height() - d) / 2, d, d);
    double start = 90.0;
    const QFontMetricsF fm(p.font());
    for (int i = 0; i < data.size(); ++i) {
        const double span = 360.0 * std::max(0.0, data[i].value) / total;
        p.setPen(QPen(Qt::white, 1.5));
        p.setBrush(seriesColour(i));
        p.drawPie(pie, qRound(start * 16), qRound(span * 16));
        const double mid = qDegreesToRadians(start + span / 2);
        const QPointF at(pie.center().x() + std::cos(mid) * d * 0.6, pie.center().y() - std::sin(mid) * d * 0.6);
        const QString text = data[i].label + QStringLiteral(" ") + QString::number(data[i].value);
        const double w = fm.horizontalAdvance(text);
        p.setPen(QColor(0x33, 0x33, 0x33));
        p.drawText(QPointF(std::cos(mid) >= 0 ? at.x() : at.x() - w, at.y() + fm.ascent() / 2), text);
        start += span;
    }
}

void ChartView::drawColumns(QPainter& p, const QRectF& area, const QList<Item>& data)
{
    double top = 0;
    for (const Item& it : data) top = std::max(top, it.value);
    if (top <= 0) top = 1;
    const QFontMetricsF fm(p.font());
    const QRectF plot = area.adjusted(8, fm.height() + 4, -8, -(fm.height() + 8));
    p.setPen(QColor(0xb8, 0xc2, 0xcc));
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    const double slot = plot.width() / data.size();
    for (int i = 0; i < data.size(); ++i) {
        const double h = plot.height() * std::max(0.0, data[i].value) / top;
        const QRectF bar(plot.left() + slot * i + slot * 0.2, plot.bottom() - h, slot * 0.6, h);
        p.fillRect(bar, seriesColour(0));
        p.setPen(QColor(0x33, 0x33, 0x33));
        p.drawText(QRectF(bar.left() - slot * 0.2, bar.top() - fm.height() - 2, slot, fm.height()), Qt::AlignCenter,
                   QString::number(data[i].value));
        p.drawText(QRectF(plot.left() + slot * i, plot.bottom() + 4, slot, fm.height()), Qt::AlignCenter,
                   fm.elidedText(data[i].label, Qt::ElideRight, slot - 4));
    }
}

void ChartView::drawBars(QPainter& p, const QRectF& area, const QList<Item>& data)
{
    double top = 0;
    for (const Item& it : data) top = std::max(top, it.value);
    if (top <= 0) top = 1;
    const QFontMetricsF fm(p.font());
    double labelWidth = 0;
    for (const Item& it : data) labelWidth = std::max(labelWidth, fm.horizontalAdvance(it.label));
    labelWidth = std::min(labelWidth + 10, area.width() / 3);
    const QRectF plot = area.adjusted(labelWidth, 0, -8, 0);
    const double slot = std::min(plot.height() / data.size(), 40.0);
    p.setPen(QColor(0xb8, 0xc2, 0xcc));
    p.drawLine(plot.topLeft(), QPointF(plot.left(), plot.top() + slot * data.size()));
    for (int i = 0; i < data.size(); ++i) {
        const double w = plot.width() * std::max(0.0, data[i].value) / top;
        p.fillRect(QRectF(plot.left(), plot.top() + slot * i + slot * 0.18, w, slot * 0.64), seriesColour(i));
        p.setPen(QColor(0x33, 0x33, 0x33));
        p.drawText(QRectF(area.left(), plot.top() + slot * i, labelWidth - 8, slot), Qt::AlignRight | Qt::AlignVCenter,
                   fm.elidedText(data[i].label, Qt::ElideRight, labelWidth - 8));
    }
}

}  // namespace rsgz::ui
