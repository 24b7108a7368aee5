// The main window's reactions to the live status.
#include "MainWindow.h"

#include "MainMenu.h"
#include "NotifyIcon.h"

#include "common/Clock.h"
#include "common/DateTime.h"
#include "common/Formats.h"
#include "common/Notices.h"
#include "common/Sounds.h"
#include "common/StringHelpers.h"
#include "common/Timer.h"
#include "common/VestrelError.h"
#include "config/ProfileItem.h"
#include "monitor/ConnectionReactions.h"
#include "monitor/DataShare.h"
#include "monitor/Dialer.h"
#include "monitor/Status.h"
#include "monitor/TimeLimitWatch.h"
#include "tariff/Agenda.h"
#include "tariff/Taxations.h"
#include "tariff/TaxItem.h"

#include <QAbstractButton>
#include <QLabel>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

QString bandText(TFasciaOraria band)
{
    switch (band) {
    case foPunta:
        return u"Accidenti... siamo nella fascia ora di punta!"_s;
    case foIntera:
        return u"Maledizione... siamo nella fascia intera!"_s;
    case foRidotta:
        return u"fiuuu... siamo nella fascia ridotta!"_s;
    case foNone:
        break;
    }
    return {};
}

Fish bandFish(TFasciaOraria band)
{
    return band == foPunta ? Fish::Red : band == foIntera ? Fish::Yellow : Fish::Green;
}

QString bandLine(const TTaxItem* tax)
{
    return tax ? u"Tariffa "_s + tax->DisplayName() + u" - Fascia "_s + FasciaName(tax->FasciaNow()) : QString();
}

} // namespace

void TfmMain::WireStatus()
{
    TStatus& status = m_ctx.data.Status();
    m_reactions = std::make_unique<ConnectionReactions>(m_ctx.data, m_ctx.taxations);

    status.OnFasciaChanged = [this](TStatus* s, TFasciaOraria band) {
        m_figures.ResetPeriod(*s, true);
        const QString text = bandText(band);
        if (band == foNone || text == m_lastBandText)
            return;
        m_lastBandText = text;
        setBandFish(bandFish(band));
        if (!m_startUpPhase)
            ShowNotice(Balloon::Notice, text);
    };
    status.OnTimeChanged = [this](TStatus* s) {
        m_figures.ShowTime(*s);
        // The first second of a count, not the reset of an idle status.
        if (s->Elapsed() == 0 && s->HasStartTick())
            ShowNotice(Balloon::Notice, u"Selezione del numero "_s + s->DialingNumber().trimmed() + u" eseguita"_s);
    };
    status.OnScattiChanged = [this](TStatus* s) { m_figures.ShowPulses(*s); };
    status.OnCostChanged = [this](TStatus* s) { m_figures.ShowCost(*s); };
    status.OnRemainingChanged = [this](TStatus* s) { m_figures.ShowRemaining(*s); };
    status.OnPreCountingStarted = [this](TStatus* s) {
        m_figures.ResetBytes();
        m_figures.ShowCost(*s);
        m_figures.ShowPulses(*s);
        const TProfileItem* profile = s->Profile();
        if (m_hidden && !(profile && profile->ForceHide()))
            ApplyHidden(false);
        else
            repaint();
        if (!m_hidden && s->Tax())
            ShowNotice(Balloon::Information, s->Tax()->DisplayName());
    };
    status.OnCountingStarted = [this](TStatus* s) {
        m_ctx.data.TimeLimit().Start();
        m_figures.ShowPulses(*s);
        Button(u"SpeedButtonDisconnetti"_s)->show();
        ApplyHidden(false);
    };
    status.OnConnected = [this](TStatus*) { onConnected(); };
    status.OnConnectionLogged = [this](TStatus*, const TConnectionData&) { onConnectionLogged(); };
    status.OnTaxChanged = [this](TStatus*, TTaxItem* previous) { onTaxChanged(previous); };
    status.OnTaxNeeded = [this](TStatus* s) {
        ShowNotice(Balloon::Notice, u"Scegli la tariffa da applicare alla connessione «"_s + s->EntryName() + u"»"_s);
        if (m_commands.taxChooser)
            m_commands.taxChooser();
        s->SetQuestionPending(true);
    };
    status.OnMinLimiteReached = [](TStatus* s) {
        PlayEvent(u"CambioStato"_s);
        const qint32 minutes = s->Tax() ? s->Tax()->MinLimite() : 0;
        ShowNotice(Balloon::Notice, u"Siamo passati nella fascia bassa oltre i "_s + QString::number(minutes) + u" minuti"_s);
    };
    status.OnCallRateChanged = [](TStatus* s) {
        if (s->CallRate() > 0)
            ShowNotice(Balloon::Information, u"Connesso a "_s + FormatCount(s->CallRate()) + u" bps"_s);
    };
    status.OnBytesTransmittedChanged = [this](TStatus* s) { m_figures.ShowBytesSent(*s); };
    status.OnBytesReceivedChanged = [this](TStatus* s) { m_figures.ShowBytesReceived(*s); };
    status.OnSecond = [this](TStatus* s) {
        if (!m_redrawBytes)
            return;
        m_redrawBytes = false;
        m_figures.ShowBytesSent(*s);
        m_figures.ShowBytesReceived(*s);
    };
    status.OnDayChanged = [this](TStatus*) { onDayChanged(); };
}

void TfmMain::UnwireStatus()
{
    TStatus& status = m_ctx.data.Status();
    status.OnFasciaChanged = nullptr;
    status.OnTimeChanged = nullptr;
    status.OnScattiChanged = nullptr;
    status.OnCostChanged = nullptr;
    status.OnRemainingChanged = nullptr;
    status.OnPreCountingStarted = nullptr;
    status.OnCountingStarted = nullptr;
    status.OnConnected = nullptr;
    status.OnConnectionLogged = nullptr;
    status.OnTaxChanged = nullptr;
    status.OnTaxNeeded = nullptr;
    status.OnMinLimiteReached = nullptr;
    status.OnCallRateChanged = nullptr;
    status.OnBytesTransmittedChanged = nullptr;
    status.OnBytesReceivedChanged = nullptr;
    status.OnSecond = nullptr;
    status.OnDayChanged = nullptr;
    m_reactions.reset();
}

void TfmMain::onConnected()
{
    TStatus& status = m_ctx.data.Status();
    QString text = u"Felicemente connesso a: "_s + status.EntryName();
    if (status.CallRate() > 0)
        text += u" alla velocità di "_s + FormatCount(status.CallRate()) + u" bps"_s;
    if (!status.DinamicIP().isEmpty())
        text += u"\r"_s + status.EntryName() + u" ti ha assegnato l'indirizzo "_s + status.DinamicIP();
    if (status.Tax())
        text += u"\r"_s + bandLine(status.Tax());
    ShowNotice(Balloon::Notice, text);
    UpdateMenu();
    m_reactions->OnlineReached();
}

void TfmMain::onConnectionLogged()
{
    TStatus& status = m_ctx.data.Status();
    Button(u"SpeedButtonDisconnetti"_s)->hide();
    if (const TProfileItem* profile = status.Profile())
        ApplyHidden(profile->AutoHide());
    m_figures.ResetPeriod(status, false);
    ShowNotice(Balloon::Notice, u"Sconnesso!"_s);
    PlayEvent(u"EndConnection"_s);
    // Closing the applications and comparing the tariffs; the comparison's own balloon follows
    // the disconnection notice.
    m_reactions->Logged();
}

void TfmMain::onTaxChanged(TTaxItem* previous)
{
    TStatus& status = m_ctx.data.Status();
    TTaxItem* tax = status.Tax();
    if (tax)
        m_figures.SetProgressHint(u"La tariffa corrente è "_s + tax->Nome() + u"\r"_s + tax->Descrizione());
    ApplyCurrentSkin();
    if (!m_startUpPhase && tax) {
        ShowNotice(Balloon::Information, tax->DisplayName());
        ShowNotice(Balloon::Notice, u"Tariffa impostata "_s + tax->DisplayName());
        if (previous)
            PlayEvent(u"CambioStato"_s);
    }
    m_figures.ResetPeriod(status, true);
    if (m_commands.refreshTaxWindows)
        m_commands.refreshTaxWindows();
    m_ctx.data.Dialer().ShowMachineState();
}

void TfmMain::onDayChanged()
{
    TStatus& status = m_ctx.data.Status();
    const TProfileItem* profile = status.Profile();
    if (!(profile && profile->SanctiOff())) {
        const TDateTime today = Now();
        QString hint;
        // A calendar without the day has no saints to tell; the greetings still come.
        try {
            hint = TrimBlanks(u"Oggi si festeggia "_s + m_ctx.data.Agenda().SantoDelGiorno(today));
        } catch (const VestrelError&) {
        }
        if (!hint.isEmpty())
            m_tray->SetHint(hint);
        const DateParts d = DecodeDate(today);
        const QString title = u"*** A U G U R I ***"_s;
        if (d.month == 12 && d.day == 25)
            ShowNotice(Balloon::Greeting, u"Vestrel ti augura un buon Natale!"_s, title);
        else if (d.month == 1 && d.day == 1 && d.year == 2000)
            ShowNotice(Balloon::Greeting, u"Vestrel ti augura un felice anno nuovo ed un meraviglioso nuovo millennio!"_s, title);
        else if (d.month == 1 && d.day == 1)
            ShowNotice(Balloon::Greeting, u"Vestrel ti augura un felice anno nuovo!"_s, title);
        if (!hint.isEmpty())
            ShowNotice(Balloon::Notice, hint);
    }
    m_ctx.taxations.UpdateMonthlyBonuses();
}

} // namespace vestrel
