#include "Performance.h"

#include "common/Dialogs.h"
#include "common/Registry.h"
#include "platform/TrafficService.h"

#include <algorithm>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;
using platform::TrafficReading;

TPerformance::TPerformance(QObject* owner, platform::TrafficService* service)
    : QObject(owner),
      m_service(service ? *service : platform::TrafficService::instance()),
      m_timer(this, {}, 1000)
{
    connect(&m_timer, &Timer::timeout, this, &TPerformance::ReadNow);
}

void TPerformance::SetActiveRAS(bool value)
{
    if (value == m_active)
        return;
    if (!value) {
        stopReading();
        m_startingPoints.erase(
            std::remove_if(m_startingPoints.begin(), m_startingPoints.end(),
                           [&](const StartingPoint& p) { return p.name == m_instance.Name; }),
            m_startingPoints.end());
        m_startingPoints.push_back({m_instance.Name, m_ifIndex, m_instance.Raw});
        return;
    }
    if (m_latched)
        return;

    QString name = m_interfaceName;
    if (name.isEmpty() && m_connectionInterface)
        name = m_connectionInterface();
    TrafficReading reading;
    if (!name.isEmpty())
        reading = m_service.read(name);
    if (reading.status == TrafficReading::Status::Missing && m_interfaceName.isEmpty()) {
        // Not told, or told one without counters of its own: the first dial-up interface.
        const QString first = m_service.dialUpInterfaces().value(0);
        if (!first.isEmpty() && first != name) {
            name = first;
            reading = m_service.read(name);
        }
    }
    if (reading.status == TrafficReading::Status::Missing)
        return;
    if (reading.status == TrafficReading::Status::Failed) {
        fail(reading.error);
        return;
    }

    m_instance = TInstanceData{name, {}, {}};
    m_ifIndex = reading.ifIndex;
    m_base = {};
    const auto point = std::find_if(m_startingPoints.begin(), m_startingPoints.end(),
                                    [&](const StartingPoint& p) { return p.name == name; });
    // The same interface still up (a persistent modem link): count from where the previous
    // connection ended. A new interface counts from its creation.
    if (point != m_startingPoints.end() && point->ifIndex == reading.ifIndex
        && point->raw[0] <= reading.bytesSent && point->raw[1] <= reading.bytesReceived)
        m_base = point->raw;
    m_active = true;
    m_timer.start();
    report({reading.bytesSent, reading.bytesReceived});
}

void TPerformance::ReadNow()
{
    if (!m_active || m_latched)
        return;
    const TrafficReading reading = m_service.read(m_instance.Name);
    switch (reading.status) {
    case TrafficReading::Status::Missing:
        stopReading();
        return;
    case TrafficReading::Status::Failed:
        fail(reading.error);
        return;
    case TrafficReading::Status::Ok:
        break;
    }
    if (reading.ifIndex != m_ifIndex || reading.bytesSent < m_base[0]
        || reading.bytesReceived < m_base[1]) {
        // Created again under the same name: another connection, counted from its start.
        m_ifIndex = reading.ifIndex;
        m_base = {};
    }
    report({reading.bytesSent, reading.bytesReceived});
}

void TPerformance::report(const std::array<quint64, 2>& raw)
{
    for (int i = 0; i < 2; ++i) {
        m_instance.Raw[i] = raw[i];
        const quint64 value = raw[i] - m_base[i];
        if (value == m_instance.Value[i])
            continue;
        m_instance.Value[i] = value;
        if (OnChangeData)
            OnChangeData(m_instance, i, value);
    }
}

void TPerformance::stopReading()
{
    m_timer.stop();
    m_active = false;
}

void TPerformance::fail(const QString& msg)
{
    stopReading();
    m_latched = true;
    if (OnError)
        OnError(this, msg);
}

void TPerformance::WarnCountersUnavailable(const QString& msg,
                                           const std::function<void(bool)>& questionPending) const
{
    const QString section = u"Options"_s;
    const QString flag = u"DisableErrorBytesDialog"_s;
    if (ReadRegBool(section, flag, false))
        return;
    WriteRegBool(section, flag, true);
    if (questionPending)
        questionPending(true);
    ShowWarningBox(u"Peccato la versione corrente del RAS DUN manager non consente il "
                   u"monitoraggio dei byte in ingresso e uscita!\r"
                   u"Per attivare la funzionalità occorre aggiornare il supporto del Dial Up "
                   u"Networking di Windows\r["_s
                   + msg + u"]\r"_s + m_service.description());
    if (questionPending)
        questionPending(false);
}

} // namespace vestrel
