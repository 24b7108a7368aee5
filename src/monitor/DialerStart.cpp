#include "DialerStart.h"

#include "RasControl.h"
#include "Status.h"

#include "common/Timer.h"
#include "config/ProfileItem.h"

#include <algorithm>
#include <limits>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

TStartEntryDial::TStartEntryDial(TStatus& status, TRasControl& ras, QObject* owner)
    : QObject(owner), m_status(status), m_ras(ras), m_timer(new Timer(this, u"TimerDelayRasConnect"_s, 500))
{
    connect(m_timer, &Timer::timeout, this, &TStartEntryDial::fire);
}

void TStartEntryDial::Arm()
{
    const QString entry = startEntry();
    if (!entry.isEmpty() && m_ras.IsRasEntry(entry))
        m_timer->start();
}

bool TStartEntryDial::IsArmed() const
{
    return m_timer->isEnabled();
}

void TStartEntryDial::fire()
{
    m_timer->stop();
    const QString entry = startEntry();
    if (!entry.isEmpty() && m_ras.IsRasEntry(entry) && !m_status.StartedAtWinStart()) {
        const TLineState line = m_ras.ProbeLineState();
        if (line != LineDialing && line != LineConnecting && line != LineOnline) {
            // The applications started at the connection get their time before the dial.
            const qint64 waitMs = qint64(std::max(0, m_status.Profile()->TimeWaitApplications())) * 1000 + 1;
            m_status.DialEntry(entry, int(std::min<qint64>(waitMs, std::numeric_limits<int>::max())));
        }
    }
    m_status.SetStartedAtWinStart(false);
}

QString TStartEntryDial::startEntry() const
{
    const TProfileItem* profile = m_status.Profile();
    return profile ? profile->RasStartEntry() : QString();
}

} // namespace vestrel
