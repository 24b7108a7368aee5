#include "Disconnection.h"

#include "Dialer.h"
#include "MatrixStatus.h"
#include "RasControl.h"
#include "Status.h"

#include "common/DateFormat.h"
#include "common/Clock.h"
#include "common/Dialogs.h"
#include "common/Notices.h"
#include "common/SystemInfo.h"

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

void TDisconnection::StopConnection(bool askTapi)
{
    if (IsMtxState(TMtxState::TapiStart)) {
        if (!askTapi ||
            AskYesNo(u"Il dispositivo TAPI  non si può disconnettere con Vestrel!\r"_s
                     u"Interrompere il conteggio lo stesso?"_s) == DialogAnswer::Yes)
            SendMtxEvent(TMtxEvent::ManualStop);
        return;
    }
    if (IsMtxState(TMtxState::ManualStart)) {
        ShowNotice(Balloon::Notice, u"Interruzione conteggio avvio manuale"_s);
        SendMtxEvent(TMtxEvent::ManualStop);
    }
    if (IsMtxState(TMtxState::RasDialing)) {
        ShowNotice(Balloon::Notice, u"Interruzione selezione Ras"_s);
        SendMtxEvent(TMtxEvent::ManualStop);
    }
    if (IsMtxState(TMtxState::RasStart) || IsMtxState(TMtxState::RasConnected))
        ShowNotice(Balloon::Notice, u"Interruzione connessione Ras in corso..."_s);
    // Whatever the state: a line up without being counted goes too. The final poll reports the
    // line offline, which ends a dial-up count.
    m_ras.HangUpAll();
    if (m_dialer && m_dialer->IsOpen())
        m_dialer->Close();
}

namespace schedule {

QString ShutdownCaption()
{
    return u"Chiudi "_s + OSName() + u" alla disconnessione"_s;
}

TDateTime InitialMoment(const TStatus& status)
{
    return status.ScheduledDisconnect() != 0 ? status.ScheduledDisconnect() : Now();
}

std::optional<TDateTime> MomentInHours(const QString& text)
{
    bool ok = false;
    const int hours = text.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return Now() + hours / 24.0;
}

bool Schedule(TStatus& status, TDateTime date, TDateTime timeOfDay, bool shutdown)
{
    const TDateTime moment = DateOf(date) + TimeOf(timeOfDay);
    if (moment <= Now()) {
        ShowWarningBox(u"Uhm...l'orario specificato è già trascorso..."_s);
        return false;
    }
    status.SetShutdownAtDisconnect(shutdown);
    status.SetScheduledDisconnect(moment);
    ShowNotice(Balloon::Notice,
               u"Disconnessione programmata: "_s + FormatDateTime(u"dddd d mmmm yyyy h:nn:ss"_s, moment));
    return true;
}

void Cancel(TStatus& status)
{
    status.SetScheduledDisconnect(0);
    status.SetShutdownAtDisconnect(false);
    ShowNotice(Balloon::Notice, u"Annullata la disconnessione programmata"_s);
}

} // namespace schedule

} // namespace vestrel
