#pragma once

#include <QColor>
#include <QFrame>
#include <QPointer>

#include <functional>

class QLabel;

namespace vestrel {

class Timer;

// One note balloon: a small frameless window that stays on top near the tray icon, shows a
// text (and optionally a title) for a while, and disappears when clicked or when its time is up.
class NoteBalloon : public QFrame {
public:
    struct Look {
        QColor titleColour = QColor(0x00, 0x00, 0x80);
        QColor textColour = Qt::black;
        bool boldTitle = true;
        bool boldText = false;
    };

    // `slot` 1 is the place nearest the tray; higher slots stack above it.
    NoteBalloon(const QString& name, int slot, const Look& look, int displayMs);

    bool IsActive() const { return m_active; }
    void SetActive(bool on);
    int DisplayMs() const { return m_displayMs; }
    void SetDisplayMs(int ms) { m_displayMs = ms; }
    int Slot() const { return m_slot; }
    QString Text() const;
    QString Title() const;

    // Where the tray icon is (an empty rectangle when unknown: the screen's bottom-right corner).
    using AnchorProvider = std::function<QRect()>;
    void SetAnchor(AnchorProvider anchor) { m_anchor = std::move(anchor); }

    // Shows the text for DisplayMs; nothing when the balloon is not active or the text is blank.
    void ShowNote(const QString& text, const QString& title = {});

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void place();

    int m_slot;
    int m_displayMs;
    bool m_active = true;
    QLabel* m_title;
    QLabel* m_text;
    Timer* m_timer;
    AnchorProvider m_anchor;
};

} // namespace vestrel
