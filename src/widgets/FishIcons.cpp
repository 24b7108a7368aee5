#include "FishIcons.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vestrel {

namespace {

QColor bodyColour(Fish fish)
{
    switch (fish) {
    case Fish::Green:
        return QColor(0x2e, 0xb8, 0x4a);
    case Fish::Yellow:
        return QColor(0xf2, 0xc1, 0x1d);
    case Fish::Red:
        return QColor(0xe0, 0x3a, 0x2f);
    case Fish::Transparent:
        break;
    }
    return QColor(0, 0, 0, 0);
}

} // namespace

QImage FishImage(Fish fish, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (fish == Fish::Transparent)
        return image;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Designed on a 16-pixel grid.
    p.scale(size / 16.0, size / 16.0);
    const QColor body = bodyColour(fish);
    const QColor outline = body.darker(170);
    // Tail on the left, body an ellipse, the eye near the head.
    QPainterPath tail;
    tail.moveTo(0.5, 3.5);
    tail.lineTo(5.0, 8.0);
    tail.lineTo(0.5, 12.5);
    tail.closeSubpath();
    p.setPen(QPen(outline, 1.0));
    p.setBrush(body.lighter(115));
    p.drawPath(tail);
    QLinearGradient shade(0, 3, 0, 13);
    shade.setColorAt(0, body.lighter(135));
    shade.setColorAt(1, body.darker(115));
    p.setBrush(shade);
    p.drawEllipse(QRectF(3.5, 3.5, 12.0, 9.0));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(11.0, 5.5, 3.0, 3.0));
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(12.0, 6.3, 1.5, 1.5));
    return image;
}

QIcon FishIcon(Fish fish)
{
    return QIcon(QPixmap::fromImage(FishImage(fish)));
}

} // namespace vestrel
