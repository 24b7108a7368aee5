#include "NotifyIcon.h"

#include "common/Timer.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QStyleHints>
#include <QSystemTrayIcon>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

TNotifyIcon::TNotifyIcon(QObject* owner)
    : QObject(owner), m_tray(new QSystemTrayIcon(this)),
      m_clickTimer(new Timer(this, u"FTimerNotifyIcon"_s, QGuiApplication::styleHints()->mouseDoubleClickInterval()))
{
    m_icon = QApplication::windowIcon();
    QObject::connect(m_clickTimer, &Timer::timeout, this, [this] {
        m_clickTimer->stop();
        if (OnClick)
            OnClick();
    });
    QObject::connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        switch (reason) {
        case QSystemTrayIcon::Trigger:
            LeftButtonDown();
            break;
        case QSystemTrayIcon::DoubleClick:
            LeftDoubleClick();
            break;
        case QSystemTrayIcon::Context:
            RightButtonDown();
            break;
        default:
            break;
        }
    });
}

TNotifyIcon::~TNotifyIcon()
{
    m_tray->hide();
}

void TNotifyIcon::SetIcon(const QIcon& icon)
{
    m_icon = icon;
    m_tray->setIcon(icon);
}

void TNotifyIcon::SetHint(const QString& hint)
{
    m_hint = hint;
    m_tray->setToolTip(hint.left(HintLimit));
}

void TNotifyIcon::SetIconVisible(bool on)
{
    m_visible = on;
    if (on) {
        m_tray->setIcon(m_icon);
        m_tray->setToolTip(m_hint.left(HintLimit));
    }
    m_tray->setVisible(on);
}

void TNotifyIcon::AddAgain()
{
    if (m_visible && QSystemTrayIcon::isSystemTrayAvailable() && !m_tray->isVisible())
        m_tray->show();
}

QRect TNotifyIcon::Geometry() const
{
    return m_visible ? m_tray->geometry() : QRect();
}

void TNotifyIcon::LeftButtonDown()
{
    m_clickTimer->stop();
    m_clickTimer->start();
}

void TNotifyIcon::LeftDoubleClick()
{
    m_clickTimer->stop();
    if (OnDblClick)
        OnDblClick();
}

void TNotifyIcon::RightButtonDown()
{
    if (m_menu)
        m_menu->popup(QCursor::pos());
}

void TNotifyIcon::MouseMove()
{
    if (OnMouseMove)
        OnMouseMove();
}

} // namespace vestrel
