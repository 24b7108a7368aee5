#pragma once

#include "platform/DialUpService.h"

#include <QObject>
#include <QStringList>

#include <functional>

namespace vestrel {

class Timer;

// The line state derived from the first active dial-up connection.
enum TLineState { LineOffline = 0, LineDialing = 1, LineConnecting = 2, LineOnline = 3, LineUnknown = 4 };

class TRasControl;
using TRasNotifyEvent = std::function<void(TRasControl* sender)>;
using TRasNotifyError = std::function<void(TRasControl* sender, int anError, int lastState)>;
using TRasNotify = std::function<void(TRasControl* sender, const QString& description)>;
using TRasNotifyConnection =
    std::function<void(TRasControl* sender, const QString& entry, const QString& userName,
                       const QString& password, const QString& phoneNumber)>;

struct TEntryCredentials {
    QString UserName;
    QString Password;
    bool PasswordPresent = false;
    bool Success = false;
};

// Watches the machine's dial-up connections and dials and hangs up phonebook entries, over the
// dial-up service. It knows nothing of tariffs: it turns what it sees into events. The line state
// is polled once a second while CheckBusy is on, and only its changes raise events; dials made
// here also report their progress. Failures of the service never raise: they go to the failure
// reporter and the operation returns its empty result.
class TRasControl : public QObject {
public:
    explicit TRasControl(QObject* owner = nullptr);
    explicit TRasControl(platform::DialUpService& service, QObject* owner = nullptr);
    ~TRasControl() override;

    // Longest wait of HangUp for the connection to go.
    static constexpr int HangUpWaitMs = 3000;

    bool CheckBusy() const;
    void SetCheckBusy(bool on);

    // The poll: raises OnRasChangeConnectionsNumber when the number of connections changed and
    // one event when the line state changed. An exception from an event handler stops polling
    // for good and goes on to the caller.
    void CheckConnection();
    TLineState ProbeLineState();
    int ConnectionsCount() const { return m_connectionsCount; }
    bool HasConnections();

    void Dial(const QString& entry, const QString& userName, const QString& password);
    // Waits, at most HangUpWaitMs on the Clock, until the connection has gone.
    void HangUp(platform::DialUpHandle handle);
    void HangUpAll();

    void GetRasEntries(QStringList& list);
    bool IsRasEntry(const QString& name);
    QString ActiveConnectionName();
    QString ConnectionIPAddress(const QString& entry);
    QString EntryPhoneNumber(const QString& entry);
    TEntryCredentials GetEntryCredentials(const QString& entry);
    bool SetEntryCredentials(const QString& entry, const QString& userName, const QString& password,
                             bool removePassword);
    QString RasErrorText(int code);

    // 2 not answered, 1 maybe answered, 0 answered.
    static int ClassifyDialFailure(int anError, int lastState);
    // The description of a dial-progress state 0..21; empty for other states.
    static QString DialStateDescription(int state);
    // The number an entry dials, from its properties.
    static QString ComposePhoneNumber(const platform::DialUpEntryProperties& properties);

    platform::DialUpHandle OwnDialHandle() const { return m_dialHandle; }
    int LastDialState() const { return m_lastDialState; }
    int LastError() const { return m_lastError; }
    TLineState LastLineState() const { return m_lineState; }

    // How HangUp lets time pass between two looks at the connection; the default sleeps. A
    // program on a virtual clock advances that clock here.
    void SetHangUpPause(std::function<void(int ms)> pause);

    TRasNotifyError OnRasError;
    TRasNotifyEvent OnRasConnect;
    TRasNotifyEvent OnRasOffLine;
    TRasNotifyEvent OnRasOnLine;
    TRasNotifyEvent OnRasConnecting;
    TRasNotifyEvent OnRasDialing;
    TRasNotifyEvent OnRasDisconnect;
    TRasNotifyEvent OnRasDeviceConnected;
    TRasNotifyEvent OnRasConnectDevice;
    TRasNotifyEvent OnRasLineBusy;
    TRasNotifyEvent OnWrongPassword;
    TRasNotifyEvent OnRasDisconnecting;
    TRasNotify OnRasEvent;
    TRasNotifyConnection OnRasStartConnecting;
    TRasNotifyEvent OnRasChangeConnectionsNumber;

private:
    void pollTick();
    void raise(const TRasNotifyEvent& event, const QString& procedure);
    void dialProgress(platform::DialUpHandle handle, qint32 state, platform::DialUpCode error);
    void dialFailure(platform::DialUpCode error);
    // The code of a service call, with LastRasAPI kept and failures reported.
    platform::DialUpCode called(const QString& function, platform::DialUpCode code);
    void report(const QString& text, platform::DialUpCode code);

    platform::DialUpService& m_service;
    Timer* m_pollTimer;
    bool m_checking = false;
    bool m_pollStopped = false;
    int m_connectionsCount = 0;
    TLineState m_lineState = LineOffline;
    platform::DialUpHandle m_dialHandle = 0;
    int m_lastDialState = 0;
    int m_lastError = 0;
    QString m_entry;
    QString m_userName;
    QString m_password;
    QString m_phoneNumber;
    std::function<void(int ms)> m_pause;
};

// The name of the dial-up function most recently called and answered (not with "missing").
QString LastRasAPI();
// The last event procedure of the poll: "DoCheckConnection", "DoRasOffLine", …
QString RasControlProcedure();
// Where the failure texts of TRasControl go; dropped while unset.
void SetRasFailureReporter(std::function<void(const QString& text)> reporter);
// Makes ErrorText give the dial-up texts of the installed service for 600..993.
void InstallRasErrorTexts();

} // namespace vestrel
