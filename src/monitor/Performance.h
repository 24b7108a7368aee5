#pragma once

#include "common/Timer.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <vector>

namespace vestrel::platform {
class TrafficService;
}

namespace vestrel {

// The counters of the interface being read.
struct TInstanceData {
    QString Name;
    // Per counter: the value last reported and the last raw reading.
    std::array<quint64, 2> Value{};
    std::array<quint64, 2> Raw{};
};

class TPerformance;
// Counter 0 is the bytes sent, 1 the bytes received, both since the connection began.
using TChangeDataEvent = std::function<void(const TInstanceData& instance, int index, quint64 value)>;
using TPerformanceError = std::function<void(TPerformance* sender, const QString& msg)>;

// Reads the traffic counters of the dial-up connection once a second while it is up and reports
// every change. After the first error it reads nothing more for the rest of the run.
class TPerformance : public QObject {
    Q_OBJECT
public:
    static constexpr int BytesSentCounter = 0;
    static constexpr int BytesReceivedCounter = 1;

    // Without a service, the process-wide one.
    explicit TPerformance(QObject* owner = nullptr, platform::TrafficService* service = nullptr);

    bool ActiveRAS() const { return m_active; }
    // On: finds the interface, reads it once and reads it every second from then on; stays off
    // when there is no such interface yet. Off: stops reading and remembers where the counters
    // stand, so a later connection over the same interface counts from there.
    void SetActiveRAS(bool value);
    // The interface to read; empty (the default) takes the connection's interface, else the
    // first dial-up interface present.
    QString InterfaceName() const { return m_interfaceName; }
    void SetInterfaceName(const QString& name) { m_interfaceName = name; }
    // Asked at each activation: the interface of the connection being counted, empty when the
    // dial-up service cannot tell. One that has no counters is passed over.
    void SetConnectionInterface(std::function<QString()> lookup)
    {
        m_connectionInterface = std::move(lookup);
    }

    // Reads once now (each tick does the same). An interface that has gone ends the reading
    // quietly, keeping the figures reported so far.
    void ReadNow();
    bool ErrorLatched() const { return m_latched; }
    const TInstanceData& Instance() const { return m_instance; }

    // The application's answer to OnError: once per installation (the flag
    // "DisableErrorBytesDialog" of section "Options") a warning that the byte counts cannot be
    // shown, with questionPending raised while the box is open.
    void WarnCountersUnavailable(const QString& msg,
                                 const std::function<void(bool)>& questionPending = {}) const;

    TChangeDataEvent OnChangeData;
    TPerformanceError OnError;

private:
    struct StartingPoint {
        QString name;
        int ifIndex = 0;
        std::array<quint64, 2> raw{};
    };
    void report(const std::array<quint64, 2>& raw);
    void stopReading();
    void fail(const QString& msg);

    platform::TrafficService& m_service;
    Timer m_timer;
    bool m_active = false;
    bool m_latched = false;
    QString m_interfaceName;
    std::function<QString()> m_connectionInterface;
    TInstanceData m_instance;
    int m_ifIndex = 0;
    std::array<quint64, 2> m_base{};
    std::vector<StartingPoint> m_startingPoints;
};

} // namespace vestrel
