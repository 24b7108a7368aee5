#include "CliCommands.h"

#include "LogCommands.h"
#include "StoreCommands.h"
#include "TariffCommands.h"
#include "WatchCommand.h"

#include "config/ConfigStores.h"
#include "monitor/Status.h"
#include "services/ServiceStores.h"
#include "tariff/TariffStores.h"

#include "common/ProcessValues.h"
#include "common/StringHelpers.h"
#include "common/VestrelError.h"

#include <QMap>

#include <cstdlib>

namespace vestrel::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

struct Entry {
    QString usage;
    Command command;
};

QMap<QString, Entry>& commands()
{
    static QMap<QString, Entry> map;
    return map;
}

int usage(CliIO& io)
{
    io.err << "Uso: vestrel-cli [--data-dir CARTELLA] COMANDO [ARGOMENTI]\n";
    for (auto it = commands().cbegin(); it != commands().cend(); ++it)
        io.err << "  " << it->usage << '\n';
    return 2;
}

} // namespace

void RegisterCommand(const QString& name, const QString& usageText, Command command)
{
    commands().insert(name, {usageText, std::move(command)});
}

void RegisterAllCommands()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // Every store class of the program, for resave.
    RegisterConfigStores();
    RegisterTariffStores();
    RegisterMonitorStores();
    RegisterServiceStores();

    RegisterStoreCommands();
    RegisterTariffCommands();
    RegisterWatchCommand();
    RegisterLogCommands();
}

QString ForTerminal(const QString& message)
{
    return ScreenLines(message);
}

int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    RegisterAllCommands();
    CliIO io{out, err};
    QStringList args = arguments;
    while (!args.isEmpty() && args.front().startsWith(u"--"_s)) {
        if (args.front() == u"--data-dir"_s && args.size() >= 2) {
            qputenv("VESTREL_DATA_DIR", args.at(1).toLocal8Bit());
            InitProcessValues(ExecutablePath());
            args.remove(0, 2);
        } else {
            return usage(io);
        }
    }
    if (args.isEmpty())
        return usage(io);
    const auto it = commands().constFind(args.front());
    if (it == commands().cend())
        return usage(io);
    try {
        const int code = it->command(args.mid(1), io);
        if (code == 2)
            io.err << "Uso: vestrel-cli " << it->usage << '\n';
        return code;
    } catch (const VestrelError& e) {
        io.err << ForTerminal(e.message()) << '\n';
        return 1;
    }
}

} // namespace vestrel::cli
