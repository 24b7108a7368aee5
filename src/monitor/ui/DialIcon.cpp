#include "DialIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace vestrel {

QImage DialUpImage()
{
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // The modem: a grey box in the lower half, two lights on its front.
    QLinearGradient box(0, 9, 0, 15);
    box.setColorAt(0, QColor(0xd8, 0xdc, 0xe2));
    box.setColorAt(1, QColor(0x8a, 0x92, 0x9c));
    p.setPen(QPen(QColor(0x45, 0x4b, 0x55), 1.0));
    p.setBrush(box);
    p.drawRoundedRect(QRectF(0.5, 9.5, 15.0, 5.5), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2e, 0xc0, 0x4a));
    p.drawEllipse(QRectF(10.0, 11.2, 2.2, 2.2));
    p.setBrush(QColor(0xf0, 0xa0, 0x20));
    p.drawEllipse(QRectF(12.8, 11.2, 2.2, 2.2));

    // The handset resting on it: two ear pieces joined by a curved grip.
    QPainterPath handset;
    handset.moveTo(1.0, 6.5);
    handset.cubicTo(1.0, 1.0, 15.0, 1.0, 15.0, 6.5);
    handset.lineTo(12.0, 7.8);
    handset.cubicTo(11.5, 4.8, 4.5, 4.8, 4.0, 7.8);
    handset.closeSubpath();
    p.setPen(QPen(QColor(0x10, 0x20, 0x50), 1.0));
    p.setBrush(QColor(0x2a, 0x5c, 0xc8));
    p.drawPath(handset);
    return image;
}

} // namespace vestrel
