#include "common/SystemInfo.h"

#include "common/ProcessValues.h"

#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

using namespace vestrel;
using namespace Qt::Literals::StringLiterals;

TEST(SystemInfo, DescriptionTakesTheNumbersOfTheKernelRelease)
{
    struct Case {
        QString release;
        QString numbers;
    };
    const Case cases[] = {
        {u"6.1.0-18-amd64"_s, u"MajorVersion: 6 MinorVersion: 1 BuildNumber: 0"_s},
        {u"5.15.153.1-microsoft-standard-WSL2"_s,
         u"MajorVersion: 5 MinorVersion: 15 BuildNumber: 153"_s},
        {u"6.8.0-45-generic"_s, u"MajorVersion: 6 MinorVersion: 8 BuildNumber: 0"_s},
        {u"4.19"_s, u"MajorVersion: 4 MinorVersion: 19 BuildNumber: 0"_s},
        {u"6.10-rc3"_s, u"MajorVersion: 6 MinorVersion: 10 BuildNumber: 0"_s},
        {u""_s, u"MajorVersion: 0 MinorVersion: 0 BuildNumber: 0"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.release.toStdString());
        EXPECT_EQ(OSDescriptionOf(c.release, u"Debian"_s),
                  u"Linux -> "_s + c.numbers + u" PlatformId: Debian"_s);
    }
    EXPECT_TRUE(OSDescription().startsWith(u"Linux -> MajorVersion: "_s));
    EXPECT_EQ(OSName(), u"Linux"_s);
}

TEST(SystemInfo, PrettyNameOfOsRelease)
{
    struct Case {
        const char* name;
        QString text;
        QString expected;
    };
    const Case cases[] = {
        {"double quotes", u"NAME=\"Debian\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"_s,
         u"Debian GNU/Linux 12 (bookworm)"_s},
        {"single quotes", u"PRETTY_NAME='Fedora Linux 40'"_s, u"Fedora Linux 40"_s},
        {"no quotes", u"PRETTY_NAME=Arch\n"_s, u"Arch"_s},
        {"escaped quote", u"PRETTY_NAME=\"Il \\\"mio\\\" Linux\""_s, u"Il \"mio\" Linux"_s},
        {"missing", u"NAME=Debian\n"_s, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PrettyNameOf(c.text), c.expected);
    }
}

TEST(SystemInfo, FileVersionIsKnownOnlyForThisProgram)
{
    EXPECT_EQ(FileVersion(ExecutablePath()), ProgramVersion());
    EXPECT_EQ(FileVersion(u"/bin/sh"_s), u"???"_s);
    EXPECT_EQ(FileVersion(u"/nessuno/file"_s), u"???"_s);
    EXPECT_EQ(LeggiVersione(), ProgramVersion());
}
