#include "DateTime.h"

#include <QDate>
#include <QTime>

#include <cmath>

namespace vestrel {

namespace {
// Julian day of 30 December 1899, day 0 of TDateTime.
constexpr qint64 EpochJulianDay = 2415019;
} // namespace

qint64 DateTimeToMSecs(TDateTime value)
{
    // Long double keeps the product exact enough that ties round as the x87 time stamp does.
    const long double ms = static_cast<long double>(value) * MSecsPerDay;
    return static_cast<qint64>(std::llrint(ms)); // to nearest, ties to even (the default mode)
}

TDateTime MSecsToDateTime(qint64 msecs)
{
    // Negative values count days backwards but the time of day forwards (as the platform does).
    const qint64 days = msecs >= 0 ? msecs / MSecsPerDay : -((-msecs) / MSecsPerDay);
    const qint64 rest = msecs >= 0 ? msecs % MSecsPerDay : (-msecs) % MSecsPerDay;
    const double fraction = double(rest) / double(MSecsPerDay);
    return days >= 0 ? double(days) + fraction : double(days) - fraction;
}

TDateTime EncodeDate(int year, int month, int day)
{
    const QDate date(year, month, day);
    if (!date.isValid())
        return 0.0;
    return double(date.toJulianDay() - EpochJulianDay);
}

TDateTime EncodeTime(int hour, int minute, int second, int msec)
{
    return double(((qint64(hour) * 60 + minute) * 60 + second) * 1000 + msec) / double(MSecsPerDay);
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec)
{
    const TDateTime date = EncodeDate(year, month, day);
    const TDateTime time = EncodeTime(hour, minute, second, msec);
    return date < 0 ? date - time : date + time;
}

namespace {
struct Stamp {
    qint64 days;
    qint64 msecOfDay;
};

Stamp ToStamp(TDateTime value)
{
    const qint64 ms = DateTimeToMSecs(value);
    if (ms >= 0)
        return {ms / MSecsPerDay, ms % MSecsPerDay};
    const qint64 pos = -ms;
    return {-(pos / MSecsPerDay), pos % MSecsPerDay};
}
} // namespace

DateParts DecodeDate(TDateTime value)
{
    const QDate date = QDate::fromJulianDay(ToStamp(value).days + EpochJulianDay);
    return {date.year(), date.month(), date.day()};
}

TimeParts DecodeTime(TDateTime value)
{
    qint64 ms = ToStamp(value).msecOfDay;
    TimeParts parts;
    parts.msec = int(ms % 1000);
    ms /= 1000;
    parts.second = int(ms % 60);
    ms /= 60;
    parts.minute = int(ms % 60);
    parts.hour = int(ms / 60);
    return parts;
}

TDateTime DateOf(TDateTime value)
{
    return double(ToStamp(value).days);
}

TDateTime TimeOf(TDateTime value)
{
    return double(ToStamp(value).msecOfDay) / double(MSecsPerDay);
}

int DayOfWeek(TDateTime value)
{
    // Day 0 (30 December 1899) was a Saturday.
    const qint64 days = ToStamp(value).days;
    return int(((days % 7) + 7 + 6) % 7) + 1;
}

QDateTime ToQDateTime(TDateTime value)
{
    const Stamp stamp = ToStamp(value);
    const QDate date = QDate::fromJulianDay(stamp.days + EpochJulianDay);
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(stamp.msecOfDay)));
}

TDateTime FromQDateTime(const QDateTime& value)
{
    const QDateTime local = value.toLocalTime();
    const double days = double(local.date().toJulianDay() - EpochJulianDay);
    const double time = double(local.time().msecsSinceStartOfDay()) / double(MSecsPerDay);
    return days < 0 ? days - time : days + time;
}

} // namespace vestrel
