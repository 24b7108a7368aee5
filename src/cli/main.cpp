#include "CliCommands.h"

#include "common/ProcessExit.h"
#include "common/ProcessValues.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);
    vestrel::InitProcessValues(QCoreApplication::applicationFilePath());
    // A store file that cannot be read ends the program (after its message) as a failure.
    vestrel::SetTerminateHook([](int) { std::_Exit(1); });
    const int code = vestrel::cli::RunCli(args, out, err);
    out.flush();
    err.flush();
    return code;
}
