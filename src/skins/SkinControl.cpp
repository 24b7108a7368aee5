#include "SkinControl.h"

#include "SkinConvert.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

namespace vestrel {

TSkinControl::TSkinControl(QWidget* window)
    : QWidget(window)
    , m_transparentColor(clNone)
    , m_tolerance(clNone) {
    setObjectName(QStringLiteral("SkinControl"));
    setGeometry(window->rect());
    window->installEventFilter(this);
}

void TSkinControl::SetSkin(const QImage& picture, bool transparent, qint32 transparentColor,
                           qint32 tolerance) {
    m_picture = picture;
    m_transparent = transparent;
    m_transparentColor = transparentColor;
    m_tolerance = tolerance;
    update();
}

qint32 TSkinControl::TransparentColor() const {
    return m_transparent ? m_transparentColor : clNone;
}

qint32 TSkinControl::Tolerance() const {
    return m_transparent ? m_tolerance : clNone;
}

void TSkinControl::paintEvent(QPaintEvent*) {
    if (m_picture.isNull())
        return; // a classic skin: the window's own colour shows through
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}

// Ignored events travel on to the parent, the skinned window.
void TSkinControl::mousePressEvent(QMouseEvent* event) {
    event->ignore();
}

void TSkinControl::mouseReleaseEvent(QMouseEvent* event) {
    event->ignore();
}

bool TSkinControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

} // namespace vestrel
