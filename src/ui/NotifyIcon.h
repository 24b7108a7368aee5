#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QMenu;
class QSystemTrayIcon;

namespace vestrel {

class Timer;

// The icon in the desktop's notification area. A single click is told only once the
// double-click time has passed without a second one; the right button opens the popup menu.
// Where the desktop has no notification area the icon is simply never seen, and Geometry() is
// empty, so the balloons fall back to the screen's corner.
class TNotifyIcon : public QObject {
public:
    // The shell shows at most this many characters of the hint.
    static constexpr int HintLimit = 63;

    explicit TNotifyIcon(QObject* owner);
    ~TNotifyIcon() override;

    QIcon Icon() const { return m_icon; }
    void SetIcon(const QIcon& icon);
    QString Hint() const { return m_hint; }
    void SetHint(const QString& hint);
    bool IconVisible() const { return m_visible; }
    void SetIconVisible(bool on);
    void SetPopupMenu(QMenu* menu) { m_menu = menu; }
    // Puts the icon back, after the desktop's panel has restarted.
    void AddAgain();
    // The icon's place on the screen, empty when unknown.
    QRect Geometry() const;

    // For tests and for the desktop's own events.
    void LeftButtonDown();
    void LeftDoubleClick();
    void RightButtonDown();
    void MouseMove();

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void()> OnMouseMove;

private:
    QSystemTrayIcon* m_tray;
    Timer* m_clickTimer;
    QIcon m_icon;
    QString m_hint;
    bool m_visible = false;
    QPointer<QMenu> m_menu;
};

} // namespace vestrel
