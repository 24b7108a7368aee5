#include "DBusPresence.h"

#include <QDBusMessage>
#include <QDBusReply>
#include <QStringList>

namespace vestrel::platform {

using namespace Qt::Literals::StringLiterals;

namespace {
// The bus daemon answers at once; a bound keeps a wedged bus from freezing the start.
constexpr int BusDaemonTimeoutMs = 3'000;

QDBusMessage busDaemonCall(const QString& method)
{
    return QDBusMessage::createMethodCall(u"org.freedesktop.DBus"_s, u"/org/freedesktop/DBus"_s,
                                          u"org.freedesktop.DBus"_s, method);
}
} // namespace

bool HasDBusService(const QDBusConnection& bus, const QString& name)
{
    if (!bus.isConnected())
        return false;
    QDBusMessage ask = busDaemonCall(u"NameHasOwner"_s);
    ask << name;
    const QDBusReply<bool> owned = bus.call(ask, QDBus::Block, BusDaemonTimeoutMs);
    if (owned.isValid() && owned.value())
        return true;
    const QDBusReply<QStringList> activatable =
        bus.call(busDaemonCall(u"ListActivatableNames"_s), QDBus::Block, BusDaemonTimeoutMs);
    return activatable.isValid() && activatable.value().contains(name);
}

bool IsAbsentServiceError(const QDBusError& error)
{
    switch (error.type()) {
    case QDBusError::ServiceUnknown:
    case QDBusError::Disconnected:
        return true;
    default:
        // A name that cannot be activated, or whose activation fails to start the service (an
        // installed but disabled system service has no unit to start), is reported with one of
        // these names and no enum value.
        return error.name() == u"org.freedesktop.DBus.Error.NameHasNoOwner"_s
               || error.name().startsWith(u"org.freedesktop.DBus.Error.Spawn."_s)
               || error.name() == u"org.freedesktop.systemd1.NoSuchUnit"_s;
    }
}

} // namespace vestrel::platform
