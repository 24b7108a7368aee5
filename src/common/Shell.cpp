#include "Shell.h"

#include "DesktopEntry.h"
#include "Files.h"
#include "ProcessValues.h"
#include "VestrelError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

QString& shellRoot()
{
    static QString root;
    return root;
}

QString withoutSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

[[noreturn]] void fail(const QString& operation, const QString& cause)
{
    throw VestrelError(withDetail(u"Fallita la "_s + operation, cause, 1));
}

// Joins arguments back into one command-line text that QProcess::splitCommand splits again:
// an argument with a blank or a quote is quoted, a quote inside it written as three.
QString joinArguments(const QStringList& arguments)
{
    QStringList parts;
    for (QString argument : arguments) {
        if (argument.isEmpty() || argument.contains(u' ') || argument.contains(u'"') ||
            argument.contains(u'\t')) {
            argument.replace(u"\""_s, u"\"\"\""_s);
            argument = u'"' + argument + u'"';
        }
        parts.append(argument);
    }
    return parts.join(u' ');
}

} // namespace

QString ShellFolder(const QString& name)
{
    const QString key = name.toLower();
    const QString& root = shellRoot();
    if (key == u"desktop"_s)
        return root.isEmpty()
                   ? withoutSlash(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation))
                   : root + u"/Desktop"_s;
    if (key == u"startup"_s)
        return root.isEmpty() ? withoutSlash(QStandardPaths::writableLocation(
                                    QStandardPaths::GenericConfigLocation)) +
                                    u"/autostart"_s
                              : root + u"/autostart"_s;
    if (key == u"favorites"_s)
        return root.isEmpty() ? withoutSlash(QStandardPaths::writableLocation(
                                    QStandardPaths::GenericDataLocation)) +
                                    u"/Vestrel/Favorites"_s
                              : root + u"/Favorites"_s;
    return {};
}

void SetShellRoot(const QString& root)
{
    shellRoot() = withoutSlash(root);
}

void CreateShortcut(const QString& target, const QString& arguments, const QString& name,
                    const QString& folder)
{
    QString exec = QuoteExecArgument(target);
    for (const QString& argument : QProcess::splitCommand(arguments))
        exec += u' ' + QuoteExecArgument(argument);

    const QString file = withoutSlash(folder) + u'/' + name + u".desktop"_s;
    if (!QDir().mkpath(folder))
        fail(u"CreateShortcut"_s, file + u": impossibile creare la cartella"_s);
    const QString content = u"[Desktop Entry]\n"_s + u"Type=Application\n"_s + u"Name="_s +
                            EscapeDesktopValue(name) + u"\nExec="_s + EscapeDesktopValue(exec) +
                            u"\nPath="_s +
                            EscapeDesktopValue(QFileInfo(target).absolutePath()) + u'\n';
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(content.toUtf8()) < 0 || !out.commit())
        fail(u"CreateShortcut"_s, file + u": "_s + out.errorString());
    // Desktop environments only launch entries on the desktop that are executable.
    QFile::setPermissions(file, QFile::permissions(file) | QFileDevice::ExeOwner);
}

ShortcutInfo ReadShortcut(const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        fail(u"ReadShortcut"_s, file + u": "_s + in.errorString());
    const std::optional<QHash<QString, QString>> keys =
        ParseDesktopEntry(QString::fromUtf8(in.readAll()));
    if (!keys)
        fail(u"ReadShortcut"_s, file + u": manca il gruppo [Desktop Entry]"_s);
    const std::optional<QStringList> exec = SplitExecLine(keys->value(u"Exec"_s));
    if (!exec || exec->isEmpty())
        fail(u"ReadShortcut"_s, file + u": la riga Exec manca o non è valida"_s);

    ShortcutInfo info;
    info.path = exec->front();
    info.arguments = joinArguments(exec->mid(1));
    info.workingDirectory = keys->value(u"Path"_s);
    info.description = keys->value(u"Comment"_s);
    return info;
}

void SetAutoStart(bool on)
{
    const QString folder = ShellFolder(u"StartUp"_s);
    if (on) {
        CreateShortcut(ExecutablePath(), u"/WinStart"_s, u"Vestrel"_s, folder);
        return;
    }
    const QString entry = folder + u"/Vestrel.desktop"_s;
    if (QFileInfo::exists(entry) && !DeleteFileForced(entry))
        fail(u"SetAutoStart"_s, entry + u": impossibile eliminare il file"_s);
}

} // namespace vestrel
