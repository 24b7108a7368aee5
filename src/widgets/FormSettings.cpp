#include "FormSettings.h"

#include "common/Registry.h"
#include "common/VestrelError.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

QString sectionOf(const QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize(0, 0);
    return u"Settings\\"_s + window->objectName() + u"\\"_s + QString::number(size.width()) + u"x"_s +
           QString::number(size.height());
}

} // namespace

TFormSettings::TFormSettings(QWidget* window)
    : QObject(window), m_window(window), m_section(sectionOf(window)),
      m_sizeable(window->minimumSize() != window->maximumSize())
{
    const QRect designed = window->geometry();
    m_loaded.setTop(ReadRegInteger(m_section, u"Top"_s, 20));
    m_loaded.setLeft(ReadRegInteger(m_section, u"Left"_s, 20));
    if (m_sizeable) {
        m_loaded.setWidth(ReadRegInteger(m_section, u"Width"_s, designed.width()));
        m_loaded.setHeight(ReadRegInteger(m_section, u"Height"_s, designed.height()));
        window->setGeometry(m_loaded);
    } else {
        m_loaded.setSize(designed.size());
        window->move(m_loaded.topLeft());
    }
    m_current = m_loaded;
    // Moves and resizes are followed as they happen, so the values are at hand when the window's
    // destruction deletes this object.
    window->installEventFilter(this);
}

TFormSettings::~TFormSettings()
{
    save();
}

bool TFormSettings::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        m_current = QRect(m_window->pos(), m_window->size());
    return false;
}

void TFormSettings::save()
{
    if (m_saved)
        return;
    m_saved = true;
    // A hidden window gets no move events; its geometry is current while it exists.
    if (m_window)
        m_current = QRect(m_window->pos(), m_window->size());
    if (m_current.top() != m_loaded.top())
        WriteRegInteger(m_section, u"Top"_s, m_current.top());
    if (m_current.left() != m_loaded.left())
        WriteRegInteger(m_section, u"Left"_s, m_current.left());
    if (!m_sizeable)
        return;
    if (m_current.width() != m_loaded.width())
        WriteRegInteger(m_section, u"Width"_s, m_current.width());
    if (m_current.height() != m_loaded.height())
        WriteRegInteger(m_section, u"Height"_s, m_current.height());
}

TFormSettings* RememberSettings(QWidget* window)
{
    if (window->property("centred").toBool())
        throw VestrelError(u"Fallita la RememberSettings: La proprietà Position deve essere poDesigned!"_s);
    return new TFormSettings(window);
}

} // namespace vestrel
