#pragma once

#include "ProcessItem.h"

#include "store/DataCollection.h"

#include <QString>

namespace vestrel {

enum TDiritti { diAdmin, diUser };

// Name of the built-in skin, and what an empty SkinName reads as.
QString DefaultSkinName();

// The options of one person using the program.
class TProfileItem : public store::TDataCollectionItem {
public:
    TProfileItem();

    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    QString UserName() const { return m_userName; }
    void SetUserName(const QString& v) { assign(m_userName, v); }
    // Kept in clear text; nothing asks for it.
    QString Password() const { return m_password; }
    void SetPassword(const QString& v) { assign(m_password, v); }
    TDiritti Diritti() const { return m_diritti; }
    void SetDiritti(TDiritti v) { assign(m_diritti, v); }
    QString Descrizione() const { return m_descrizione; }
    void SetDescrizione(const QString& v) { assign(m_descrizione, v); }
    // Seconds.
    qint32 TimeOutConnection() const { return m_timeOutConnection; }
    void SetTimeOutConnection(qint32 v) { assign(m_timeOutConnection, v); }
    bool AttachMurphy() const { return m_attachMurphy; }
    void SetAttachMurphy(bool v) { assign(m_attachMurphy, v); }
    QString Signature() const { return m_signature; }
    void SetSignature(const QString& v) { assign(m_signature, v); }
    TProcessItems& Applications() { return m_applications; }
    const TProcessItems& Applications() const { return m_applications; }
    bool SoundsEnabled() const { return m_soundsEnabled; }
    void SetSoundsEnabled(bool v) { assign(m_soundsEnabled, v); }
    bool Speaker() const { return m_speaker; }
    void SetSpeaker(bool v) { assign(m_speaker, v); }
    bool Preavviso() const { return m_preavviso; }
    void SetPreavviso(bool v) { assign(m_preavviso, v); }
    bool Petulante() const { return m_petulante; }
    void SetPetulante(bool v) { assign(m_petulante, v); }
    bool AutoHide() const { return m_autoHide; }
    void SetAutoHide(bool v) { assign(m_autoHide, v); }
    bool ForceHide() const { return m_forceHide; }
    void SetForceHide(bool v) { assign(m_forceHide, v); }
    bool SoundTypeOn() const { return m_soundTypeOn; }
    void SetSoundTypeOn(bool v) { assign(m_soundTypeOn, v); }
    qint32 LastGateway() const { return m_lastGateway; }
    void SetLastGateway(qint32 v) { assign(m_lastGateway, v); }
    bool AutoDisconnect() const { return m_autoDisconnect; }
    void SetAutoDisconnect(bool v) { assign(m_autoDisconnect, v); }
    bool AskDisconnect() const { return m_askDisconnect; }
    void SetAskDisconnect(bool v) { assign(m_askDisconnect, v); }
    // Seconds.
    qint32 TimeWaitApplications() const { return m_timeWaitApplications; }
    void SetTimeWaitApplications(qint32 v) { assign(m_timeWaitApplications, v); }
    // Empty reads as the built-in skin.
    QString SkinName() const { return m_skinName.isEmpty() ? DefaultSkinName() : m_skinName; }
    void SetSkinName(const QString& v) { assign(m_skinName, v); }
    QString RasStartEntry() const { return m_rasStartEntry; }
    void SetRasStartEntry(const QString& v) { assign(m_rasStartEntry, v); }
    // Milliseconds; 0 hides the comparison note, -1 every note.
    qint32 TrayHintPause() const { return m_trayHintPause; }
    void SetTrayHintPause(qint32 v) { assign(m_trayHintPause, v); }
    bool SanctiOff() const { return m_sanctiOff; }
    void SetSanctiOff(bool v) { assign(m_sanctiOff, v); }

private:
    QString m_userName;
    QString m_password;
    TDiritti m_diritti = diAdmin;
    QString m_descrizione;
    qint32 m_timeOutConnection = 3600;
    bool m_attachMurphy = false;
    QString m_signature;
    TProcessItems m_applications{this};
    bool m_soundsEnabled = false;
    bool m_speaker = false;
    bool m_preavviso = false;
    bool m_petulante = false;
    bool m_autoHide = false;
    bool m_forceHide = false;
    bool m_soundTypeOn = false;
    qint32 m_lastGateway = 0;
    bool m_autoDisconnect = false;
    bool m_askDisconnect = true;
    qint32 m_timeWaitApplications = 0;
    QString m_skinName;
    QString m_rasStartEntry;
    qint32 m_trayHintPause = 10000;
    bool m_sanctiOff = false;
};

} // namespace vestrel
