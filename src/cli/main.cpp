#include "CliCommands.h"

#include "common/ProcessValues.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);
    vestrel::InitProcessValues(QCoreApplication::applicationFilePath());
    const int code = vestrel::cli::RunCli(args, out, err);
    out.flush();
    err.flush();
    return code;
}
