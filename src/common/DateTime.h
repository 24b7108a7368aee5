#pragma once

#include <QDateTime>

#include <cstdint>

namespace vestrel {

// Days since 30 December 1899 in local time; the fraction is the time of day.
using TDateTime = double;

inline constexpr qint64 MSecsPerDay = 86'400'000;
inline constexpr double OneSecond = 1.0 / 86'400.0;
inline constexpr double OneMillisecond = 1.0 / 86'400'000.0;

struct DateParts {
    int year = 0;
    int month = 0;
    int day = 0;
};

struct TimeParts {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int msec = 0;
};

// Whole milliseconds of a date-time, rounded to the nearest as the platform's time stamp does.
qint64 DateTimeToMSecs(TDateTime value);
TDateTime MSecsToDateTime(qint64 msecs);

TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec = 0);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int msec = 0);
DateParts DecodeDate(TDateTime value);
TimeParts DecodeTime(TDateTime value);

// Date part (whole days) and time part (fraction) of a value, as the time stamp splits it.
TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);

// 1 = Sunday … 7 = Saturday.
int DayOfWeek(TDateTime value);

// 23:59:59.999, the end of the last band of every day.
inline constexpr double EndOfDay = (MSecsPerDay - 1) / double(MSecsPerDay);

QDateTime ToQDateTime(TDateTime value);
TDateTime FromQDateTime(const QDateTime& value);

} // namespace vestrel
