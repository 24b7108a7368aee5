#pragma once

#include "LineService.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <memory>
#include <optional>
#include <vector>

class QDBusServiceWatcher;

namespace vestrel::platform {

// One line message: a LineCallState value and its mode.
struct LineStateStep {
    quint32 state = 0;
    quint32 mode = 0;
    friend bool operator==(const LineStateStep&, const LineStateStep&) = default;
};

// The line messages a ModemManager call state stands for (see the table in the source).
// `direction` is the call's MMCallDirection, `reason` the MMCallStateReason that came with the
// state, `announced` whether the call's dialling (outgoing) or offering (incoming) has already
// been sent: a call first seen further on is sent that state first, as a line shows it.
std::vector<LineStateStep> ModemManagerCallSteps(qint32 mmState, qint32 direction, quint32 reason,
                                                 bool announced);

// The telephone lines of ModemManager (org.freedesktop.ModemManager1) on `bus`: the devices are
// the modems that offer voice calls, named by manufacturer and model (the primary port when
// they tell neither, or to tell two alike apart), and the calls of a watched modem arrive as line
// messages with their number. The modems are listed once, by initialize(). Every D-Bus call waits at
// most `timeoutMs`; a service that is not there is a machine without line devices.
class ModemManagerLine final : public QObject, protected QDBusContext, public LineService {
    Q_OBJECT
public:
    explicit ModemManagerLine(QDBusConnection bus = QDBusConnection::systemBus(),
                              int timeoutMs = 5'000);
    ~ModemManagerLine() override;

    LineResult<qint32> initialize(const QString& appName, LineMessageHandler handler) override;
    LineCode shutdown() override;
    LineResult<LineDeviceCaps> deviceCaps(qint32 deviceId) override;
    LineResult<LineHandle> openMonitor(qint32 deviceId) override;
    LineCode close(LineHandle line) override;
    LineResult<LineCallInfo> callInfo(LineCallHandle call) override;
    LineCode deallocateCall(LineCallHandle call) override;
    // For LineErrOperationFailed also what the bus answered.
    QString errorText(LineCode code) const override;

private Q_SLOTS:
    void onCallAdded(const QDBusObjectPath& call);
    void onCallDeleted(const QDBusObjectPath& call);
    void onCallStateChanged(int oldState, int newState, uint reason);
    void onPropertiesChanged(const QString& interface, const QVariantMap& changed,
                             const QStringList& invalidated);
    void onInterfacesRemoved(const QDBusObjectPath& object, const QStringList& interfaces);

private:
    struct Modem {
        QString path;
        QString name;
        QString port;
    };
    struct Call {
        LineCallHandle handle = 0;
        // Empty once the call object has left the bus.
        QString path;
        qint32 deviceId = 0;
        qint32 direction = 0;
        LineCallInfo info;
        bool announced = false;
        // The last state sent, 0 before the first.
        quint32 lineState = 0;
    };
    struct OpenLine {
        LineHandle handle = 0;
        qint32 deviceId = 0;
    };

    bool isMonitored(qint32 deviceId) const;
    qint32 deviceOfModem(const QString& modemPath) const;
    Call* find(LineCallHandle handle);
    Call* findPath(const QString& path);
    void listen(const QString& path, const QString& iface, const QString& name, const char* slot,
                bool on);
    void subscribe(const QString& modemPath, bool on);
    void subscribeShared(bool on);
    struct Adopted {
        LineCallHandle handle = 0;
        qint32 state = 0;
        quint32 reason = 0;
    };
    // A call of a watched modem, taken into the table with what the bus tells of it; nothing
    // when the call is gone already.
    std::optional<Adopted> adopt(const QString& callPath, qint32 deviceId);
    void setNumber(Call& call, const QString& number);
    void deliver(LineCallHandle handle, qint32 mmState, quint32 reason);
    // Disconnected and idle for a call whose object went away without saying it ended.
    void end(LineCallHandle handle);
    void endCallsOf(qint32 deviceId);
    void send(LineCallHandle handle, qint32 message, qint64 p1, qint64 p2);
    void onServiceGone();

    QDBusConnection m_bus;
    int m_timeoutMs;
    LineMessageHandler m_handler;
    std::vector<Modem> m_modems;
    std::vector<OpenLine> m_lines;
    std::vector<Call> m_calls;
    LineHandle m_nextLine = 1;
    LineCallHandle m_nextCall = 0x100;
    bool m_sharedSignals = false;
    QString m_failure;
    QDBusServiceWatcher* m_watcher;
};

// The backend of a machine without telephone lines: it initialises with no devices.
class NoLine final : public LineService {
public:
    LineResult<qint32> initialize(const QString&, LineMessageHandler) override { return {LineOk, 0}; }
    LineCode shutdown() override { return LineOk; }
};

// The backend VESTREL_LINE names (simulated, modemmanager, none), else ModemManager when it
// answers on `bus`, else NoLine.
std::unique_ptr<LineService> CreateDefaultLineService(const QDBusConnection& bus);

} // namespace vestrel::platform
