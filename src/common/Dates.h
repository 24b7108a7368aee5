#pragma once

#include "DateTime.h"

#include <QtGlobal>

namespace vestrel {

// The date's whole days with the time of day of `time`.
TDateTime CombineDateTime(TDateTime time, TDateTime date);
bool SameDay(TDateTime a, TDateTime b);

// Whole seconds of a span, from its milliseconds as DateTimeToMSecs rounds them; a millisecond
// part of exactly 999 adds one second (a span ending at EndOfDay counts up to midnight), any
// other is dropped. Raises VestrelError for a negative, non-finite or too large span.
qint64 SecondsOf(TDateTime span);

struct MonthDay {
    int month = 0;
    int day = 0;
    friend bool operator==(const MonthDay&, const MonthDay&) = default;
};

// Easter Monday of the year by Gauss's algorithm, with its two exceptions. Outside 1583..2499 the
// century terms are 0, so the result there is only what the formula gives.
MonthDay EasterMonday(int year);
bool IsEasterMonday(TDateTime date);
// True when the next day is Easter Monday.
bool IsEasterSunday(TDateTime date);

// The system time in UTC as a date-time.
TDateTime GetSystemClock();

} // namespace vestrel
