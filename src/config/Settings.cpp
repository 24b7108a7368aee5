#include "Settings.h"

#include "common/StringHelpers.h"

#include "common/Clock.h"

namespace vestrel {

using namespace store;
using namespace Qt::Literals::StringLiterals;

QString BuiltInAnnouncement()
{
    return u"È arrivato Vestrel 5.0: il costo delle tue connessioni, secondo per secondo."_s;
}

TSettings::TSettings(QObject* owner)
    : TPersistentComponent(owner),
      m_lastAnnounce(BuiltInAnnouncement()),
      m_internationalPrefix(u"00"_s)
{
}

TSettings::~TSettings()
{
    SaveOnDestroy();
}

const ClassInfo& TSettings::staticClassInfo()
{
    using T = TSettings;
    static const ClassInfo info =
        ClassBuilder<T>("TSettings", &TPersistentComponent::staticClassInfo())
            .collection("Profiles", &T::Profiles)
            .collection("Entrys", &T::Entrys)
            .collection("GateWayCredentials", &T::GateWayCredentials)
            .boolean("AutoTimeCheck", &T::AutoTimeCheck, &T::SetAutoTimeCheck)
            .boolean("CheckAnnounce", &T::CheckAnnounce, &T::SetCheckAnnounce)
            .string("LastAnnounce", &T::LastAnnounce, &T::SetLastAnnounce)
            .boolean("NoPrint", &T::NoPrint, &T::SetNoPrint)
            .floating("Installation", &T::Installation, &T::SetInstallation)
            .string("InternationalPrefix", &T::InternationalPrefix, &T::SetInternationalPrefix)
            .boolean("WinStart", &T::WinStart, &T::SetWinStart)
            .string("DeviceName", &T::DeviceName, &T::SetDeviceName)
            .boolean("FullTapiMonitor", &T::FullTapiMonitor, &T::SetFullTapiMonitor)
            .string("TimeServer", &T::TimeServer, &T::SetTimeServer)
            .integer("DialTimeTAPI", &T::DialTimeTAPI, &T::SetDialTimeTAPI)
            .boolean("AskRespondingCall", &T::AskRespondingCall, &T::SetAskRespondingCall)
            .build();
    return info;
}

void TSettings::SetTimeServer(const QString& v)
{
    assign(m_timeServer, TrimBlanks(v));
}

TProfileItem* TSettings::AddProfile(const QString& userName, const QString& password,
                                    TDiritti diritti, const QString& descrizione)
{
    TProfileItem* profile = m_profiles.Add();
    profile->SetUserName(userName);
    profile->SetPassword(password);
    profile->SetDescrizione(descrizione);
    profile->SetDiritti(diritti);
    profile->SetSoundsEnabled(true);
    profile->SetTimeOutConnection(600);
    profile->SetPreavviso(true);
    profile->SetTimeWaitApplications(4);
    profile->SetSkinName(DefaultSkinName());
    profile->SetSoundTypeOn(true);
    return profile;
}

TProfileItem* TSettings::FindProfile(const QString& name) const
{
    const QString wanted = name.toLower();
    for (int i = 0; i < m_profiles.Count(); ++i)
        if (m_profiles[i]->UserName().toLower() == wanted)
            return m_profiles[i];
    return nullptr;
}

void TSettings::DoLoaded()
{
    if (m_installation == 0)
        SetInstallation(Now());
    if (m_profiles.Count() == 0)
        AddProfile(u"Amministratore"_s, QString(), diAdmin, u"Descrizione (cambiare la pwd!)"_s);
}

} // namespace vestrel
