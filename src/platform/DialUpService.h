#pragma once

#include <QString>
#include <QStringList>

namespace vestrel::platform {

// Result codes of the dial-up service. 0 is success; the others follow the numbering of the
// classic dial-up error codes (600 and up), so one error-text table serves every backend.
using DialUpCode = qint32;
inline constexpr DialUpCode DialUpOk = 0;
// The backend cannot do this at all (no dial-up support on this machine).
inline constexpr DialUpCode DialUpUnavailable = 1;
inline constexpr DialUpCode DialUpNoEntry = 623;

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

// The machine's dial-up connections as the program sees them: the entries that can be dialled and
// their saved logins. The connection monitor extends it with the active connections and their
// states, dialling with progress, hanging up and the connection's IP address, in the same style:
// every operation answers with a code, never with an exception.
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

    // The name is one of the entries (exact comparison); false when they cannot be listed.
    bool isEntry(const QString& name);

    // The process-wide service: the one installed last, else the backend VESTREL_DIALUP names,
    // else the best one present on this machine.
    static DialUpService& instance();
    // The caller keeps ownership; nullptr restores the default.
    static void setInstance(DialUpService* service);
};

} // namespace vestrel::platform
