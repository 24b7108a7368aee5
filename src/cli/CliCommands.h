#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace vestrel::cli {

struct CliIO {
    QTextStream& out;
    QTextStream& err;
};

// A command gets the arguments after its name and returns the exit code: 0 success, 1 failure
// (the Italian message printed on err), 2 wrong usage.
using Command = std::function<int(const QStringList& args, CliIO& io)>;

// Each module adds its commands at start (see RegisterAllCommands).
void RegisterCommand(const QString& name, const QString& usage, Command command);
void RegisterAllCommands();

// Runs "vestrel-cli ARGS…" (the program name not included). Global options before the command:
// --data-dir DIR binds the stores in DIR (else $VESTREL_DATA_DIR, else the program's data dir).
int RunCli(const QStringList& args, QTextStream& out, QTextStream& err);

// Messages carry single CR line breaks; a terminal wants LF.
QString ForTerminal(const QString& message);

} // namespace vestrel::cli
