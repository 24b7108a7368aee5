#include "common/StringHelpers.h"

#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

using namespace vestrel;
using namespace Qt::Literals::StringLiterals;

namespace {

struct Case {
    const char* name;
    QString actual;
    QString expected;
};

void check(const std::initializer_list<Case>& cases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.actual, c.expected);
    }
}

} // namespace

TEST(StringHelpers, ReplaceStripAndPad)
{
    check({
        {"replace all", ReplaceAll(u"a-b-c"_s, u"-"_s, u"--"_s), u"a--b--c"_s},
        {"replace is case-sensitive", ReplaceAll(u"Aa"_s, u"a"_s, u"x"_s), u"Ax"_s},
        {"empty find changes nothing", ReplaceAll(u"abc"_s, {}, u"x"_s), u"abc"_s},
        {"strip line breaks", StripLineBreaks(u"uno\r\ndue\rtre\n"_s), u"uno due tre"_s},
        {"screen lines", ScreenLines(u"uno\r\ndue\rtre\n"_s), u"uno\ndue\ntre\n"_s},
        {"pad right", PadRight(u"ab"_s, 5, u'.'), u"ab..."_s},
        {"pad keeps a longer text", PadRight(u"abcdef"_s, 3, u' '), u"abcdef"_s},
    });
}

TEST(StringHelpers, IsNumeric)
{
    struct NumericCase {
        QString text;
        bool expected;
    };
    const NumericCase cases[] = {
        {u"0123"_s, true},    {u"  42 "_s, true},   {u"12\b3"_s, true}, {u"1\r2"_s, true},
        {u""_s, false},       {u"   "_s, false},    {u"-1"_s, false},   {u"1.5"_s, false},
        {u"12a"_s, false},    {u"\u0663"_s, false}, // Arabic-Indic digit three
    };
    for (const NumericCase& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(IsNumeric(c.text), c.expected);
    }
}

TEST(StringHelpers, TokenAndTextAroundASeparator)
{
    check({
        {"first field", Token(u"a;b;c"_s, 1, u";"_s), u"a"_s},
        {"middle field", Token(u"a;b;c"_s, 2, u";"_s), u"b"_s},
        {"last field runs to the end", Token(u"a;b;c"_s, 3, u";"_s), u"c"_s},
        {"past the last field", Token(u"a;b;c"_s, 4, u";"_s), QString()},
        {"no separator: the whole text", Token(u"abc"_s, 1, u";"_s), u"abc"_s},
        {"empty field", Token(u"a;;c"_s, 2, u";"_s), QString()},
        {"position 0", Token(u"a;b"_s, 0, u";"_s), QString()},
        {"multi-character separator", Token(u"a->b->c"_s, 2, u"->"_s), u"b"_s},
        {"before", TextBefore(u"="_s, u"key=va=lue"_s), u"key"_s},
        {"after", TextAfter(u"="_s, u"key=va=lue"_s), u"va=lue"_s},
        {"before without separator", TextBefore(u"="_s, u"key"_s), u"key"_s},
        {"after without separator", TextAfter(u"="_s, u"key"_s), QString()},
        {"separator at the start", TextBefore(u"="_s, u"=x"_s), QString()},
    });
}

TEST(StringHelpers, RemoveExtension)
{
    check({
        {"plain", RemoveExtension(u"Skin.dat"_s), u"Skin"_s},
        {"only the last", RemoveExtension(u"dir/Skin.old.dat"_s), u"dir/Skin.old"_s},
        {"none", RemoveExtension(u"README"_s), u"README"_s},
        {"dot in a directory", RemoveExtension(u"/home/a.b/file"_s), u"/home/a.b/file"_s},
        {"leading dot", RemoveExtension(u"/home/.config"_s), u"/home/.config"_s},
        {"trailing dot", RemoveExtension(u"name."_s), u"name"_s},
    });
}
