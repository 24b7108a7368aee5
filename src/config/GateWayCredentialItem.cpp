#include "GateWayCredentialItem.h"

namespace vestrel {

using namespace store;

const ClassInfo& TGateWayCredentialItem::staticClassInfo()
{
    using T = TGateWayCredentialItem;
    static const ClassInfo info =
        ClassBuilder<T>("TGateWayCredentialItem", &TDataCollectionItem::staticClassInfo())
            .integer("GateWayIndex", &T::GateWayIndex, &T::SetGateWayIndex)
            .string("UserName", &T::UserName, &T::SetUserName)
            .string("Password", &T::Password, &T::SetPassword)
            .build();
    return info;
}

TGateWayCredentialItem* TGateWayCredentialItems::find(int position) const
{
    for (int i = 0; i < Count(); ++i)
        if ((*this)[i]->GateWayIndex() == position)
            return (*this)[i];
    return nullptr;
}

TGateWayCredentialItem* TGateWayCredentialItems::FindCredential(TGateWayLogin& gateway) const
{
    TGateWayCredentialItem* credential = find(gateway.GateWayPosition());
    if (credential) {
        gateway.SetLoginUserName(credential->UserName());
        gateway.SetLoginPassword(credential->Password());
    }
    return credential;
}

void TGateWayCredentialItems::SetCredential(TGateWayLogin& gateway, const QString& userName,
                                            const QString& password)
{
    gateway.SetLoginUserName(userName);
    gateway.SetLoginPassword(password);
    // Looked up without copying back: the old login must not replace the new one on the gateway.
    TGateWayCredentialItem* credential = find(gateway.GateWayPosition());
    if (!credential)
        credential = Add();
    credential->SetGateWayIndex(gateway.GateWayPosition());
    credential->SetUserName(userName);
    credential->SetPassword(password);
}

} // namespace vestrel
