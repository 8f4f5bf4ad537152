#include "uikit/NavigationIcons.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace {

QPixmap drawIcon(int index, int size, const QColor& color)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    const qreal s = size / 16.0;
    const bool pointsLeft = index <= 1;
    const bool withBar = index == 0 || index == 3;
    // triangle 7 units wide, 10 high, centred with room for the bar
    const qreal barWidth = withBar ? 2 : 0;
    const qreal gap = withBar ? 1 : 0;
    const qreal total = 7 + barWidth + gap;
    qreal x = (16 - total) / 2;
    const auto bar = [&](qreal at) { p.drawRect(QRectF(at * s, 3 * s, barWidth * s, 10 * s)); };
    if (withBar && pointsLeft) {
        bar(x);
        x += barWidth + gap;
    }
    QPolygonF triangle;
    if (pointsLeft)
        triangle << QPointF((x + 7) * s, 3 * s) << QPointF((x + 7) * s, 13 * s) << QPointF(x * s, 8 * s);
    else
        triangle << QPointF(x * s, 3 * s) << QPointF(x * s, 13 * s) << QPointF((x + 7) * s, 8 * s);
    p.drawPolygon(triangle);
    if (withBar && !pointsLeft)
        bar(x + 7 + gap);
    return pixmap;
}

} // namespace

QIcon navigationIcon(int index)
{
    QIcon icon;
    for (int size : {16, 32}) {
        icon.addPixmap(drawIcon(index, size, QColor(0, 0, 0)), QIcon::Normal);
        icon.addPixmap(drawIcon(index, size, QColor(160, 160, 160)), QIcon::Disabled);
    }
    return icon;
}
