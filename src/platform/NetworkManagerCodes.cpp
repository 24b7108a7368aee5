#include "NetworkManagerDialUp.h"

namespace vestrel::platform {

using namespace Qt::Literals::StringLiterals;

// Failures of an activation, mapped onto the program's dial-up codes.
//
//  device state reason (NMDeviceStateReason)           code
//   7 no secrets, 34 PIN check failed,                  691 authentication failed
//     46/47 SIM PIN/PUK required, 54 SIM PIN incorrect
//  12 PPP start failed                                 633 port in use / not configured
//  13 PPP disconnect                                   629 disconnected by the remote computer
//  14 PPP failed                                       734 PPP link control terminated
//  23 modem busy                                       676 line busy
//  24 no dial tone                                     680 no dial tone
//  25 no carrier                                       679 no carrier
//  26 dial timeout                                     678 no answer
//  27 dial failed, 28 modem init failed, 52 modem      651 the modem reported an error
//     failed, 29 APN failed, 33 registration failed
//  31 registration denied                              649 no permission for remote access
//  32 registration timeout                             718 timed out waiting for the remote
//  35 firmware missing, 36 device removed,             633 device missing / not configured
//     43 modem not found, 44 bluetooth failed,
//     45 SIM not inserted, 48 SIM wrong
//  39 user requested                                   631 disconnected by the user
//
//  active connection state reason                       code (when the device names none)
//   2 user disconnected                                 631
//   3 device disconnected                               628 the port was disconnected
//   5 IP configuration invalid                          720 no PPP control protocol configured
//   6 connect timeout, 7 service start timeout          678 no answer
//   9 no secrets, 10 login failed                       691
//  11 connection removed                                623 entry not found
//  13 device realize failed, 14 device removed          633
//  anything else                                        668 the connection was ended
DialUpCode NetworkManagerFailureCode(quint32 deviceReason, quint32 activeReason)
{
    switch (deviceReason) {
    case 7: case 34: case 46: case 47: case 54: return DialUpAuthenticationFailed;
    case 12: return 633;
    case 13: return 629;
    case 14: return 734;
    case 23: return DialUpLineBusy;
    case 24: return 680;
    case 25: return 679;
    case 26: return DialUpNoAnswer;
    case 27: case 28: case 29: case 33: case 52: return 651;
    case 31: return 649;
    case 32: return 718;
    case 35: case 36: case 43: case 44: case 45: case 48: return 633;
    case 39: return 631;
    default: break;
    }
    switch (activeReason) {
    case 2: return 631;
    case 3: return 628;
    case 5: return 720;
    case 6: case 7: return DialUpNoAnswer;
    case 9: case 10: return DialUpAuthenticationFailed;
    case 11: return DialUpNoEntry;
    case 13: case 14: return 633;
    default: return DialUpNoConnection;
    }
}

// Error answers of NetworkManager's methods.
DialUpCode NetworkManagerErrorCode(const QString& name)
{
    if (name.endsWith(u".UnknownConnection"_s) || name.endsWith(u".InvalidConnection"_s)
        || name.endsWith(u".DoesNotExist"_s))
        return DialUpNoEntry;
    if (name.endsWith(u".UnknownDevice"_s) || name.endsWith(u".ConnectionNotAvailable"_s))
        return 633;
    if (name.endsWith(u".ConnectionNotActive"_s))
        return DialUpNoConnection;
    if (name.endsWith(u".ConnectionAlreadyActive"_s))
        return 602; // the port is already open
    if (name.endsWith(u".PermissionDenied"_s) || name.endsWith(u".AccessDenied"_s)
        || name.endsWith(u".NotAuthorized"_s))
        return DialUpAccessDenied;
    if (name.endsWith(u".NoSecrets"_s))
        return DialUpAuthenticationFailed;
    if (name == u"org.freedesktop.DBus.Error.NoReply"_s
        || name == u"org.freedesktop.DBus.Error.Timeout"_s)
        return 638; // the request timed out
    if (name == u"org.freedesktop.DBus.Error.ServiceUnknown"_s
        || name == u"org.freedesktop.DBus.Error.NameHasNoOwner"_s
        || name == u"org.freedesktop.DBus.Error.Disconnected"_s)
        return DialUpUnavailable;
    return 635; // unknown error
}

} // namespace vestrel::platform
