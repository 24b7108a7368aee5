#include "ProfileItem.h"

namespace vestrel {

using namespace store;
using namespace Qt::Literals::StringLiterals;

QString DefaultSkinName()
{
    return u"<Predefinita>"_s;
}

TProfileItem::TProfileItem()
{
    m_applications.OnError = &ReportApplicationError;
}

const ClassInfo& TProfileItem::staticClassInfo()
{
    using T = TProfileItem;
    static const EnumNames diritti = {"diAdmin", "diUser"};
    static const ClassInfo info =
        ClassBuilder<T>("TProfileItem", &TDataCollectionItem::staticClassInfo())
            .string("UserName", &T::UserName, &T::SetUserName)
            .string("Password", &T::Password, &T::SetPassword)
            .enumeration("Diritti", &T::Diritti, &T::SetDiritti, diritti)
            .string("Descrizione", &T::Descrizione, &T::SetDescrizione)
            .integer("TimeOutConnection", &T::TimeOutConnection, &T::SetTimeOutConnection)
            .boolean("AttachMurphy", &T::AttachMurphy, &T::SetAttachMurphy)
            .string("Signature", &T::Signature, &T::SetSignature)
            .collection("Applications", qNonConstOverload<>(&T::Applications))
            .boolean("SoundsEnabled", &T::SoundsEnabled, &T::SetSoundsEnabled)
            .boolean("Speaker", &T::Speaker, &T::SetSpeaker)
            .boolean("Preavviso", &T::Preavviso, &T::SetPreavviso)
            .boolean("Petulante", &T::Petulante, &T::SetPetulante)
            .boolean("AutoHide", &T::AutoHide, &T::SetAutoHide)
            .boolean("ForceHide", &T::ForceHide, &T::SetForceHide)
            .boolean("SoundTypeOn", &T::SoundTypeOn, &T::SetSoundTypeOn)
            .integer("LastGateway", &T::LastGateway, &T::SetLastGateway)
            .boolean("AutoDisconnect", &T::AutoDisconnect, &T::SetAutoDisconnect)
            .boolean("AskDisconnect", &T::AskDisconnect, &T::SetAskDisconnect)
            .integer("TimeWaitApplications", &T::TimeWaitApplications, &T::SetTimeWaitApplications)
            .string("SkinName", &T::SkinName, &T::SetSkinName)
            .string("RasStartEntry", &T::RasStartEntry, &T::SetRasStartEntry)
            .integer("TrayHintPause", &T::TrayHintPause, &T::SetTrayHintPause)
            .boolean("SanctiOff", &T::SanctiOff, &T::SetSanctiOff)
            .build();
    return info;
}

} // namespace vestrel
