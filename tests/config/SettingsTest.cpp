#include "SettingsFixture.h"

#include "config/ConfigStores.h"
#include "store/StoreRegistry.h"

using namespace vestrel;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

void expectAdministrator(const TProfileItem& p)
{
    EXPECT_EQ(p.UserName(), u"Amministratore"_s);
    EXPECT_EQ(p.Password(), QString());
    EXPECT_EQ(p.Diritti(), diAdmin);
    EXPECT_EQ(p.Descrizione(), u"Descrizione (cambiare la pwd!)"_s);
    EXPECT_TRUE(p.SoundsEnabled());
    EXPECT_EQ(p.TimeOutConnection(), 600);
    EXPECT_TRUE(p.Preavviso());
    EXPECT_EQ(p.TimeWaitApplications(), 4);
    EXPECT_EQ(p.SkinName(), u"<Predefinita>"_s);
    EXPECT_TRUE(p.SoundTypeOn());
    EXPECT_EQ(p.TrayHintPause(), 10000);
    EXPECT_TRUE(p.AskDisconnect());
}

// A Settings.dat of an earlier build: one profile with a user name only.
QByteArray fileWithProfileNamedMario()
{
    QByteArray b = "TPF0";
    auto str = [&b](QByteArrayView s) { b += char(s.size()); b += s; };
    str("TSettings");
    str("");
    str("Profiles");
    b += char(14); // Collection
    b += char(1);  // List
    str("UserName");
    b += char(6); // String
    str("Mario");
    b += char(0);
    b += char(0);
    b += char(0);
    b += char(0);
    return b;
}

} // namespace

TEST_F(SettingsTest, MissingFileComesBackWithTheAdministratorProfileAndTheInstallationTime)
{
    {
        TSettings settings;
        bool loadedRaised = false;
        settings.OnLoaded = [&](auto*) { loadedRaised = true; };
        settings.SetFileName(path());
        EXPECT_TRUE(QFile::exists(path()));
        ASSERT_EQ(settings.Profiles().Count(), 1);
        expectAdministrator(*settings.Profiles()[0]);
        EXPECT_EQ(settings.Installation(), clock.now());
        EXPECT_TRUE(settings.Modified()) << "the autosave must write the new profile";
        EXPECT_FALSE(loadedRaised);
    }
    clock.setNow(clock.now() + 3);
    TSettings again;
    again.SetFileName(path());
    ASSERT_EQ(again.Profiles().Count(), 1);
    expectAdministrator(*again.Profiles()[0]);
    EXPECT_EQ(again.Installation(), EncodeDateTime(2024, 3, 5, 18, 30, 0));
    EXPECT_FALSE(again.Modified());
}

TEST_F(SettingsTest, StoredEmptyProfileListGainsTheAdministrator)
{
    writeStore(path(), TSettings());
    TSettings settings;
    settings.SetFileName(path());
    ASSERT_EQ(settings.Profiles().Count(), 1);
    EXPECT_EQ(settings.Profiles()[0]->UserName(), u"Amministratore"_s);
}

TEST_F(SettingsTest, StoredProfilesAreKeptAndAnEmptySkinReadsAsTheBuiltInOne)
{
    write(path(), fileWithProfileNamedMario());
    TSettings settings;
    settings.SetFileName(path());
    ASSERT_EQ(settings.Profiles().Count(), 1);
    const TProfileItem& mario = *settings.Profiles()[0];
    EXPECT_EQ(mario.UserName(), u"Mario"_s);
    EXPECT_EQ(mario.SkinName(), u"<Predefinita>"_s);
    EXPECT_EQ(mario.TimeOutConnection(), 3600) << "absent from the file: the constructor default";
    EXPECT_FALSE(mario.SoundsEnabled());
}

TEST_F(SettingsTest, FindProfileIgnoresCase)
{
    TSettings settings;
    settings.AddProfile(u"Luisa"_s, {}, diUser, {});
    TProfileItem* admin = settings.AddProfile(u"Amministratore"_s, {}, diAdmin, {});
    for (const QString& typed : {u"Amministratore"_s, u"amministratore"_s, u"AMMINISTRATORE"_s})
        EXPECT_EQ(settings.FindProfile(typed), admin) << typed.toStdString();
    EXPECT_EQ(settings.FindProfile(u"Ammin"_s), nullptr);
    EXPECT_EQ(settings.FindProfile(QString()), nullptr);
}

TEST_F(SettingsTest, EmptyStringsComeBackAsDefaultsButIntegersAreAlwaysWritten)
{
    {
        TSettings settings;
        settings.SetFileName(path());
        settings.SetInternationalPrefix(QString());
        settings.Profiles()[0]->SetTimeOutConnection(0);
        settings.Save();
    }
    const QByteArray bytes = read(path());
    EXPECT_FALSE(bytes.contains("InternationalPrefix"));
    EXPECT_TRUE(bytes.contains("\x08SkinName\x06\x0D<Predefinita>")) << "a new profile names its skin";
    TSettings again;
    again.SetFileName(path());
    EXPECT_EQ(again.InternationalPrefix(), u"00"_s);
    EXPECT_EQ(again.Profiles()[0]->TimeOutConnection(), 0);
    EXPECT_EQ(again.LastAnnounce(), BuiltInAnnouncement());
}

TEST_F(SettingsTest, TimeServerAndTariffNamesAreTrimmed)
{
    TSettings settings;
    settings.SetTimeServer(u" \tntp.example.it \r\n"_s);
    EXPECT_EQ(settings.TimeServer(), u"ntp.example.it"_s);
    TEntryItem* entry = settings.Entrys().Add();
    entry->SetTaxName(u"  Telecom - TAT Urbana "_s);
    EXPECT_EQ(entry->TaxName(), u"Telecom - TAT Urbana"_s);
}

TEST_F(SettingsTest, WrittenStoreReadsBackByteIdenticalWithPasswordsInClearText)
{
    {
        TSettings settings;
        settings.SetFileName(path());
        settings.SetAutoTimeCheck(true);
        settings.SetLastAnnounce(u"Vestrel 5.1 è pronto"_s);
        settings.SetDeviceName(u"(Nessuno)"_s);
        settings.SetTimeServer(u"time.example.it"_s);
        settings.SetDialTimeTAPI(7);
        settings.SetAskRespondingCall(false);
        TProfileItem* p = settings.AddProfile(u"Luisa"_s, u"segreta"_s, diUser, u"Ufficio"_s);
        p->SetSignature(u"Ciao da Luisa"_s);
        p->SetTrayHintPause(-1);
        p->SetSkinName(u"Notte"_s);
        TProcessItem* app = p->Applications().Add();
        app->SetNome(u"Posta"_s);
        app->SetPath(u"/usr/bin/posta"_s);
        app->SetRunKind(rkManual);
        app->SetCloseKind(ckExit);
        TEntryItem* e = settings.Entrys().FindOrAdd(u"Internet"_s, keRAS);
        e->SetTaxName(u"Telecom - TAT Urbana"_s);
        e->SetRetryTime(30);
        e->Applications().Add()->SetPath(u"/usr/bin/orologio"_s);
        settings.Entrys().FindOrAdd(ManualStartKey(), keManual);
        TGateWayCredentialItem* c = settings.GateWayCredentials().Add();
        c->SetGateWayIndex(2);
        c->SetUserName(u"luisa"_s);
        c->SetPassword(u"parolachiave"_s);
        settings.Save();
    }
    const QByteArray written = read(path());
    EXPECT_TRUE(written.contains("\x08Password\x06\x07segreta"));
    EXPECT_TRUE(written.contains("\x08Password\x06\x0Cparolachiave"));

    RegisterConfigStores();
    std::unique_ptr<store::TPersistentComponent> copy = store::StoreRegistry::Create("TSettings");
    ASSERT_NE(copy, nullptr);
    write(path(u"Copy.dat"_s), written);
    copy->SetFileName(path(u"Copy.dat"_s));
    auto& settings = dynamic_cast<TSettings&>(*copy);
    ASSERT_EQ(settings.Profiles().Count(), 2);
    EXPECT_EQ(settings.Profiles()[1]->Applications()[0]->CloseKind(), ckExit);
    EXPECT_EQ(settings.Entrys()[0]->Applications()[0]->Path(), u"/usr/bin/orologio"_s);
    EXPECT_EQ(settings.Entrys()[1]->Kind(), keManual);
    EXPECT_EQ(settings.GateWayCredentials()[0]->GateWayIndex(), 2);
    EXPECT_FALSE(settings.Modified());
    settings.Save();
    EXPECT_EQ(read(path(u"Copy.dat"_s)), written);
}
