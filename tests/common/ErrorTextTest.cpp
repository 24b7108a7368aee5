#include "common/ErrorText.h"

#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace vestrel;
using namespace Qt::Literals::StringLiterals;

namespace {

QString system(int number)
{
    return QString::fromLocal8Bit(std::strerror(number)).trimmed();
}

class ErrorTextTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        SetDialUpErrorTextProvider({});
        SetInternetErrorTextProvider({});
    }
};

} // namespace

TEST_F(ErrorTextTest, SocketTextsAreExact)
{
    struct Case {
        int number;
        QString expected;
    };
    const Case cases[] = {
        {10004, u"The operation is canceled."_s},
        {10013, u"The requested address is a broadcast address, but flag is not set."_s},
        {10037, u"The operation is completed.  No blocking operation is in progress."_s},
        {10061, u"Connection is forcefully rejected."_s},
        {10202, u"Socket has not been created for this object."_s},
        {11004, u"Valid name, no data record of requested type."_s},
        {10001, {}},
        {10059, {}},
        {11999, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(ErrorText(c.number), c.expected);
    }
}

TEST_F(ErrorTextTest, RangesGoToTheirSource)
{
    SetDialUpErrorTextProvider([](int n) { return u"dial-up %1"_s.arg(n); });
    SetInternetErrorTextProvider([](int n) { return u"internet %1"_s.arg(n); });
    struct Case {
        int number;
        QString expected;
    };
    const Case cases[] = {
        {2, system(2)},
        {599, system(599)},
        {600, u"dial-up 600"_s},
        {993, u"dial-up 993"_s},
        {994, system(994)},
        {10000, system(10000)},
        {12000, system(12000)},
        {12001, u"internet 12001"_s},
        {12157, u"internet 12157"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(ErrorText(c.number), c.expected);
    }
    EXPECT_EQ(ErrorText(2), u"No such file or directory"_s);
}

TEST_F(ErrorTextTest, WithoutProvidersTheirRangesAreEmpty)
{
    EXPECT_EQ(ErrorText(691), QString());
    EXPECT_EQ(ErrorText(12002), QString());
}
