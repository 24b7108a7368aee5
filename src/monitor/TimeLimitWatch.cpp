#include "TimeLimitWatch.h"

#include "Disconnection.h"
#include "Status.h"

#include "common/Clock.h"
#include "common/Dialogs.h"
#include "common/Notices.h"
#include "common/SystemInfo.h"
#include "common/Timer.h"
#include "common/VestrelError.h"
#include "config/EntryItem.h"
#include "config/ProfileItem.h"
#include "platform/PowerService.h"

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

TTimeLimitWatch::TTimeLimitWatch(TStatus& status, TDisconnection& disconnection, QObject* owner)
    : QObject(owner), m_status(status), m_disconnection(disconnection),
      m_timer(new Timer(this, u"TimerDisconnessione"_s, 1000))
{
    connect(m_timer, &Timer::timeout, this, &TTimeLimitWatch::Check);
}

void TTimeLimitWatch::Start()
{
    m_timer->start();
}

void TTimeLimitWatch::Stop()
{
    m_timer->stop();
}

bool TTimeLimitWatch::IsEnabled() const
{
    return m_timer->isEnabled();
}

void TTimeLimitWatch::Check()
{
    if (!m_status.IsConnectionCounting())
        return;
    if (scheduledHourReached())
        return;
    const TEntryItem* entry = m_status.Entry();
    if (entry && applyLimit(entry->AutoDisconnect(), entry->TimeOutConnection(), entry->AskDisconnect()))
        return;
    if (const TProfileItem* profile = m_status.Profile())
        applyLimit(profile->AutoDisconnect(), profile->TimeOutConnection(), profile->AskDisconnect());
}

bool TTimeLimitWatch::scheduledHourReached()
{
    const TDateTime moment = m_status.ScheduledDisconnect();
    if (moment == 0 || Now() < moment)
        return false;
    ShowNotice(Balloon::Notice, u"E' l'ora X di disconnessione!!!"_s);
    try {
        m_disconnection.StopConnection(false);
    } catch (const VestrelError& e) {
        ShowNotice(Balloon::Notice, u"Problema durante la disconnessione: "_s + e.message());
    }
    // The moment stays: the reset at the end of counting clears it.
    if (m_status.ShutdownAtDisconnect() && m_shutdownAskedFor != moment) {
        m_shutdownAskedFor = moment;
        ShowNotice(Balloon::Notice, u"Chiusura di "_s + OSName() + u" in corso..."_s);
        ShutdownWindows(false);
    }
    return true;
}

bool TTimeLimitWatch::applyLimit(bool autoDisconnect, qint64 timeOutSeconds, bool askDisconnect)
{
    if (!autoDisconnect || m_status.Elapsed() <= timeOutSeconds)
        return false;
    ShowNotice(Balloon::Notice, u"Tempo di connessione scaduto!!!"_s);
    Stop();
    if (!askDisconnect) {
        m_disconnection.StopConnection(false);
        return true;
    }
    if (askQuestion(u"Tempo scaduto!!!\r\rInterrompi la connessione?"_s) == DialogAnswer::Yes)
        m_disconnection.StopConnection(true);
    return true;
}

DialogAnswer TTimeLimitWatch::askQuestion(const QString& text)
{
    // Cleared also when the question throws.
    struct Pending {
        TStatus& status;
        ~Pending() { status.SetQuestionPending(false); }
    } pending{m_status};
    m_status.SetQuestionPending(true);
    return AskYesNo(text);
}

} // namespace vestrel
