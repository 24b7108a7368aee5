#include "Program.h"

#include "CloseRequest.h"
#include "ExceptionReport.h"
#include "OnlyOne.h"
#include "ProgramWindows.h"

#include "common/Clock.h"
#include "common/Dialogs.h"
#include "common/Notices.h"
#include "common/ProcessExit.h"
#include "common/SystemInfo.h"
#include "common/VestrelError.h"
#include "config/ProfileItem.h"
#include "config/Settings.h"
#include "log/DataUnits.h"
#include "log/OldTables.h"
#include "monitor/DataShare.h"
#include "monitor/DialerStart.h"
#include "monitor/Status.h"
#include "monitor/SysResource9x.h"
#include "monitor/TapiMonitorStart.h"
#include "skins/DataSkins.h"
#include "tariff/Agenda.h"
#include "tariff/Taxations.h"
#include "ui/MainWindow.h"
#include "ui/TrayBalloons.h"

#include <QApplication>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

Program::Program() = default;

Program::~Program()
{
    ExceptionReporter::setInstance(nullptr);
    if (m_data)
        m_data->BeginShutdown();
}

void Program::createSharedObjects()
{
    m_balloons = std::make_unique<TrayBalloons>();
    m_settings = std::make_unique<TSettings>();
    m_taxations = std::make_unique<TTaxations>();
    m_log = std::make_unique<TDataUnits>();
    m_data = std::make_unique<TDataShare>(*m_settings, *m_taxations, *m_log);
    if (!m_data->Resources().EnoughResources(10)) {
        ShowWarningBox(u"Le risorse di sistema sono in esaurimento!\r\rVestrel non può essere avviato: "_s + OSName() +
                       u" potrebbe collassare!"_s);
        TerminateProcess();
    }
    m_reporter = std::make_unique<ExceptionReporter>(m_data.get(), m_settings.get());
    ExceptionReporter::setInstance(m_reporter.get());
    m_window = std::make_unique<TfmMain>(MainContext{*m_data, *m_settings, *m_taxations, *m_log, *m_balloons});
    m_skins = std::make_unique<TDataSkins>(m_window.get());
    m_window->SetSkins(m_skins.get());
    m_windows = std::make_unique<ProgramWindows>(*this);
    MainWindowCommands commands = m_windows->Commands();
    commands.close = [this] { return Close(false); };
    m_window->SetCommands(std::move(commands));
    m_data->Status().SetProgramStart(Now());
    m_window->WireStatus();
    m_window->WireSkins();
}

bool Program::Start(TStartMode mode, const QStringList& arguments)
{
    try {
        createSharedObjects();
        m_guard = std::make_unique<TOnlyOne>(this);
        bool alreadyRunning = false;
        m_guard->OnAlreadyRun = [mode, &alreadyRunning] {
            alreadyRunning = true;
            if (mode == smSetup || mode == smUninstall)
                ShowWarningBox(u"Impossibile procedere: il programma è già in esecuzione!\r"_s +
                               u"Chiudi Vestrel e ritenta... sarai più fortunato!"_s);
        };
        m_guard->CheckInstance(quint32(mode), 0);
        if (alreadyRunning)
            return false;
        switch (mode) {
        case smSetup:
            ShowInfoBox(u"L'installazione di Vestrel non è ancora disponibile in questa versione."_s);
            return false;
        case smUninstall:
            ShowInfoBox(u"La rimozione di Vestrel non è ancora disponibile in questa versione."_s);
            return false;
        case smRun:
            normalStart(arguments);
            return true;
        }
    } catch (const VestrelError& e) {
        const QString message = u"Eccezione nell' avvio di Vestrel "_s + e.message();
        ReportException(m_window.get(), message);
        ShowErrorBox(u"Si è verificato un errore bloccante... ahimè!\rVestrel verrà terminato\r\r["_s + message + u"]"_s);
        TerminateProcess();
    }
    return false;
}

void Program::bindStores()
{
    const QString dir = DataDirectory();
    m_log->SetFileName(dir + u"Connections.dat"_s);
    m_settings->SetFileName(dir + u"Settings.dat"_s);
    m_data->Status().SetFileName(dir + u"Status.dat"_s);
    m_taxations->SetFileName(dir + u"Taxations.dat"_s);
    m_skins->SetFileName(dir + u"Skin.dat"_s);
    m_data->Agenda().SetFileName(dir + u"Calendar.dat"_s);
    m_windows->BindStores(dir);
}

void Program::chooseProfile(const QStringList& arguments)
{
    QString name;
    TStatus& status = m_data->Status();
    if (!arguments.isEmpty() && arguments[0].toLower() == u"/winstart"_s) {
        name = arguments.value(1);
        status.SetStartedAtWinStart(true);
    } else {
        name = arguments.value(0);
    }
    TProfileItem* profile = m_settings->FindProfile(name);
    if (!profile && m_settings->Profiles().Count() > 0)
        profile = m_settings->Profiles()[0];
    status.SetProfile(profile);
}

void Program::chooseTariff()
{
    TStatus& status = m_data->Status();
    TTaxItem* tax = m_taxations->FindTax(status.DefaultTax());
    if (!tax && m_taxations->Taxs().Count() > 0)
        tax = m_taxations->Taxs()[0];
    status.SetTax(tax);
}

void Program::normalStart(const QStringList& arguments)
{
    bindStores();
    chooseProfile(arguments);
    m_window->ShowTrayIcon();
    m_window->ConfigureBalloons();
    m_window->ShowStoredFigures();
    try {
        TakeOverOldTables(*m_log, DataDirectory());
    } catch (const VestrelError& e) {
        ShowNotice(Balloon::Notice, e.message());
    }
    m_guard->OnNotifyRun = [this](quint32 first, quint32 second) { notifyRun(first, second); };
    m_window->BuildConnectionsMenu();
    m_window->BuildSkinsMenu();
    chooseTariff();
    StartTapiMonitor(m_data->Tapi(), *m_settings, false);
    m_window->show();
    // The first activation starts the timers and monitors, once the window is on screen.
    QMetaObject::invokeMethod(m_window.get(), [this] { m_window->FirstActivation(); }, Qt::QueuedConnection);
}

void Program::notifyRun(quint32 first, quint32)
{
    if (first != quint32(smRun))
        return;
    m_window->ApplyHidden(false);
    m_window->raise();
    m_window->activateWindow();
    if (!m_windows->BringDialWindowToFront())
        m_data->StartEntryDial().Arm();
}

bool Program::Close(bool sessionEnding)
{
    if (m_closing)
        return true;
    if (!QueryClose(*m_data, sessionEnding, false))
        return false;
    m_closing = true;
    m_data->BeginShutdown();
    QApplication::quit();
    return true;
}

} // namespace vestrel
