#include "AskHoldTimer.h"

#include "MatrixStatus.h"

#include "common/Dialogs.h"
#include "common/Timer.h"

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

TAskHoldTimer::TAskHoldTimer(QObject* owner)
    : QObject(owner), m_timer(new Timer(this, u"TimerAskHold"_s, 10))
{
    connect(m_timer, &Timer::timeout, this, &TAskHoldTimer::TimerAskHoldTimer);
}

TAskHoldTimer::~TAskHoldTimer() = default;

void TAskHoldTimer::Start()
{
    m_timer->start();
}

bool TAskHoldTimer::IsEnabled() const
{
    return m_timer->isEnabled();
}

void TAskHoldTimer::TimerAskHoldTimer()
{
    m_timer->stop();
    if (OnQuestionPending)
        OnQuestionPending(true);
    const DialogAnswer answer =
        AskYesNo(u"La connessione non è riuscita!"_s + u"\r\r"_s + u"C'è stata risposta alla chiamata?"_s);
    if (OnQuestionPending)
        OnQuestionPending(false);
    SendMtxEvent(answer == DialogAnswer::Yes ? TMtxEvent::Answered : TMtxEvent::NoAnswered);
}

} // namespace vestrel
