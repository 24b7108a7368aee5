#pragma once

#include "store/DataCollection.h"

#include <QString>

namespace vestrel {

// What the saved logins need of an SMS gateway: its position in the gateway list and the login
// it uses while the program runs. The gateway item implements it.
class TGateWayLogin {
public:
    virtual ~TGateWayLogin() = default;
    virtual int GateWayPosition() const = 0;
    virtual void SetLoginUserName(const QString& userName) = 0;
    virtual void SetLoginPassword(const QString& password) = 0;
};

// The saved login of one SMS gateway, in clear text.
class TGateWayCredentialItem : public store::TDataCollectionItem {
public:
    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    // Position of the gateway in the gateway store's list.
    qint32 GateWayIndex() const { return m_gateWayIndex; }
    void SetGateWayIndex(qint32 v) { assign(m_gateWayIndex, v); }
    QString UserName() const { return m_userName; }
    void SetUserName(const QString& v) { assign(m_userName, v); }
    QString Password() const { return m_password; }
    void SetPassword(const QString& v) { assign(m_password, v); }

private:
    qint32 m_gateWayIndex = 0;
    QString m_userName;
    QString m_password;
};

// The GateWayCredentials collection of the settings store.
class TGateWayCredentialItems : public store::TCollectionOf<TGateWayCredentialItem> {
public:
    using TCollectionOf::TCollectionOf;

    // The first login saved for the gateway's position, copied into the gateway; nullptr (and the
    // gateway unchanged) when there is none.
    TGateWayCredentialItem* FindCredential(TGateWayLogin& gateway) const;
    // Gives the gateway this login and saves it, in its existing credential or a new one.
    void SetCredential(TGateWayLogin& gateway, const QString& userName, const QString& password);

private:
    TGateWayCredentialItem* find(int position) const;
};

} // namespace vestrel
