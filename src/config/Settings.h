#pragma once

#include "EntryItem.h"
#include "GateWayCredentialItem.h"
#include "ProfileItem.h"

#include "common/DateTime.h"
#include "store/PersistentComponent.h"

namespace vestrel {

// The announcement built into this release; the default of LastAnnounce.
QString BuiltInAnnouncement();

// The program-wide options, the user profiles, the per-connection options and the saved logins
// of the SMS gateways ("Settings.dat").
class TSettings : public store::TPersistentComponent {
public:
    explicit TSettings(QObject* owner = nullptr);
    ~TSettings() override;

    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    store::TCollectionOf<TProfileItem>& Profiles() { return m_profiles; }
    TEntryItems& Entrys() { return m_entrys; }
    TGateWayCredentialItems& GateWayCredentials() { return m_gateWayCredentials; }

    bool AutoTimeCheck() const { return m_autoTimeCheck; }
    void SetAutoTimeCheck(bool v) { assign(m_autoTimeCheck, v); }
    bool CheckAnnounce() const { return m_checkAnnounce; }
    void SetCheckAnnounce(bool v) { assign(m_checkAnnounce, v); }
    QString LastAnnounce() const { return m_lastAnnounce; }
    void SetLastAnnounce(const QString& v) { assign(m_lastAnnounce, v); }
    bool NoPrint() const { return m_noPrint; }
    void SetNoPrint(bool v) { assign(m_noPrint, v); }
    TDateTime Installation() const { return m_installation; }
    void SetInstallation(TDateTime v) { assign(m_installation, v); }
    QString InternationalPrefix() const { return m_internationalPrefix; }
    void SetInternationalPrefix(const QString& v) { assign(m_internationalPrefix, v); }
    bool WinStart() const { return m_winStart; }
    void SetWinStart(bool v) { assign(m_winStart, v); }
    QString DeviceName() const { return m_deviceName; }
    void SetDeviceName(const QString& v) { assign(m_deviceName, v); }
    bool FullTapiMonitor() const { return m_fullTapiMonitor; }
    void SetFullTapiMonitor(bool v) { assign(m_fullTapiMonitor, v); }
    // Trimmed when set.
    QString TimeServer() const { return m_timeServer; }
    void SetTimeServer(const QString& v);
    // Seconds.
    qint32 DialTimeTAPI() const { return m_dialTimeTAPI; }
    void SetDialTimeTAPI(qint32 v) { assign(m_dialTimeTAPI, v); }
    bool AskRespondingCall() const { return m_askRespondingCall; }
    void SetAskRespondingCall(bool v) { assign(m_askRespondingCall, v); }

    // A new profile at the end, with the options a new profile starts with.
    TProfileItem* AddProfile(const QString& userName, const QString& password, TDiritti diritti,
                             const QString& descrizione);
    // The first profile of that name, ignoring case; nullptr when none.
    TProfileItem* FindProfile(const QString& name) const;

    // Sets the installation time on the first start and makes sure a profile exists. Unlike the
    // base, raises no OnLoaded.
    void DoLoaded() override;

private:
    store::TCollectionOf<TProfileItem> m_profiles{this};
    TEntryItems m_entrys{this};
    TGateWayCredentialItems m_gateWayCredentials{this};
    bool m_autoTimeCheck = false;
    bool m_checkAnnounce = false;
    QString m_lastAnnounce;
    bool m_noPrint = false;
    TDateTime m_installation = 0;
    QString m_internationalPrefix;
    bool m_winStart = false;
    QString m_deviceName;
    bool m_fullTapiMonitor = false;
    QString m_timeServer;
    qint32 m_dialTimeTAPI = 5;
    bool m_askRespondingCall = true;
};

} // namespace vestrel
