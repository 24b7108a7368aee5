#include "NoteBalloon.h"

#include "common/StringHelpers.h"
#include "common/Timer.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Margin = 8;
constexpr int MaxTextWidth = 420;

} // namespace

NoteBalloon::NoteBalloon(const QString& name, int slot, const Look& look, int displayMs)
    : QFrame(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus),
      m_slot(slot), m_displayMs(displayMs), m_title(new QLabel(this)), m_text(new QLabel(this)),
      m_timer(new Timer(this, name + u"Timer"_s, displayMs))
{
    setObjectName(name);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFrameShape(QFrame::Box);
    setStyleSheet(u"NoteBalloon { background: #ffffe1; border: 1px solid #767676; }"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 8);
    layout->setSpacing(3);
    QFont titleFont = font();
    titleFont.setBold(look.boldTitle);
    m_title->setFont(titleFont);
    m_title->setStyleSheet(u"color: "_s + look.titleColour.name());
    QFont textFont = font();
    textFont.setBold(look.boldText);
    m_text->setFont(textFont);
    m_text->setStyleSheet(u"color: "_s + look.textColour.name());
    m_text->setTextFormat(Qt::PlainText);
    m_title->setTextFormat(Qt::PlainText);
    m_text->setMaximumWidth(MaxTextWidth);
    layout->addWidget(m_title);
    layout->addWidget(m_text);
    m_title->hide();
    QObject::connect(m_timer, &Timer::timeout, this, [this] {
        m_timer->stop();
        hide();
    });
}

void NoteBalloon::SetActive(bool on)
{
    m_active = on;
    if (!on) {
        m_timer->stop();
        hide();
    }
}

QString NoteBalloon::Text() const
{
    return m_text->text();
}

QString NoteBalloon::Title() const
{
    return m_title->text();
}

void NoteBalloon::ShowNote(const QString& text, const QString& title)
{
    if (!m_active || text.trimmed().isEmpty() || m_displayMs <= 0)
        return;
    m_title->setText(title);
    m_title->setVisible(!title.isEmpty());
    const QString lines = ScreenLines(text).trimmed();
    m_text->setText(lines);
    // Short notes stay on their lines; only a line wider than the balloon may wrap.
    int widest = 0;
    for (const QString& line : lines.split(u'\n'))
        widest = qMax(widest, m_text->fontMetrics().horizontalAdvance(line));
    m_text->setWordWrap(widest > MaxTextWidth);
    m_text->setMinimumWidth(qMin(widest, MaxTextWidth));
    adjustSize();
    place();
    show();
    raise();
    m_timer->stop();
    m_timer->setInterval(m_displayMs);
    m_timer->start();
}

void NoteBalloon::mousePressEvent(QMouseEvent*)
{
    m_timer->stop();
    hide();
}

void NoteBalloon::place()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect desk = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    QRect anchor = m_anchor ? m_anchor() : QRect();
    if (!anchor.isValid() || !desk.intersects(anchor))
        anchor = QRect(desk.right() - 1, desk.bottom() - 1, 1, 1);
    // Stack upwards from the tray when it is at the bottom, downwards when it is at the top.
    const bool trayAtTop = anchor.center().y() < desk.center().y();
    const int step = (height() + Margin) * (m_slot - 1);
    int x = qMin(anchor.right(), desk.right() - Margin) - width();
    int y = trayAtTop ? anchor.bottom() + Margin + step : anchor.top() - Margin - height() - step;
    x = qBound(desk.left(), x, desk.right() - width());
    y = qBound(desk.top(), y, desk.bottom() - height());
    move(x, y);
}

} // namespace vestrel
