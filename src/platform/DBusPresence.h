#pragma once

#include <QDBusConnection>
#include <QDBusError>
#include <QString>

namespace vestrel::platform {

// True when `bus` is connected and `name` has an owner there or can be started on demand (system
// services such as logind and timedated are usually activated by their first call).
bool HasDBusService(const QDBusConnection& bus, const QString& name);

// True for the errors that mean nobody answers at that name: the service is not on the bus.
bool IsAbsentServiceError(const QDBusError& error);

} // namespace vestrel::platform
