#pragma once

#include "DateTime.h"

#include <QString>

namespace vestrel {

// "dd/mm/yyyy", the date format used wherever the program writes or reads a short date.
QString ShortDateFormat();

// Formats a date-time with the program's format letters (case does not matter):
//   d dd        day without / with leading zero     ddd dddd  short / long Italian day name
//   ddddd       short date (dd/mm/yyyy)              dddddd    long date (dddd d mmmm yyyy)
//   m mm        month without / with leading zero   mmm mmmm  short / long Italian month name
//   yy yyyy     two-digit / four-digit year (y and yy give two digits, three or more four)
//   h hh        hour       n nn   minute       s ss   second       z zzz  millisecond
//   c           short date, then " hh:nn:ss" unless the time of day is 0
// An m or mm right after an h or hh (other characters in between allowed, not letters) is the
// minute, as in "h:mm". Text in double or single quotes is copied without its quotes; any other
// character, ':' and '/' included, is copied as it is.
QString FormatDateTime(const QString& format, TDateTime value);

// The value in the short date format.
QString DateToStr(TDateTime value);

} // namespace vestrel
