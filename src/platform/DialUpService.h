#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace vestrel::platform {

// Result codes of the dial-up service. 0 is success; the others follow the numbering of the
// classic dial-up error codes (600 and up), so one error-text table serves every backend.
using DialUpCode = qint32;
inline constexpr DialUpCode DialUpOk = 0;
// The backend cannot do this at all (no dial-up support on this machine, or an operation the
// backend lacks).
inline constexpr DialUpCode DialUpUnavailable = 1;
inline constexpr DialUpCode DialUpAccessDenied = 5;
// The connection handle is no longer known: the connection is gone.
inline constexpr DialUpCode DialUpInvalidHandle = 6;
inline constexpr DialUpCode DialUpBufferTooSmall = 603;
inline constexpr DialUpCode DialUpNoEntry = 623;
inline constexpr DialUpCode DialUpPasswordExpired = 648;
inline constexpr DialUpCode DialUpNoConnection = 668;
inline constexpr DialUpCode DialUpLineBusy = 676;
inline constexpr DialUpCode DialUpNoAnswer = 678;
inline constexpr DialUpCode DialUpAuthenticationFailed = 691;

// Connection states, numbered as the program's dial-up codes: 0..21 while a connection is being
// set up, then connected or disconnected. Only the ones the program tells apart are named.
namespace DialUpState {
inline constexpr qint32 OpeningPort = 0;
inline constexpr qint32 PortOpened = 1;
inline constexpr qint32 ConnectingDevice = 2;
inline constexpr qint32 DeviceConnected = 3;
inline constexpr qint32 AllDevicesConnected = 4;
inline constexpr qint32 Authenticating = 5;
inline constexpr qint32 Authenticated = 14;
inline constexpr qint32 Projected = 18;
inline constexpr qint32 LastSetUpState = 21;
inline constexpr qint32 Connected = 0x2000;
inline constexpr qint32 Disconnected = 0x2001;
} // namespace DialUpState

// Identifies one active connection; 0 is none.
using DialUpHandle = quint64;

template <class T>
struct DialUpResult {
    DialUpCode code = DialUpOk;
    T value{};
    bool ok() const { return code == DialUpOk; }
};

// The saved login of a dial-up entry.
struct DialUpCredentials {
    QString userName;
    QString password;
    // Whether a password is saved (an empty one counts).
    bool hasPassword = false;
    friend bool operator==(const DialUpCredentials&, const DialUpCredentials&) = default;
};

// What an entry dials.
struct DialUpEntryProperties {
    QString localPhoneNumber;
    QString areaCode;
    qint32 countryCode = 39;
    // The number is composed from country code, area code and local number.
    bool useCountryAndAreaCodes = false;
};

struct DialUpConnection {
    DialUpHandle handle = 0;
    QString entry;
};

// Progress of a dial: a set-up state with error 0, or the error that ended the dial with the state
// reached. Always delivered later on the user-interface thread, never from inside dial().
using DialUpProgress = std::function<void(DialUpHandle handle, qint32 state, DialUpCode error)>;

// The machine's dial-up connections as the program sees them: the entries that can be dialled,
// their numbers and saved logins, the active connections and their states, dialling with
// progress, hanging up and the connection's IP address. Every operation answers with a code,
// never with an exception; an operation a backend does not offer answers DialUpUnavailable.
// entries() and entryProperties() may be called from a worker thread.
class DialUpService {
public:
    virtual ~DialUpService() = default;

    // Names of the entries in the backend's order; no name is empty.
    virtual DialUpResult<QStringList> entries() = 0;
    virtual DialUpResult<DialUpCredentials> entryCredentials(const QString& entry) = 0;
    // Saves the user name and, unless removePassword is set, the password; with removePassword
    // the saved password is forgotten.
    virtual DialUpCode setEntryCredentials(const QString& entry, const QString& userName,
                                           const QString& password, bool removePassword) = 0;
    // Text of a code this backend returned; empty when it has none.
    virtual QString errorText(DialUpCode code) const;

    virtual DialUpResult<DialUpEntryProperties> entryProperties(const QString& entry);
    // The active connections, oldest first.
    virtual DialUpResult<std::vector<DialUpConnection>> connections();
    // A DialUpState value; DialUpInvalidHandle once the connection is gone.
    virtual DialUpResult<qint32> connectionState(DialUpHandle handle);
    // The address the connection was given, as dotted text.
    virtual DialUpResult<QString> ipAddress(DialUpHandle handle);
    // The network interface that carries the connection's traffic (ppp0, wwan0); empty while
    // the backend cannot tell.
    virtual DialUpResult<QString> interfaceName(DialUpHandle handle);
    // Starts dialling. The handle may be non-zero even when the code is not DialUpOk; it is then
    // still to be hung up. Progress arrives through `progress` until the connection is connected, has failed
    // or was hung up.
    virtual DialUpResult<DialUpHandle> dial(const QString& entry, const QString& userName,
                                            const QString& password, DialUpProgress progress);
    // DialUpNoConnection when the connection is already gone. The connection may take a moment to
    // go; connectionState() tells when it has.
    virtual DialUpCode hangUp(DialUpHandle handle);

    // The name is one of the entries (exact comparison); false when they cannot be listed.
    bool isEntry(const QString& name);
    // False for the backend of a machine without any dial-up service: nothing can be seen or
    // dialled, only manual starts and line calls are counted.
    virtual bool available() const { return true; }

    // The process-wide service: the one installed last, else the backend VESTREL_DIALUP names,
    // else the best one present on this machine.
    static DialUpService& instance();
    // The caller keeps ownership; nullptr restores the default.
    static void setInstance(DialUpService* service);
};

// The program's own text for a dial-up code (600..993 and the few system codes it meets);
// empty for codes it does not know.
QString StandardDialUpErrorText(DialUpCode code);

} // namespace vestrel::platform
