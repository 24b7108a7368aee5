#include "Dialer.h"

#include "Disconnection.h"
#include "MatrixStatus.h"
#include "RasControl.h"
#include "Status.h"

#include "common/Clock.h"
#include "common/Dialogs.h"
#include "common/ErrorText.h"
#include "common/Notices.h"
#include "common/Timer.h"
#include "config/Settings.h"
#include "tariff/TaxItem.h"

#include <algorithm>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString cancelCaption = u"&Annulla"_s;
const QString closeCaption = u"&Chiudi"_s;
// The error the dial-up service gives for a busy line.
constexpr int lineBusyError = 676;

} // namespace

TDialer::TDialer(TStatus& status, TRasControl& ras, TDisconnection& disconnection, QObject* owner)
    : QObject(owner), m_status(status), m_ras(ras), m_disconnection(disconnection),
      m_delayTimer(new Timer(this, u"TimerDelay"_s, 0)),
      m_recallTimer(new Timer(this, u"TimerRecall"_s, RecallIntervalMs)), m_buttonCaption(cancelCaption)
{
    AskPassword = [](const TPasswordRequest&) { return TPasswordReply{}; };
    connect(m_delayTimer, &Timer::timeout, this, &TDialer::dial);
    connect(m_recallTimer, &Timer::timeout, this, &TDialer::recallTick);
    m_disconnection.SetDialer(this);
}

TDialer::~TDialer()
{
    if (m_disconnection.Dialer() == this)
        m_disconnection.SetDialer(nullptr);
}

void TDialer::DialRequested(const QString& entry, int delayMs)
{
    m_retryMode = rmNone;
    OpenDialWindow(entry, delayMs);
}

void TDialer::OpenDialWindow(const QString& entry, int delayMs)
{
    if (m_status.DialingNumber().trimmed().isEmpty())
        m_status.SetDialingNumber(m_ras.EntryPhoneNumber(entry));
    m_open = true;
    m_buttonCaption = cancelCaption;
    m_animating = true;
    m_retryOffered = false;
    m_entryChoiceEnabled = false;
    m_entry = entry;
    m_credentialsConfirmed = false;
    m_progress = 0;
    if (OnShow)
        OnShow(this);
    progressLine(u"Connessione a "_s + entry + u" in corso..."_s);
    // An interval of 0 would never fire: the shortest wait is a millisecond.
    m_delayTimer->setInterval(std::max(delayMs, 1));
    m_delayTimer->start();
    m_recallTimer->stop();
}

void TDialer::DialFromMenu(const QString& entry)
{
    if (!m_open) {
        m_status.DialEntry(entry, 100);
        return;
    }
    if (OnShow)
        OnShow(this);
    ShowInfoBox(Caption() + u'\r' + m_progressLine);
}

void TDialer::CloseDial(bool silent)
{
    m_status.SetDialingNumber({});
    if (!silent && m_open)
        progressLine(u"Chiusura della connessione a "_s + m_entry + u"..."_s);
    m_disconnection.StopConnection(false);
    Close();
}

void TDialer::Close()
{
    if (!m_open)
        return;
    m_delayTimer->stop();
    m_recallTimer->stop();
    m_open = false;
    m_entry.clear();
    m_userName.clear();
    m_password.clear();
    m_credentialsConfirmed = false;
    m_attempts = 0;
    m_retryMoment = 0;
    m_cycleIndex = 0;
    m_lastErrorText.clear();
    m_progressLine.clear();
    m_memo.clear();
    m_progress = 0;
    m_buttonCaption = cancelCaption;
    m_retryOffered = false;
    m_entryChoiceEnabled = true;
    m_animating = false;
    m_cycleOptionOffered = false;
    m_cycleHint.clear();
    m_stateText.clear();
    if (OnClose)
        OnClose(this);
}

void TDialer::SelectEntry(const QString& entry)
{
    m_entry = entry;
    changed();
}

void TDialer::Retry()
{
    OpenDialWindow(m_entry, 10);
}

void TDialer::Cancel()
{
    m_progress = ProgressMax;
    changed();
    CloseDial(false);
}

void TDialer::SetCycleEntries(bool on)
{
    if (on) {
        m_retryMode = rmCycle;
        QStringList names = entriesOfCurrentTariff();
        for (QString& name : names)
            name = name.trimmed();
        m_cycleHint = u"Riprova ciclicamente con \r"_s + names.join(u'\r');
    } else {
        m_retryMode = rmSame;
        m_cycleHint = u"Prova con la connessione corrente"_s;
    }
    changed();
}

void TDialer::DialProgress(const QString& description)
{
    if (!m_open)
        return;
    progressLine(description);
    stepProgress();
    changed();
}

void TDialer::DialError(int anError, int lastState)
{
    if (!m_open)
        return;
    m_lastErrorText = ErrorText(anError);
    // A call that was not answered cost nothing and is tried again by itself; one that may have
    // been answered was charged, so the user decides, and is called to the screen for it.
    const bool mayBeCharged = TRasControl::ClassifyDialFailure(anError, lastState) != 2;
    if (!mayBeCharged)
        startRetryWait();
    m_stateText = m_lastErrorText;
    m_animating = false;
    m_retryOffered = true;
    m_entryChoiceEnabled = true;
    m_buttonCaption = closeCaption;
    progressLine(u"Errore: "_s + m_lastErrorText);
    m_progress = ProgressMax;
    changed();
    if (OnDialError)
        OnDialError(this, anError != lineBusyError && mayBeCharged);
}

void TDialer::LineBusy()
{
    if (!m_open)
        return;
    m_cycleOptionOffered = entriesOfCurrentTariff().size() > 1;
    startRetryWait();
    m_progress = 0;
    changed();
}

void TDialer::ShowMachineState()
{
    m_stateText = m_status.ConnectionStateText();
    changed();
}

bool TDialer::IsWaitingToDial() const
{
    return m_delayTimer->isEnabled();
}

bool TDialer::IsWaitingToRetry() const
{
    return m_recallTimer->isEnabled();
}

QString TDialer::Caption() const
{
    return u"Connessione a "_s + m_entry;
}

QString TDialer::EntryHint() const
{
    return u"Vestrel lancia la connessione a "_s + m_entry;
}

void TDialer::dial()
{
    m_status.SetDialedByProgram(true);
    ++m_attempts;
    if (m_memo.size() > MemoLimit)
        m_memo.clear();
    if (m_attempts > 1)
        progressLine(u"Connessione ["_s + QString::number(m_attempts) + u"] a "_s + m_entry +
                     u" in corso..."_s);
    m_delayTimer->stop();
    m_credentialsConfirmed = false;
    stepProgress();
    changed();

    const QString entry = m_entry;
    const TEntryCredentials saved = m_ras.GetEntryCredentials(entry);
    // Makes the entry's tariff current.
    m_status.SetEntryName(entry);
    if (saved.PasswordPresent) {
        SendMtxEvent(TMtxEvent::RasDialing);
        m_ras.Dial(entry, saved.UserName, saved.Password);
        return;
    }
    if (!askCredentials(saved)) {
        CloseDial(false);
        return;
    }
    // Closed while the question was on screen (the line came up, or a stop): no dial.
    if (!m_open)
        return;
    SendMtxEvent(TMtxEvent::RasDialing);
    m_ras.Dial(entry, m_userName, m_password);
}

void TDialer::recallTick()
{
    const qint64 leftMs = std::max<qint64>(0, DateTimeToMSecs(m_retryMoment) - DateTimeToMSecs(Now()));
    const qint64 left = leftMs / 1000;
    progressLine(u"Vestrel al prossimo tentativo ["_s + QString::number(m_attempts) + u"] "_s +
                     QString::number(left / 60).rightJustified(2, u'0') + u':' +
                     QString::number(left % 60).rightJustified(2, u'0'),
                 false);
    if (leftMs > 0)
        return;
    if (m_retryMode == rmCycle) {
        // The list may have changed since the last turn; an empty one keeps the entry.
        const QStringList names = entriesOfCurrentTariff();
        if (!names.isEmpty()) {
            const int index = m_cycleIndex % int(names.size());
            m_entry = names[index];
            m_cycleIndex = (index + 1) % int(names.size());
        }
    }
    m_animating = true;
    m_retryOffered = false;
    m_entryChoiceEnabled = false;
    m_recallTimer->stop();
    m_delayTimer->start();
    m_progress = 0;
    m_buttonCaption = cancelCaption;
    changed();
}

bool TDialer::askCredentials(const TEntryCredentials& saved)
{
    TPasswordRequest request{u"Connessione a: "_s + m_entry, m_entry, saved.UserName, saved.Password};
    for (;;) {
        const TPasswordReply reply = AskPassword ? AskPassword(request) : TPasswordReply{};
        if (!reply.Confirmed)
            return false;
        if (confirmCredentials(reply))
            return true;
        request.UserName = reply.UserName;
        request.Password = reply.Password;
    }
}

bool TDialer::confirmCredentials(const TPasswordReply& reply)
{
    if (reply.UserName.trimmed().isEmpty()) {
        ShowWarningBox(u"Manca il nome utente!"_s);
        return false;
    }
    m_ras.SetEntryCredentials(m_entry, reply.UserName, reply.Password, !reply.SavePassword);
    m_userName = reply.UserName;
    m_password = reply.Password;
    m_credentialsConfirmed = true;
    return true;
}

void TDialer::progressLine(const QString& text, bool toMemo)
{
    if (toMemo)
        m_memo.append(text);
    ShowNotice(Balloon::Notice, text);
    m_progressLine = text;
    changed();
}

void TDialer::stepProgress()
{
    // As the progress bar steps: past the end it starts again.
    m_progress = m_progress >= ProgressMax ? 0 : m_progress + 1;
}

void TDialer::startRetryWait()
{
    TSettings* settings = m_status.Settings();
    const int index = settings ? settings->Entrys().IndexOfName(m_entry) : -1;
    // Seconds as they are: a wait of an hour or more is kept whole.
    const qint64 seconds = index >= 0 ? std::max(0, settings->Entrys()[index]->RetryTime()) : 0;
    m_retryMoment = MSecsToDateTime(DateTimeToMSecs(Now()) + seconds * 1000);
    m_recallTimer->start();
}

QStringList TDialer::entriesOfCurrentTariff() const
{
    const TTaxItem* tax = m_status.Tax();
    TSettings* settings = m_status.Settings();
    if (!tax || !settings)
        return {};
    return settings->Entrys().RasEntriesWithTax(tax->DisplayName());
}

void TDialer::changed()
{
    if (OnChanged)
        OnChanged(this);
}

} // namespace vestrel
