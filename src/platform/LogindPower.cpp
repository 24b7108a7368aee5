#include "LogindPower.h"

#include "DBusPresence.h"

#include "common/VestrelError.h"

#include <QDBusMessage>

namespace vestrel::platform {

using namespace Qt::Literals::StringLiterals;

namespace {
const QString LogindService = u"org.freedesktop.login1"_s;
} // namespace

LogindPower::LogindPower(QDBusConnection bus, int timeoutMs)
    : m_bus(std::move(bus)), m_timeoutMs(timeoutMs)
{
}

PowerOffResult LogindPower::powerOff(bool)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        LogindService, u"/org/freedesktop/login1"_s, u"org.freedesktop.login1.Manager"_s,
        u"PowerOff"_s);
    call << true; // interactive: polkit may ask for the right
    call.setInteractiveAuthorizationAllowed(true);
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, m_timeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return {true, {}};

    const QDBusError error(reply);
    if (IsAbsentServiceError(error))
        return {false, PowerOffUnavailableText()};
    const QString detail = error.message().isEmpty() ? error.name() : error.message();
    return {false, withDetail(u"Spegnimento non riuscito"_s, detail, 1)};
}

std::unique_ptr<PowerService> CreateDefaultPowerService(const QDBusConnection& bus)
{
    if (HasDBusService(bus, LogindService))
        return std::make_unique<LogindPower>(bus);
    return std::make_unique<PowerUnavailable>();
}

} // namespace vestrel::platform
