#pragma once

#include "DateTime.h"

#include <QString>

namespace vestrel {

inline constexpr double LirePerEuro = 1936.27;

// Italian duration text of a date-time difference: "1 giorno 12 h 0 min 0 sec", "2 h 5 min 10 sec",
// "1 min 1 sec", "59 sec". Hours are those of the day, whole days are counted separately.
QString FormatDuration(TDateTime span);

// Compact: "2.05" (hours.minutes) from one hour on, else "01.05" (minutes.seconds).
// Verbose: "2 h 5 min " (no seconds) from one hour on, else "1 min 5 sec" or "5 sec".
// Hours include 24 for every whole day.
QString FormatShortDuration(bool compact, TDateTime span);

// The "%W.Dn" number format: D decimals (rounded half away from zero), thousands separators,
// the decimal separator from Locale, a leading '-' when negative, right-aligned in at least W
// characters. A value that rounds to zero has no sign.
QString FormatNumber(double value, int width, int decimals);
QString FormatNumber(qint64 value, int width);

// "%3.0n" of an amount in Lire.
QString FormatLire(double lire);
// "%3.3n" of an amount in Euro.
QString FormatEuro(double euro);
// "%3.0n" of a count (bytes, pulses).
QString FormatCount(qint64 count);

inline double LireToEuro(double lire)
{
    return lire / LirePerEuro;
}

} // namespace vestrel
