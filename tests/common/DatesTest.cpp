#include "common/Dates.h"

#include "common/VestrelError.h"

#include <QDateTime>

#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vestrel;
using namespace Qt::Literals::StringLiterals;

TEST(Dates, CombineDateTimeTakesTheDayOfOneAndTheTimeOfTheOther)
{
    EXPECT_EQ(CombineDateTime(EncodeDateTime(1999, 1, 1, 10, 30, 0),
                              EncodeDateTime(2024, 5, 6, 23, 0, 0)),
              EncodeDateTime(2024, 5, 6, 10, 30, 0));
    EXPECT_EQ(CombineDateTime(EndOfDay, EncodeDate(2024, 5, 6)), EncodeDate(2024, 5, 6) + EndOfDay);
}

TEST(Dates, SameDayComparesWholeDays)
{
    const TDateTime day = EncodeDate(2024, 5, 6);
    EXPECT_TRUE(SameDay(day, day + EndOfDay));
    EXPECT_TRUE(SameDay(day + 0.25, day + 0.75));
    EXPECT_FALSE(SameDay(day + EndOfDay, day + 1.0));
    EXPECT_FALSE(SameDay(day - OneMillisecond, day));
}

TEST(SecondsOf, CountsWholeSecondsWithTheLastMillisecondRule)
{
    struct Case {
        const char* name;
        TDateTime span;
        qint64 expected;
    };
    const Case cases[] = {
        {"zero", 0.0, 0},
        {"one second", OneSecond, 1},
        {"998 ms are dropped", EncodeTime(0, 0, 1, 998), 1},
        {"999 ms count as a second", EncodeTime(0, 0, 1, 999), 2},
        {"a span to the end of the day counts to midnight", EndOfDay, 86400},
        {"days and hours", 2.0 + EncodeTime(1, 0, 0), 176400},
        {"a difference of two instants", EncodeDateTime(2024, 1, 1, 10, 0, 5) -
                                             EncodeDateTime(2024, 1, 1, 10, 0, 0), 5},
        {"ten hours of one-second steps", 36000 * OneSecond, 36000},
        {"less than half a millisecond", 0.4 * OneMillisecond, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SecondsOf(c.span), c.expected);
    }
}

TEST(SecondsOf, RaisesTheConversionErrorWithItsCause)
{
    const QString prefix = u"Errore durante la conversione del tempo in secondi\r["_s;
    struct Case {
        const char* name;
        TDateTime span;
        QString cause;
    };
    const Case cases[] = {
        {"negative", -OneSecond, u"L'intervallo di tempo non può essere minore di 0"_s},
        {"minus infinity", -std::numeric_limits<double>::infinity(),
         u"L'intervallo di tempo non può essere minore di 0"_s},
        {"not a number", std::nan(""), u"L'intervallo di tempo non è un numero valido"_s},
        {"infinity", std::numeric_limits<double>::infinity(),
         u"L'intervallo di tempo è troppo grande"_s},
        {"past year 9999", 1e300, u"L'intervallo di tempo è troppo grande"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            SecondsOf(c.span);
            ADD_FAILURE() << "no error raised";
        } catch (const VestrelError& e) {
            EXPECT_EQ(e.message(), prefix + c.cause + u']');
        }
    }
}

namespace {

// The anonymous Gregorian computus, an independent check of Gauss's tables.
MonthDay gregorianEasterMonday(int y)
{
    const int a = y % 19, b = y / 100, c = y % 100, d = b / 4, e = b % 4, f = (b + 8) / 25;
    const int g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30, i = c / 4, k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7, m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31, day = (h + l - 7 * m + 114) % 31 + 1;
    const DateParts monday = DecodeDate(EncodeDate(y, month, day) + 1);
    return {monday.month, monday.day};
}

} // namespace

TEST(EasterMonday, KnownYearsAndBothExceptions)
{
    struct Case {
        int year;
        MonthDay expected;
    };
    const Case cases[] = {
        {2000, {4, 24}},
        {2001, {4, 16}},
        {1981, {4, 20}}, // April 26 becomes April 19
        {2076, {4, 20}}, // April 26 becomes April 19
        {1954, {4, 19}}, // April 25 becomes April 18
        {2049, {4, 19}}, // April 25 becomes April 18
        {2024, {4, 1}},  // Easter on 31 March
        {1583, {4, 11}},
        {2499, {3, 30}},
        {1500, {4, 7}},  // outside the table: M = N = 0
        {2500, {4, 24}}, // outside the table: M = N = 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.year);
        EXPECT_EQ(EasterMonday(c.year), c.expected);
    }
}

TEST(EasterMonday, AgreesWithTheGregorianComputusOverItsWholeRange)
{
    for (int year = 1583; year <= 2499; ++year) {
        const MonthDay expected = gregorianEasterMonday(year);
        const MonthDay actual = EasterMonday(year);
        ASSERT_EQ(actual, expected) << year << ": " << actual.month << '/' << actual.day;
    }
}

TEST(EasterMonday, RecognisesEasterSundayAndMondayAtAnyTimeOfDay)
{
    const TDateTime sunday = EncodeDate(2024, 3, 31);
    const TDateTime monday = EncodeDate(2024, 4, 1);
    EXPECT_TRUE(IsEasterSunday(sunday + EndOfDay));
    EXPECT_TRUE(IsEasterMonday(monday + 0.5));
    EXPECT_FALSE(IsEasterMonday(sunday));
    EXPECT_FALSE(IsEasterSunday(monday));
    EXPECT_FALSE(IsEasterMonday(monday + 1));
    EXPECT_TRUE(IsEasterMonday(EncodeDate(1981, 4, 20)));
}

TEST(GetSystemClock, IsUniversalTimeNotLocalTime)
{
    const QDateTime before = QDateTime::currentDateTime();
    const TDateTime utc = GetSystemClock();
    const TDateTime local = FromQDateTime(before);
    // Rome is one or two hours ahead of UTC.
    const double offsetHours = std::round((local - utc) * 24.0);
    EXPECT_EQ(offsetHours, before.offsetFromUtc() / 3600);
    EXPECT_NEAR((local - utc) * 24.0, offsetHours, 5.0 / 3600.0);
}
