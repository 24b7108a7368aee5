#include "SystemClockService.h"

#include "DBusPresence.h"

#include "common/VestrelError.h"

#include <QDBusMessage>
#include <QDateTime>
#include <QTimeZone>

#include <atomic>

namespace vestrel::platform {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString TimedatedService = u"org.freedesktop.timedate1"_s;

std::atomic<SystemClockService*> installed = nullptr;

std::unique_ptr<SystemClockService> createDefault()
{
    if (qEnvironmentVariable("VESTREL_CLOCK") == u"none"_s)
        return std::make_unique<SystemClockUnavailable>();
    return CreateDefaultClockService(QDBusConnection::systemBus());
}

} // namespace

QString SetClockUnavailableText()
{
    return u"Impostazione dell'orologio non disponibile su questo sistema"_s;
}

qint64 UnixMicrosecondsOf(TDateTime utc)
{
    const DateParts date = DecodeDate(utc);
    const TimeParts time = DecodeTime(utc);
    const QDateTime moment(QDate(date.year, date.month, date.day),
                           QTime(time.hour, time.minute, time.second), QTimeZone::utc());
    return moment.toSecsSinceEpoch() * 1'000'000;
}

SystemClockService& SystemClockService::instance()
{
    if (SystemClockService* service = installed.load())
        return *service;
    // Never destroyed: a D-Bus connection must not be torn down after the application object.
    static SystemClockService* const fallback = createDefault().release();
    return *fallback;
}

void SystemClockService::setInstance(SystemClockService* service)
{
    installed = service;
}

TimedatedClock::TimedatedClock(QDBusConnection bus, int timeoutMs)
    : m_bus(std::move(bus)), m_timeoutMs(timeoutMs)
{
}

SetClockResult TimedatedClock::setSystemTime(TDateTime utc)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        TimedatedService, u"/org/freedesktop/timedate1"_s, u"org.freedesktop.timedate1"_s,
        u"SetTime"_s);
    // usec_utc, relative = false (an absolute time), interactive = true (polkit may ask).
    call << UnixMicrosecondsOf(utc) << false << true;
    call.setInteractiveAuthorizationAllowed(true);
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, m_timeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return {true, {}};

    const QDBusError error(reply);
    if (IsAbsentServiceError(error))
        return {false, SetClockUnavailableText()};
    const QString detail = error.message().isEmpty() ? error.name() : error.message();
    return {false, withDetail(u"Impostazione dell'orologio non riuscita"_s, detail, 1)};
}

SetClockResult SystemClockRecorder::setSystemTime(TDateTime utc)
{
    m_requests.push_back(utc);
    if (!m_refusal.isEmpty())
        return {false, m_refusal};
    return {true, {}};
}

std::unique_ptr<SystemClockService> CreateDefaultClockService(const QDBusConnection& bus)
{
    if (HasDBusService(bus, TimedatedService))
        return std::make_unique<TimedatedClock>(bus);
    return std::make_unique<SystemClockUnavailable>();
}

} // namespace vestrel::platform

namespace vestrel {

bool SetSystemClock(TDateTime utc, QString* why)
{
    const platform::SetClockResult result =
        platform::SystemClockService::instance().setSystemTime(utc);
    if (!result.ok && why)
        *why = result.message;
    return result.ok;
}

} // namespace vestrel
