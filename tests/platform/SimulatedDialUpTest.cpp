#include "platform/SimulatedDialUp.h"
#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

using namespace vestrel::platform;
using namespace Qt::Literals::StringLiterals;

TEST(SimulatedDialUp, ListsItsEntriesAndKeepsTheirLogins)
{
    SimulatedDialUp dialUp({{u"Casa"_s, {u"mario"_s, u"pw"_s, true}}, {u"Lavoro"_s, {}}});
    EXPECT_EQ(dialUp.entries().value, (QStringList{u"Casa"_s, u"Lavoro"_s}));
    EXPECT_TRUE(dialUp.isEntry(u"Lavoro"_s));
    EXPECT_FALSE(dialUp.isEntry(u"lavoro"_s));

    EXPECT_EQ(dialUp.entryCredentials(u"Casa"_s).value, (DialUpCredentials{u"mario"_s, u"pw"_s, true}));
    EXPECT_EQ(dialUp.setEntryCredentials(u"Casa"_s, u"mario"_s, u"ignorata"_s, true), DialUpOk);
    EXPECT_EQ(dialUp.entryCredentials(u"Casa"_s).value, (DialUpCredentials{u"mario"_s, {}, false}));
    EXPECT_EQ(dialUp.setEntryCredentials(u"Lavoro"_s, u"anna"_s, QString(), false), DialUpOk);
    EXPECT_TRUE(dialUp.entryCredentials(u"Lavoro"_s).value.hasPassword) << "an empty password is saved";

    EXPECT_EQ(dialUp.entryCredentials(u"Altro"_s).code, DialUpNoEntry);
    EXPECT_EQ(dialUp.setEntryCredentials(u"Altro"_s, {}, {}, false), DialUpNoEntry);
    EXPECT_FALSE(dialUp.errorText(DialUpNoEntry).isEmpty());
}

TEST(SimulatedDialUp, ScriptedFailureAnswersEveryCallUntilCleared)
{
    SimulatedDialUp dialUp({{u"Casa"_s, {}}});
    dialUp.setFailure(633, u"La porta è già in uso"_s);
    EXPECT_EQ(dialUp.entries().code, 633);
    EXPECT_FALSE(dialUp.isEntry(u"Casa"_s));
    EXPECT_EQ(dialUp.entryCredentials(u"Casa"_s).code, 633);
    EXPECT_EQ(dialUp.errorText(633), u"La porta è già in uso"_s);
    dialUp.setFailure(DialUpOk);
    EXPECT_TRUE(dialUp.isEntry(u"Casa"_s));
}

TEST(DialUpService, TheInstalledServiceReplacesTheDefaultOne)
{
    DialUpService& fallback = DialUpService::instance();
    EXPECT_TRUE(fallback.entries().ok());
    EXPECT_TRUE(fallback.entries().value.isEmpty()) << "no backend: no entries";
    SimulatedDialUp scripted({{u"Casa"_s, {}}});
    DialUpService::setInstance(&scripted);
    EXPECT_TRUE(DialUpService::instance().isEntry(u"Casa"_s));
    DialUpService::setInstance(nullptr);
    EXPECT_EQ(&DialUpService::instance(), &fallback);
}
