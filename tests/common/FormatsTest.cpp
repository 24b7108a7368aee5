#include "common/Formats.h"

#include "ItalianSeparators.h"

#include <QLocale>

#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vestrel;
using namespace Qt::Literals::StringLiterals;

namespace {

struct DurationCase {
    const char* name;
    TDateTime span;
    QString expected;
};

TDateTime secs(int s)
{
    return s * OneSecond;
}

} // namespace

TEST(FormatDuration, NamesEveryUnitFromTheLargestPresent)
{
    const DurationCase cases[] = {
        {"one and a half days", 1.5, u"1 giorno 12 h 0 min 0 sec"_s},
        {"days are plural from two", 2.25 + secs(61), u"2 giorni 6 h 1 min 1 sec"_s},
        {"hours", EncodeTime(2, 5, 10), u"2 h 5 min 10 sec"_s},
        {"61 seconds", secs(61), u"1 min 1 sec"_s},
        {"59 seconds", secs(59), u"59 sec"_s},
        {"zero", 0.0, u"0 sec"_s},
        {"milliseconds are dropped", EncodeTime(0, 0, 59, 999), u"59 sec"_s},
        {"a difference of two instants counts its whole second",
         EncodeDateTime(2024, 1, 1, 10, 0, 1) - EncodeDateTime(2024, 1, 1, 10, 0, 0), u"1 sec"_s},
    };
    for (const DurationCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatDuration(c.span), c.expected);
    }
}

TEST(FormatShortDuration, CompactAndVerboseForms)
{
    const DurationCase compact[] = {
        {"2 h 5 min", EncodeTime(2, 5, 30), u"2.05"_s},
        {"65 seconds", secs(65), u"01.05"_s},
        {"zero", 0.0, u"00.00"_s},
        {"days count as hours", 1.0 + EncodeTime(1, 3, 0), u"25.03"_s},
    };
    for (const DurationCase& c : compact) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatShortDuration(true, c.span), c.expected);
    }
    const DurationCase verbose[] = {
        {"hours drop the seconds", EncodeTime(2, 5, 30), u"2 h 5 min "_s},
        {"65 seconds", secs(65), u"1 min 5 sec"_s},
        {"seconds only", secs(5), u"5 sec"_s},
        {"a whole day", 1.0, u"24 h 0 min "_s},
    };
    for (const DurationCase& c : verbose) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatShortDuration(false, c.span), c.expected);
    }
}

TEST(NumberFormat, ItalianSeparatorsRoundingWidthAndSign)
{
    const vestrel::testing::ItalianSeparators italian;
    struct Case {
        const char* name;
        QString actual;
        QString expected;
    };
    const Case cases[] = {
        {"lire with thousands", FormatLire(1234567.0), u"1.234.567"_s},
        {"zero padded to three", FormatLire(0.0), u"  0"_s},
        {"two digits padded", FormatLire(12.0), u" 12"_s},
        {"half rounds away from zero", FormatLire(2.5), u"  3"_s},
        {"negative half rounds away from zero", FormatLire(-2.5), u" -3"_s},
        {"rounding carries into a new group", FormatLire(999.5), u"1.000"_s},
        {"negative with thousands", FormatLire(-1234.4), u"-1.234"_s},
        {"a negative that rounds to zero has no sign", FormatLire(-0.4), u"  0"_s},
        {"euro with three decimals", FormatEuro(1234.5678), u"1.234,568"_s},
        {"one lira in euro", FormatEuro(LireToEuro(1.0)), u"0,001"_s},
        {"a thousand lire in euro", FormatEuro(LireToEuro(1000.0)), u"0,516"_s},
        {"euro equivalent of its rate", FormatEuro(LireToEuro(1936.27)), u"1,000"_s},
        {"decimals carry into the units", FormatEuro(9.9996), u"10,000"_s},
        {"small negative euro has no sign", FormatEuro(-0.0004), u"0,000"_s},
        {"a value stored just below half rounds down", FormatNumber(2.675, 3, 2), u"2,67"_s},
        {"an exact binary half rounds up", FormatNumber(0.125, 3, 2), u"0,13"_s},
        {"wider field", FormatNumber(7.0, 6, 1), u"   7,0"_s},
        {"beyond 64-bit integers", FormatNumber(1e20, 3, 0), u"100.000.000.000.000.000.000"_s},
        {"count", FormatCount(1234567890123), u"1.234.567.890.123"_s},
        {"negative count", FormatCount(-5), u" -5"_s},
        {"smallest count", FormatCount(std::numeric_limits<qint64>::min()),
         u"-9.223.372.036.854.775.808"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.actual, c.expected);
    }
}

TEST(NumberFormat, ResetReturnsToTheSystemSeparators)
{
    Locale::setSeparators(u'#', u'_');
    EXPECT_EQ(FormatNumber(1234.5, 3, 1), u"1_234#5"_s);
    Locale::resetSeparators();
    const QLocale system = QLocale::system();
    EXPECT_EQ(FormatNumber(1234.5, 3, 1),
              u"1"_s + system.groupSeparator() + u"234"_s + system.decimalPoint() + u"5"_s);
}
