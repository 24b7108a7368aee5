#pragma once

#include <QImage>
#include <QWidget>

namespace vestrel {

// The skin surface: fills the skinned window, paints the current skin's picture at (0, 0) and
// holds all of the window's controls. Mouse presses and releases on it go on to the window, so
// the window can be dragged by its background.
class TSkinControl : public QWidget {
    Q_OBJECT
public:
    explicit TSkinControl(QWidget* window);

    void SetSkin(const QImage& picture, bool transparent, qint32 transparentColor,
                 qint32 tolerance);
    const QImage& Picture() const { return m_picture; }
    // The current skin's values when it is transparent, otherwise clNone.
    qint32 TransparentColor() const;
    qint32 Tolerance() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QImage m_picture;
    bool m_transparent = false;
    qint32 m_transparentColor;
    qint32 m_tolerance;
};

} // namespace vestrel
