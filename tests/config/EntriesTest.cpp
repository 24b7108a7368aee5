#include "SettingsFixture.h"

#include "support/RecordingNotices.h"

using namespace vestrel;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

class FakeGateway final : public TGateWayLogin {
public:
    explicit FakeGateway(int at) : position(at) {}
    int GateWayPosition() const override { return position; }
    void SetLoginUserName(const QString& v) override { userName = v; }
    void SetLoginPassword(const QString& v) override { password = v; }

    int position;
    QString userName = u"(nessuno)"_s;
    QString password = u"(nessuna)"_s;
};

} // namespace

TEST_F(SettingsTest, IndexOfNameIsCaseSensitive)
{
    TSettings settings;
    settings.Entrys().FindOrAdd(u"Modem"_s, keRAS);
    settings.Entrys().FindOrAdd(u"internet"_s, keRAS);
    EXPECT_EQ(settings.Entrys().IndexOfName(u"internet"_s), 1);
    EXPECT_EQ(settings.Entrys().IndexOfName(u"Internet"_s), -1);
}

TEST_F(SettingsTest, FindOrAddKeepsAnExistingEntryAsItIs)
{
    TSettings settings;
    TEntryItem* first = settings.Entrys().FindOrAdd(u"0612345678"_s, keTAPI);
    EXPECT_EQ(first->Kind(), keTAPI);
    EXPECT_EQ(settings.Entrys().FindOrAdd(u"0612345678"_s, keRAS), first);
    EXPECT_EQ(first->Kind(), keTAPI);
    EXPECT_EQ(settings.Entrys().Count(), 1);
}

TEST_F(SettingsTest, AssignTaxAddsAnEntryOfTheKindItsNameSuggests)
{
    dialUp.addEntry(u"Internet"_s);
    struct Row {
        QString entry;
        TKindEntry kind;
    };
    const Row rows[] = {
        {ManualStartKey(), keManual},
        {u"Internet"_s, keRAS},
        {u"internet"_s, keTAPI}, // phonebook names are exact too
        {u"0612345678"_s, keTAPI},
    };
    TSettings settings;
    for (const Row& row : rows) {
        settings.Entrys().AssignTax(row.entry, u" Telecom - TAT Urbana "_s);
        const int index = settings.Entrys().IndexOfName(row.entry);
        ASSERT_GE(index, 0) << row.entry.toStdString();
        EXPECT_EQ(settings.Entrys()[index]->Kind(), row.kind) << row.entry.toStdString();
        EXPECT_EQ(settings.Entrys()[index]->TaxName(), u"Telecom - TAT Urbana"_s);
    }

    // An entry already known keeps its kind, and only its tariff changes.
    settings.Entrys().AssignTax(u"0612345678"_s, u"Infostrada - Urbana"_s);
    EXPECT_EQ(settings.Entrys().Count(), 4);
    EXPECT_EQ(settings.Entrys()[3]->TaxName(), u"Infostrada - Urbana"_s);
    EXPECT_EQ(settings.Entrys()[3]->Kind(), keTAPI);
}

TEST_F(SettingsTest, AssignTaxWithABlankEntryNameChangesNothing)
{
    TSettings settings;
    ASSERT_FALSE(settings.Modified());
    settings.Entrys().AssignTax(u" \t "_s, u"Telecom - TAT Urbana"_s);
    settings.Entrys().AssignTax(QString(), u"Telecom - TAT Urbana"_s);
    EXPECT_EQ(settings.Entrys().Count(), 0);
    EXPECT_FALSE(settings.Modified());
}

TEST_F(SettingsTest, RasEntriesWithTaxListsOnlyKnownDialUpEntriesOfThatTariff)
{
    for (const QString& name : {u"Casa"_s, u"Lavoro"_s, u"Vacanze"_s, u"Mare"_s})
        dialUp.addEntry(name);
    TSettings settings;
    TEntryItems& entries = settings.Entrys();
    const QString tat = u"Telecom - TAT Urbana"_s;
    entries.FindOrAdd(u"Lavoro"_s, keRAS)->SetTaxName(tat);
    entries.FindOrAdd(u"Rimossa"_s, keRAS)->SetTaxName(tat);  // gone from the phonebook
    entries.FindOrAdd(u"Vacanze"_s, keTAPI)->SetTaxName(tat); // not a dial-up entry
    entries.FindOrAdd(u"Casa"_s, keRAS)->SetTaxName(u"Telecom - TAT Urbana 2"_s);
    entries.FindOrAdd(u"Mare"_s, keRAS)->SetTaxName(tat);

    const QStringList& found = entries.RasEntriesWithTax(tat);
    EXPECT_EQ(found, (QStringList{u"Lavoro"_s, u"Mare"_s}));
    entries.RasEntriesWithTax(u"Telecom - TAT Urbana 2"_s);
    EXPECT_EQ(found, QStringList{u"Casa"_s}) << "the list is reused by the next call";

    dialUp.setFailure(platform::DialUpUnavailable);
    EXPECT_TRUE(entries.RasEntriesWithTax(tat).isEmpty());
}

TEST_F(SettingsTest, CredentialsAreCopiedToTheGatewayAndUpdatedInPlace)
{
    TSettings settings;
    TGateWayCredentialItems& credentials = settings.GateWayCredentials();
    FakeGateway gateway(1);
    EXPECT_EQ(credentials.FindCredential(gateway), nullptr);
    EXPECT_EQ(gateway.userName, u"(nessuno)"_s) << "nothing found: the gateway keeps its login";

    credentials.SetCredential(gateway, u"mario"_s, u"uno"_s);
    FakeGateway other(0);
    credentials.SetCredential(other, u"anna"_s, u"due"_s);
    credentials.SetCredential(gateway, u"mario.rossi"_s, u"tre"_s);
    ASSERT_EQ(credentials.Count(), 2);
    EXPECT_EQ(gateway.userName, u"mario.rossi"_s);
    EXPECT_EQ(gateway.password, u"tre"_s);

    FakeGateway fresh(1);
    TGateWayCredentialItem* found = credentials.FindCredential(fresh);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->GateWayIndex(), 1);
    EXPECT_EQ(fresh.userName, u"mario.rossi"_s);
    EXPECT_EQ(fresh.password, u"tre"_s);
}

TEST_F(SettingsTest, AFailedApplicationStartShowsTheMessageAndThePath)
{
    RecordingNotices notices;
    int sounds = 0;
    SetApplicationErrorSound([&] { ++sounds; });
    TSettings settings;
    TProfileItem* profile = settings.AddProfile(u"Luisa"_s, {}, diUser, {});
    TProcessItem* app = profile->Applications().Add();
    app->SetPath(u"/opt/posta"_s);
    ASSERT_TRUE(profile->Applications().OnError);
    profile->Applications().OnError(app, u"Impossibile lanciare l'applicazione Posta!\rFile non trovato"_s);
    ASSERT_EQ(notices.shown.size(), 1u);
    EXPECT_EQ(notices.shown[0].text,
              u"Impossibile lanciare l'applicazione Posta!\rFile non trovato\r[/opt/posta]"_s);
    EXPECT_EQ(sounds, 1);
    EXPECT_TRUE(settings.Entrys().FindOrAdd(u"Casa"_s, keRAS)->Applications().OnError);
    SetApplicationErrorSound({});
}
