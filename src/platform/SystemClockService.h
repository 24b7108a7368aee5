#pragma once

#include "common/DateTime.h"

#include <QDBusConnection>
#include <QString>

#include <memory>
#include <vector>

namespace vestrel::platform {

struct SetClockResult {
    bool ok = false;
    // Why the clock was not set, in Italian, when it was not.
    QString message;
};

// Sets the machine's clock.
class SystemClockService {
public:
    virtual ~SystemClockService() = default;

    // Sets the system time to `utc` (a date-time read as UTC) with its milliseconds dropped.
    virtual SetClockResult setSystemTime(TDateTime utc) = 0;

    // The one installed last, else the default chosen once: timedated when the system bus
    // offers it, else SystemClockUnavailable. VESTREL_CLOCK=none forces SystemClockUnavailable
    // (the tests set it, so no test can move the machine's clock).
    static SystemClockService& instance();
    // The caller keeps ownership; nullptr restores the default.
    static void setInstance(SystemClockService* service);
};

// What a system without a clock backend answers.
QString SetClockUnavailableText();

// Microseconds since 1970-01-01 UTC of `utc` in whole seconds (milliseconds dropped).
qint64 UnixMicrosecondsOf(TDateTime utc);

class SystemClockUnavailable final : public SystemClockService {
public:
    SetClockResult setSystemTime(TDateTime) override { return {false, SetClockUnavailableText()}; }
};

// Sets the clock through systemd-timedated (org.freedesktop.timedate1) on `bus`: SetTime with an
// absolute time and interactive authorisation, so polkit may ask the user for the right; the
// call waits for the answer at most `timeoutMs`.
class TimedatedClock final : public SystemClockService {
public:
    static constexpr int DefaultTimeoutMs = 120'000;

    explicit TimedatedClock(QDBusConnection bus, int timeoutMs = DefaultTimeoutMs);

    SetClockResult setSystemTime(TDateTime utc) override;

private:
    QDBusConnection m_bus;
    int m_timeoutMs;
};

// Records every request instead of touching the clock.
class SystemClockRecorder final : public SystemClockService {
public:
    // Requests are refused with `message` from now on; an empty one accepts them again.
    void setRefusal(const QString& message) { m_refusal = message; }
    // The date-times asked for, in order, as given.
    const std::vector<TDateTime>& requests() const { return m_requests; }

    SetClockResult setSystemTime(TDateTime utc) override;

private:
    QString m_refusal;
    std::vector<TDateTime> m_requests;
};

// timedated when `bus` offers org.freedesktop.timedate1, else the service that refuses.
std::unique_ptr<SystemClockService> CreateDefaultClockService(const QDBusConnection& bus);

} // namespace vestrel::platform

namespace vestrel {

// Sets the system time (UTC) to `utc`, milliseconds 0, through the installed service. True on
// success; otherwise `why`, when given, receives the Italian reason.
bool SetSystemClock(TDateTime utc, QString* why = nullptr);

} // namespace vestrel
