#include "common/DateFormat.h"

#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

using namespace vestrel;
using namespace Qt::Literals::StringLiterals;

namespace {

struct FormatCase {
    const char* name;
    QString format;
    TDateTime value;
    QString expected;
};

// Monday 1 April 2024, 9:05:03.007
const TDateTime Sample = EncodeDateTime(2024, 4, 1, 9, 5, 3, 7);

} // namespace

TEST(FormatDateTime, FormatsEveryLetterTheProgramUses)
{
    const FormatCase cases[] = {
        {"day and month numbers", u"d/m/yy"_s, Sample, u"1/4/24"_s},
        {"leading zeros", u"dd/mm/yyyy"_s, Sample, u"01/04/2024"_s},
        {"upper case letters", u"DD/MM/YYYY"_s, Sample, u"01/04/2024"_s},
        {"day names", u"ddd dddd"_s, Sample, u"lun lunedì"_s},
        {"month names", u"mmm mmmm"_s, Sample, u"apr aprile"_s},
        {"sunday and december", u"dddd d mmmm"_s, EncodeDate(2023, 12, 31),
         u"domenica 31 dicembre"_s},
        {"time with n", u"h:nn:ss"_s, Sample, u"9:05:03"_s},
        {"two-digit time", u"hh.nn.ss"_s, Sample, u"09.05.03"_s},
        {"single-digit minute and second", u"n s"_s, Sample, u"5 3"_s},
        {"m after h is the minute", u"h:mm"_s, Sample, u"9:05"_s},
        {"m after a date letter is the month again", u"h:mm dd/mm"_s, Sample, u"9:05 01/04"_s},
        {"scheduled disconnection notice", u"dddd d mmmm yyyy h:nn:ss"_s, Sample,
         u"lunedì 1 aprile 2024 9:05:03"_s},
        {"statistics column", u"d mmm yyyy ddd"_s, Sample, u"1 apr 2024 lun"_s},
        {"log export", u"dd/mm/yyyy hh:nn:ss"_s, Sample, u"01/04/2024 09:05:03"_s},
        {"milliseconds", u"s.zzz"_s, Sample, u"3.007"_s},
        {"quoted text is literal", u"'dalle' h \"e\" nn"_s, Sample, u"dalle 9 e 05"_s},
        {"unclosed quote runs to the end", u"h 'ore"_s, Sample, u"9 ore"_s},
        {"other characters are copied", u"[h] x"_s, Sample, u"[9] x"_s},
        {"short date", u"ddddd"_s, Sample, u"01/04/2024"_s},
        {"long date", u"dddddd"_s, Sample, u"lunedì 1 aprile 2024"_s},
        {"c with a time", u"c"_s, Sample, u"01/04/2024 09:05:03"_s},
        {"c at midnight", u"c"_s, EncodeDate(2024, 4, 1), u"01/04/2024"_s},
        {"two-digit year of 2005", u"yy"_s, EncodeDate(2005, 1, 1), u"05"_s},
        {"end of day is still the same day", u"dd hh:nn:ss"_s, EncodeDate(2024, 4, 1) + EndOfDay,
         u"01 23:59:59"_s},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatDateTime(c.format, c.value), c.expected);
    }
}

TEST(FormatDateTime, DateToStrUsesTheShortDateFormat)
{
    EXPECT_EQ(ShortDateFormat(), u"dd/mm/yyyy"_s);
    EXPECT_EQ(DateToStr(EncodeDateTime(1999, 12, 7, 18, 0, 0)), u"07/12/1999"_s);
}
