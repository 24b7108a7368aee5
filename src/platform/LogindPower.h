#pragma once

#include "PowerService.h"

#include <QDBusConnection>

#include <memory>

namespace vestrel::platform {

// Powers the machine off through systemd-logind's Manager (org.freedesktop.login1) on `bus`.
// The request is interactive, so polkit may ask the user for the right; the call waits for the
// answer at most `timeoutMs`. logind has no forced variant of PowerOff: it always lets the
// session's inhibitors delay the shutdown, so the force flag changes nothing here.
class LogindPower final : public PowerService {
public:
    static constexpr int DefaultTimeoutMs = 120'000;

    explicit LogindPower(QDBusConnection bus, int timeoutMs = DefaultTimeoutMs);

    PowerOffResult powerOff(bool force) override;

private:
    QDBusConnection m_bus;
    int m_timeoutMs;
};

// logind when `bus` offers org.freedesktop.login1, else the service that refuses.
std::unique_ptr<PowerService> CreateDefaultPowerService(const QDBusConnection& bus);

} // namespace vestrel::platform
