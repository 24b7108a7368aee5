#include "Dates.h"

#include "VestrelError.h"

#include <QDateTime>

#include <cmath>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

// 1 January 10000, the first day a date-time cannot decode.
constexpr double DateTimeLimit = 2958466.0;

[[noreturn]] void secondsFailure(const QString& cause)
{
    throw VestrelError(
        withDetail(u"Errore durante la conversione del tempo in secondi"_s, cause, 1));
}

struct CenturyTerms {
    int m;
    int n;
};

CenturyTerms centuryTerms(int year)
{
    if (year < 1583 || year > 2499)
        return {0, 0};
    const int m = year <= 1699 ? 22
                  : year <= 1899 ? 23
                  : year <= 2199 ? 24
                  : year <= 2299 ? 25
                  : year <= 2399 ? 26
                                 : 25;
    const int n = year <= 1699 ? 2
                  : year <= 1799 ? 3
                  : year <= 1899 ? 4
                  : year <= 2099 ? 5
                  : year <= 2199 ? 6
                  : year <= 2299 ? 0
                                 : 1;
    return {m, n};
}

// The non-negative remainder, so years before 1 still give a date.
int mod(int value, int divisor)
{
    const int r = value % divisor;
    return r < 0 ? r + divisor : r;
}

} // namespace

TDateTime CombineDateTime(TDateTime time, TDateTime date)
{
    const TDateTime day = DateOf(date);
    const TDateTime fraction = TimeOf(time);
    // Before day 0 the days count backwards and the time of day forwards, as in EncodeDateTime.
    return day < 0 ? day - fraction : day + fraction;
}

bool SameDay(TDateTime a, TDateTime b)
{
    return DateOf(a) == DateOf(b);
}

qint64 SecondsOf(TDateTime span)
{
    if (std::isnan(span))
        secondsFailure(u"L'intervallo di tempo non è un numero valido"_s);
    if (span < 0)
        secondsFailure(u"L'intervallo di tempo non può essere minore di 0"_s);
    if (span >= DateTimeLimit)
        secondsFailure(u"L'intervallo di tempo è troppo grande"_s);
    const qint64 ms = DateTimeToMSecs(span);
    return ms / 1000 + (ms % 1000 == 999 ? 1 : 0);
}

MonthDay EasterMonday(int year)
{
    const CenturyTerms t = centuryTerms(year);
    const int a = mod(year, 19);
    const int b = mod(year, 4);
    const int c = mod(year, 7);
    const int d = (19 * a + t.m) % 30;
    const int e = (2 * b + 4 * c + 6 * d + t.n) % 7;

    MonthDay sunday{3, 22 + d + e};
    if (sunday.day > 31) {
        sunday = {4, d + e - 9};
        if (sunday.day == 26)
            sunday.day = 19;
        else if (sunday.day == 25 && d == 28 && e == 6 && (11 * t.m + 11) % 30 < 19)
            sunday.day = 18;
    }
    if (sunday.month == 3 && sunday.day == 31)
        return {4, 1};
    return {sunday.month, sunday.day + 1};
}

bool IsEasterMonday(TDateTime date)
{
    const DateParts parts = DecodeDate(date);
    return EasterMonday(parts.year) == MonthDay{parts.month, parts.day};
}

bool IsEasterSunday(TDateTime date)
{
    return IsEasterMonday(DateOf(date) + 1);
}

TDateTime GetSystemClock()
{
    const QDateTime utc = QDateTime::currentDateTimeUtc();
    if (!utc.isValid())
        throw VestrelError(withDetail(u"Fallita la GetSystemTime"_s,
                                      u"L'ora di sistema non è disponibile"_s, 1));
    const QDate date = utc.date();
    const QTime time = utc.time();
    return EncodeDateTime(date.year(), date.month(), date.day(), time.hour(), time.minute(),
                          time.second(), time.msec());
}

} // namespace vestrel
