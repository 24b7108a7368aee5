#include "DialAnimation.h"

#include <QPainter>
#include <QTimerEvent>

#include <algorithm>

namespace vestrel {

namespace {

// A desktop computer, its screen lit when `lit`, standing in `r`.
void drawComputer(QPainter& p, const QRectF& r, bool lit)
{
    const QRectF screen(r.left(), r.top(), r.width(), r.height() * 0.68);
    p.setPen(QPen(QColor(0x40, 0x44, 0x4c), 1.0));
    p.setBrush(QColor(0xe4, 0xe6, 0xea));
    p.drawRoundedRect(screen, 2, 2);
    p.setBrush(lit ? QColor(0x3a, 0x78, 0xd8) : QColor(0x24, 0x3a, 0x5a));
    p.drawRect(screen.adjusted(3, 3, -3, -3));
    const double baseTop = screen.bottom() + 2;
    p.setBrush(QColor(0xc8, 0xcc, 0xd2));
    p.drawRect(QRectF(r.center().x() - 3, screen.bottom(), 6, 2));
    p.drawRoundedRect(QRectF(r.left() - 2, baseTop, r.width() + 4, r.bottom() - baseTop), 1.5, 1.5);
}

} // namespace

TDialAnimation::TDialAnimation(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Animate"));
    setMinimumSize(160, 40);
}

void TDialAnimation::SetActive(bool on)
{
    if (on == Active())
        return;
    if (on) {
        m_timerId = startTimer(FrameMs);
    } else {
        killTimer(m_timerId);
        m_timerId = 0;
    }
    update();
}

void TDialAnimation::SetFrame(int frame)
{
    m_frame = ((frame % FrameCount) + FrameCount) % FrameCount;
    update();
}

void TDialAnimation::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_timerId)
        SetFrame(m_frame + 1);
    else
        QWidget::timerEvent(event);
}

void TDialAnimation::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double h = std::min(height() - 2.0, 40.0);
    const double w = h * 1.05;
    const double top = (height() - h) / 2.0;
    const QRectF left(6, top, w, h);
    const QRectF right(width() - 6 - w, top, w, h);
    drawComputer(p, left, true);
    drawComputer(p, right, Active());

    // The line between the screens, with a dot at every step; the lit ones run left to right.
    const double y = top + h * 0.34;
    const double x0 = left.right() + 8;
    const double x1 = right.left() - 8;
    const int dots = FrameCount;
    const double step = (x1 - x0) / (dots - 1);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < dots; ++i) {
        const bool lit = Active() && (i == m_frame || i + 1 == m_frame);
        p.setBrush(lit ? QColor(0x2e, 0xb8, 0x4a) : QColor(0xb8, 0xbc, 0xc4));
        const double r = lit ? 3.0 : 2.0;
        p.drawEllipse(QPointF(x0 + i * step, y), r, r);
    }
}

} // namespace vestrel
