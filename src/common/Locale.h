#pragma once

#include <QChar>
#include <QString>

namespace vestrel {

// The one place that decides number separators and month and day names. Separators follow the
// system locale unless a caller (a test, or a user option) replaces them; names are always Italian.
class Locale {
public:
    static QChar decimalSeparator();
    static QChar thousandsSeparator();
    static void setSeparators(QChar decimal, QChar thousands);
    // Back to the system locale's separators.
    static void resetSeparators();

    // month 1..12; an out-of-range month gives an empty string.
    static QString longMonthName(int month);
    static QString shortMonthName(int month);
    // day 1 = Sunday … 7 = Saturday, as DayOfWeek numbers them.
    static QString longDayName(int day);
    static QString shortDayName(int day);
};

} // namespace vestrel
