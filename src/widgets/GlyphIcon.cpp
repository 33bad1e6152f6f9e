#include "widgets/GlyphIcon.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace rsgz::widgets {

namespace {

QPixmap drawTile(const QString& glyph, const QColor& tile, int size, bool active)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF r(1, 1, size - 2, size - 2);
    QPainterPath path;
    path.addRoundedRect(r, size * 0.22, size * 0.22);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    const QColor base = active ? tile.lighter(112) : tile;
    g.setColorAt(0, base.lighter(118));
    g.setColorAt(1, base.darker(108));
    p.fillPath(path, g);
    p.setPen(QPen(base.darker(125), 1));
    p.drawPath(path);
    QFont f(QStringLiteral("WenQuanYi Micro Hei"));
    f.setPixelSize(static_cast<int>(size * 0.52));
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, glyph);
    return pm;
}

}  // namespace

QIcon glyphIcon(const QString& glyph, const QColor& tile)
{
    QIcon icon;
    for (int size : {16, 24, 32, 40, 48}) {
        icon.addPixmap(drawTile(glyph, tile, size, false), QIcon::Normal);
        icon.addPixmap(drawTile(glyph, tile, size, true), QIcon::Active);
    }
    return icon;
}

}  // namespace rsgz::widgets
