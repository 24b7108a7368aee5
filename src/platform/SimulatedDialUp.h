#pragma once

#include "DialUpService.h"
#include "ScriptTimeline.h"

#include <QMap>
#include <QRecursiveMutex>

#include <vector>

namespace vestrel::platform {

// A scripted dial-up service: entries with their numbers and saved logins, connections that
// appear, change state and disappear at given moments of the Clock, dials that go through given
// progress states and succeed or fail, and failures of single operations.
class SimulatedDialUp final : public DialUpService {
public:
    struct Entry {
        QString name;
        DialUpCredentials credentials;
        DialUpEntryProperties properties = {};
    };
    // A state reached `atMs` after the start; a step with an error ends a dial there.
    struct Step {
        qint64 atMs = 0;
        qint32 state = DialUpState::OpeningPort;
        DialUpCode error = DialUpOk;
    };
    // How the dials go. `result` non-zero makes dial() itself fail at once; otherwise the
    // connection appears in OpeningPort and follows `steps`; reaching DialUpState::Connected
    // gives it `ip`.
    struct DialScript {
        std::vector<Step> steps;
        QString ip;
        DialUpCode result = DialUpOk;
    };
    struct DialRequest {
        QString entry;
        QString userName;
        QString password;
    };
    enum class Operation { Entries, Credentials, Properties, Connections, State, IpAddress, Dial, HangUp };

    SimulatedDialUp();
    explicit SimulatedDialUp(std::vector<Entry> entries);
    ~SimulatedDialUp() override;

    void addEntry(const QString& name, const DialUpCredentials& credentials = {});
    // Adds the entry when it is missing.
    void setEntryProperties(const QString& name, const DialUpEntryProperties& properties);
    void removeEntry(const QString& name);
    // Every call fails with `code` until it is set back to DialUpOk; `text` is its errorText.
    void setFailure(DialUpCode code, const QString& text = {});
    // The next `times` calls of one operation fail with `code`.
    void failNext(Operation operation, DialUpCode code, int times = 1);

    // The default dial reaches Connected in four seconds with address 10.0.0.2.
    void setDialScript(DialScript script);
    static DialScript successfulDial(const QString& ip);
    // Goes through `states` one second apart and fails with `error` one second after the last.
    static DialScript failingDial(std::vector<qint32> states, DialUpCode error);
    // The connection stays (in the state it had) for `ms` after a hang-up.
    void setHangUpDelay(qint64 ms);

    // Connections that come up by themselves, as one dialled by another program.
    DialUpHandle addConnection(const QString& entry, qint32 state, const QString& ip = {});
    void setConnectionState(DialUpHandle handle, qint32 state);
    void setConnectionIp(DialUpHandle handle, const QString& ip);
    void removeConnection(DialUpHandle handle);
    // A connection of `entry` appearing at the first step, going through the steps (their errors
    // are ignored) and disappearing at `goneAtMs` (never when negative); times from now.
    void scriptConnection(const QString& entry, std::vector<Step> steps, const QString& ip,
                          qint64 goneAtMs);
    // Any other scripted change, `ms` from now.
    void after(qint64 ms, ScriptTimeline::Step step);

    std::vector<DialRequest> dials() const;
    // The handles hung up, in order (also those that were already gone).
    std::vector<DialUpHandle> hangUps() const;
    int connectionCount() const;

    DialUpResult<QStringList> entries() override;
    DialUpResult<DialUpCredentials> entryCredentials(const QString& entry) override;
    DialUpCode setEntryCredentials(const QString& entry, const QString& userName,
                                   const QString& password, bool removePassword) override;
    QString errorText(DialUpCode code) const override;
    DialUpResult<DialUpEntryProperties> entryProperties(const QString& entry) override;
    DialUpResult<std::vector<DialUpConnection>> connections() override;
    DialUpResult<qint32> connectionState(DialUpHandle handle) override;
    DialUpResult<QString> ipAddress(DialUpHandle handle) override;
    DialUpResult<DialUpHandle> dial(const QString& entry, const QString& userName,
                                    const QString& password, DialUpProgress progress) override;
    DialUpCode hangUp(DialUpHandle handle) override;

private:
    struct Connection {
        DialUpHandle handle;
        QString entry;
        qint32 state;
        QString ip;
        bool hangingUp = false;
    };
    Entry* find(const QString& name);
    Connection* connection(DialUpHandle handle);
    DialUpCode failure(Operation operation);
    void dialStep(DialUpHandle handle, const Step& step, const QString& ip,
                  const DialUpProgress& progress);

    mutable QRecursiveMutex m_mutex;
    std::vector<Entry> m_entries;
    std::vector<Connection> m_connections;
    DialUpHandle m_nextHandle = 1;
    DialUpCode m_failure = DialUpOk;
    QMap<DialUpCode, QString> m_failureTexts;
    QMap<Operation, std::pair<DialUpCode, int>> m_nextFailures;
    DialScript m_dialScript;
    qint64 m_hangUpDelay = 0;
    std::vector<DialRequest> m_dials;
    std::vector<DialUpHandle> m_hangUps;
    ScriptTimeline m_timeline;
};

} // namespace vestrel::platform
