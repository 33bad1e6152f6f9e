#include "shell/DesktopArea.h"

#include <QBoxLayout>
#include <QFont>
#include <QImageReader>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QResizeEvent>

#include "app/Product.h"

namespace rsgz::shell {

DesktopArea::DesktopArea(QWidget* parent) : QScrollArea(parent), surface_(new QLabel)
{
    setObjectName(QStringLiteral("desktopArea"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    surface_->setObjectName(QStringLiteral("desktopPicture"));
    surface_->setAlignment(Qt::AlignCenter);
    surface_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    setWidget(surface_);
}

bool DesktopArea::loadPicture(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) return false;
    picture_ = QPixmap::fromImage(image);
    render();
    return true;
}

void DesktopArea::setOverlay(QWidget* w)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(w, 0, Qt::AlignTop);
    auto* column = new QVBoxLayout(surface_);
    column->setContentsMargins(24, 24, 24, 24);
    column->addLayout(row);
    column->addStretch(1);
}

void DesktopArea::resizeEvent(QResizeEvent* e)
{
    QScrollArea::resizeEvent(e);
    render();
}

// A chosen picture is stretched over the whole area, as the desktop of the program always was.
void DesktopArea::render()
{
    const QSize area = viewport()->size();
    if (area.isEmpty()) return;
    if (picture_.isNull()) {
        surface_->setPixmap(builtInPicture(area));
        return;
    }
    surface_->setPixmap(picture_.scaled(area, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

QPixmap DesktopArea::builtInPicture(const QSize& size)
{
    QPixmap pm(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF r(QPointF(0, 0), size);

    // A quiet sky: pale blue at the top fading to near-white.
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, QColor(0xdd, 0xe8, 0xf3));
    sky.setColorAt(1, QColor(0xf7, 0xf9, 0xfc));
    p.fillRect(r, sky);

    // Soft overlapping hills along the bottom.
    const double w = r.width(), h = r.height();
    const QColor hills[] = {QColor(47, 111, 174, 40), QColor(46, 134, 95, 36), QColor(47, 111, 174, 60)};
    for (int i = 0; i < 3; ++i) {
        QPainterPath path;
        const double base = h * (0.74 + 0.07 * i);
        path.moveTo(0, base);
        path.cubicTo(w * (0.25 + 0.1 * i), base - h * 0.16, w * (0.55 - 0.05 * i), base + h * 0.12, w, base - h * 0.05);
        path.lineTo(w, h);
        path.lineTo(0, h);
        path.closeSubpath();
        p.fillPath(path, hills[i]);
    }
    // A faint sun behind the title.
    QRadialGradient sun(QPointF(w * 0.72, h * 0.30), h * 0.35);
    sun.setColorAt(0, QColor(255, 255, 255, 180));
    sun.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(r, sun);

    QFont title(QStringLiteral("WenQuanYi Micro Hei"));
    title.setPixelSize(std::max(24, static_cast<int>(h * 0.075)));
    title.setBold(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, title.pixelSize() * 0.12);
    p.setFont(title);
    const QRectF titleBox(w * 0.08, h * 0.24, w * 0.84, title.pixelSize() * 1.6);
    p.setPen(QColor(0x1f, 0x3b, 0x5a));
    p.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(app::kProductTitle));

    QFont sub = title;
    sub.setBold(false);
    sub.setPixelSize(std::max(13, title.pixelSize() / 3));
    sub.setLetterSpacing(QFont::AbsoluteSpacing, sub.pixelSize() * 0.3);
    p.setFont(sub);
    p.setPen(QColor(0x4a, 0x63, 0x7d));
    const QRectF subBox(titleBox.left() + 2, titleBox.bottom() + sub.pixelSize() * 0.4, titleBox.width(), sub.pixelSize() * 1.8);
    p.drawText(subBox, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("人事管理 · 工资管理 · 系统管理"));
    p.setPen(QPen(QColor(0x2f, 0x6f, 0xae), 3));
    p.drawLine(QPointF(subBox.left(), titleBox.bottom() + 1), QPointF(subBox.left() + w * 0.12, titleBox.bottom() + 1));

    QFont small = sub;
    small.setLetterSpacing(QFont::AbsoluteSpacing, 0);
    small.setPixelSize(12);
    p.setFont(small);
    p.setPen(QColor(0x5c, 0x6b, 0x7a));
    p.drawText(r.adjusted(0, 0, -16, -10), Qt::AlignRight | Qt::AlignBottom, QString::fromUtf8(app::kVersionLabel));
    return pm;
}

}  // namespace rsgz::shell
