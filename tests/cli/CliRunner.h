#pragma once

#include "cli/CliCommands.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace vestrel::testing {

struct CliResult {
    int code;
    QString out;
    QString err;
};

// vestrel-cli ARGS… run in this process, its output captured.
inline CliResult RunCli(const QStringList& args)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int code = cli::RunCli(args, o, e);
    o.flush();
    e.flush();
    return {code, out, err};
}

// The same on the stores of `dataDir`.
inline CliResult RunCliIn(const QString& dataDir, const QStringList& args)
{
    return RunCli(QStringList{QStringLiteral("--data-dir"), dataDir} + args);
}

} // namespace vestrel::testing
