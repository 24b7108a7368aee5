#include "WatchCommand.h"

#include "CliCommands.h"
#include "ConsoleServices.h"
#include "Simulation.h"

#include "common/Dialogs.h"
#include "common/Formats.h"
#include "common/DateFormat.h"
#include "common/Notices.h"
#include "common/ProcessValues.h"
#include "common/VestrelError.h"
#include "config/Settings.h"
#include "log/DataUnits.h"
#include "log/OldTables.h"
#include "monitor/ConnectionReactions.h"
#include "monitor/DataShare.h"
#include "monitor/DialerStart.h"
#include "monitor/MatrixStatus.h"
#include "monitor/Status.h"
#include "monitor/TapiControl.h"
#include "monitor/TapiMonitorStart.h"
#include "tariff/Agenda.h"
#include "tariff/Taxations.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <csignal>

namespace vestrel::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

volatile std::sig_atomic_t g_stop = 0;

QString line(const TConnectionData& c)
{
    return u"Connessione registrata: "_s + c.Name + u"\t"_s +
           FormatDateTime(u"dd/mm/yyyy hh:nn:ss"_s, c.Start) + u"\t"_s +
           FormatDateTime(u"dd/mm/yyyy hh:nn:ss"_s, c.End) + u"\t"_s + QString::number(c.Pulses) +
           u" scatti\t"_s + QString::number(c.Lire, 'f', 2) + u" Lire"_s;
}

// The stores bound in the program's order, the data module, and the run.
int run(const std::optional<SimulationScript>& script, CliIO& io)
{
    std::unique_ptr<Simulation> simulation;
    if (script)
        simulation = std::make_unique<Simulation>(*script);

    TDataUnits log;
    TSettings settings;
    TTaxations taxations;
    TDataShare data(settings, taxations, log);
    TStatus& status = data.Status();
    const QString dir = DataDirectory();
    log.SetFileName(dir + u"Connections.dat"_s);
    settings.SetFileName(dir + u"Settings.dat"_s);
    status.SetFileName(dir + u"Status.dat"_s);
    taxations.SetFileName(dir + u"Taxations.dat"_s);
    data.Agenda().SetFileName(dir + u"Calendar.dat"_s);

    status.SetProgramStart(Now());
    // Tables left by older releases are taken over once.
    try {
        TakeOverOldTables(log, dir);
    } catch (const VestrelError& e) {
        ShowNotice(Balloon::Notice, e.message());
    }
    status.SetProfile(settings.Profiles().Count() > 0 ? settings.Profiles()[0] : nullptr);
    if (script)
        for (const auto& [entry, tax] : script->taxes)
            settings.Entrys().AssignTax(entry, tax);
    TTaxItem* tax = taxations.FindTax(status.DefaultTax());
    if (!tax && taxations.Taxs().Count() > 0)
        tax = taxations.Taxs()[0];
    status.SetTax(tax);

    if (simulation) {
        data.Tapi().Initialize();
        const int index = data.Tapi().IndexOfDevice(u"Modem simulato"_s);
        if (index >= 0)
            data.Tapi().StartMonitor(data.Tapi().Devices()[std::size_t(index)]);
    } else {
        StartTapiMonitor(data.Tapi(), settings, false);
    }

    ConnectionReactions reactions(data, taxations);
    const auto react = status.OnConnectionLogged;
    status.OnConnectionLogged = [&io, react](TStatus* s, const TConnectionData& c) {
        io.out << line(c) << '\n';
        io.out.flush();
        react(s, c);
    };
    data.StartMonitoring();
    data.StartEntryDial().Arm();

    if (simulation) {
        simulation->Start(data);
        const qint64 limit = simulation->LastMs() + 48LL * 3600 * 1000;
        while (!(simulation->Done() && IsMtxState(TMtxState::Idle) && !status.HasStartTick())) {
            if (simulation->Clock().tickMs() > limit || !simulation->Clock().advanceToNextTimer(limit))
                throw VestrelError(u"La simulazione non è terminata: la connessione è ancora in corso"_s);
        }
    } else {
        std::signal(SIGINT, [](int) { g_stop = 1; });
        std::signal(SIGTERM, [](int) { g_stop = 1; });
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [] {
            if (g_stop)
                QCoreApplication::quit();
        });
        poll.start(200);
        QCoreApplication::exec();
        // The end of the session: a running count is stopped and logged without questions.
        if (status.IsConnectionCounting())
            status.StopCounting();
    }
    data.BeginShutdown();
    return 0;
}

int watch(const QStringList& args, CliIO& io)
{
    QString scriptFile;
    bool yes = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == u"--simulate"_s && i + 1 < args.size())
            scriptFile = args[++i];
        else if (args[i] == u"--answer"_s && i + 1 < args.size() &&
                 (args[i + 1] == u"yes"_s || args[i + 1] == u"no"_s))
            yes = args[++i] == u"yes"_s;
        else if (args[i] == u"--help"_s) {
            io.out << SimulationScript::Help();
            return 0;
        } else
            return 2;
    }
    std::optional<SimulationScript> script;
    if (!scriptFile.isEmpty()) {
        QFile file(scriptFile);
        if (!file.open(QIODevice::ReadOnly))
            throw VestrelError(withDetail(u"Impossibile aprire il file: "_s + scriptFile, file.errorString()));
        script = SimulationScript::Parse(QString::fromUtf8(file.readAll()));
    }
    ConsoleDialogs dialogs(io, yes);
    ConsoleNotices notices(io);
    return run(script, io);
}

} // namespace

void RegisterWatchCommand()
{
    RegisterCommand(u"watch"_s, u"watch [--simulate SCRIPT] [--answer yes|no] (watch --help: il formato dello script)"_s, watch);
}

} // namespace vestrel::cli
