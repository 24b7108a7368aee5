#include "ProcessValues.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

struct Values {
    QString executable;
    QString title;
    QString dataDir;
    TStartMode mode = smRun;
};

std::optional<Values>& values()
{
    static std::optional<Values> v;
    return v;
}

QString withSlash(QString dir)
{
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

QString dataDirectoryFor(const QString& executablePath)
{
    const QString forced = qEnvironmentVariable("VESTREL_DATA_DIR");
    if (!forced.isEmpty())
        return withSlash(QDir::cleanPath(QDir(forced).absolutePath()));
    const QFileInfo exeDir(QFileInfo(executablePath).absolutePath());
    if (exeDir.isDir() && exeDir.isWritable())
        return withSlash(exeDir.absoluteFilePath());
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + u"/.local/share"_s;
    return withSlash(base + u"/Vestrel"_s);
}

const Values& current()
{
    if (!values())
        InitProcessValues(QFileInfo(u"/proc/self/exe"_s).canonicalFilePath());
    return *values();
}

} // namespace

void InitProcessValues(const QString& executablePath)
{
    Values v;
    v.executable = QFileInfo(executablePath).absoluteFilePath();
    v.title = ApplicationTitleFor(executablePath);
    v.dataDir = dataDirectoryFor(executablePath);
    v.mode = StartModeFor(executablePath);
    values() = std::move(v);
}

QString ApplicationTitleFor(const QString& executablePath)
{
    QString base = QFileInfo(executablePath).completeBaseName();
    if (base.endsWith(u"-cli"_s, Qt::CaseInsensitive))
        base.chop(4);
    if (base.isEmpty())
        return base;
    return base.left(1).toUpper() + base.mid(1).toLower();
}

TStartMode StartModeFor(const QString& executablePath)
{
    const QString name = QFileInfo(executablePath).fileName().toLower();
    if (name == u"setup.exe"_s || name == u"setup"_s)
        return smSetup;
    if (name == u"_uninstallvestrel.exe"_s || name == u"_uninstallvestrel"_s)
        return smUninstall;
    return smRun;
}

int BuildNumberOf(const QString& version)
{
    bool ok = false;
    const int build = version.mid(version.lastIndexOf(u'.') + 1).toInt(&ok);
    return ok ? build : -1;
}

QString ExecutablePath()
{
    return current().executable;
}

QString ApplicationTitle()
{
    return current().title;
}

QString DataDirectory()
{
    return current().dataDir;
}

TStartMode StartMode()
{
    return current().mode;
}

QString ProgramVersion()
{
    return QStringLiteral(VESTREL_VERSION);
}

int BuildNumber()
{
    return BuildNumberOf(ProgramVersion());
}

} // namespace vestrel
