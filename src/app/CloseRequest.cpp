#include "CloseRequest.h"

#include "ExceptionReport.h"

#include "common/Dialogs.h"
#include "common/VestrelError.h"
#include "config/ProfileItem.h"
#include "monitor/DataShare.h"
#include "monitor/Dialer.h"
#include "monitor/Disconnection.h"
#include "monitor/MatrixStatus.h"
#include "monitor/ProcessControl.h"
#include "monitor/Status.h"

#include <exception>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

bool ask(TDataShare& data, bool sessionEnding, bool smsToSend)
{
    TStatus& status = data.Status();
    const QString suffix = smsToSend ? u"\r\r[Ci sono dei messaggi sms da inviare!]"_s : QString();
    if (sessionEnding) {
        status.StopCounting();
        return true;
    }
    if (IsMtxState(TMtxState::RasConnected)) {
        switch (AskYesNoCancel(u"Interrompere la connessione: "_s + status.EntryName() + suffix)) {
        case DialogAnswer::Yes:
            data.Disconnection().StopConnection(false);
            status.StopCounting();
            return true;
        case DialogAnswer::No:
            status.StopCounting();
            return true;
        default:
            return false;
        }
    }
    if (status.IsConnectionCounting()) {
        if (AskYesNo(u"Il conteggio è in corso! Chiudere lo stesso?"_s) != DialogAnswer::Yes)
            return false;
        data.Disconnection().StopConnection(false);
        status.StopCounting();
    }
    return true;
}

} // namespace

bool QueryClose(TDataShare& data, bool sessionEnding, bool smsToSend)
{
    try {
        if (!ask(data, sessionEnding, smsToSend))
            return false;
        if (data.Dialer().IsWaitingToDial())
            data.Dialer().Close();
        if (TProfileItem* profile = data.Status().Profile())
            data.Launcher().CloseAllOfKind(profile->Applications(), ckExit);
    } catch (const VestrelError& e) {
        ReportException(nullptr, u"Eccezione nella chiusura "_s + e.message());
    } catch (const std::exception& e) {
        ReportException(nullptr, u"Eccezione nella chiusura "_s + QString::fromLocal8Bit(e.what()));
    }
    return true;
}

} // namespace vestrel
