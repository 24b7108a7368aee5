#include "common/Shell.h"

#include "common/ProcessValues.h"
#include "common/VestrelError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

using namespace vestrel;
using namespace Qt::Literals::StringLiterals;

namespace {

class Shell : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        SetShellRoot(dir.path());
    }
    void TearDown() override { SetShellRoot({}); }

    void write(const QString& name, const QByteArray& content)
    {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QString readError(const QString& file)
    {
        try {
            ReadShortcut(file);
        } catch (const VestrelError& e) {
            return e.message();
        }
        return u"no error"_s;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(Shell, FoldersByName)
{
    EXPECT_EQ(ShellFolder(u"Desktop"_s), dir.path() + u"/Desktop"_s);
    EXPECT_EQ(ShellFolder(u"StartUp"_s), dir.path() + u"/autostart"_s);
    EXPECT_EQ(ShellFolder(u"startup"_s), dir.path() + u"/autostart"_s);
    EXPECT_EQ(ShellFolder(u"Favorites"_s), dir.path() + u"/Favorites"_s);
    EXPECT_EQ(ShellFolder(u"Programs"_s), QString());
}

TEST_F(Shell, StartUpFolderIsTheXdgAutostartDirectory)
{
    SetShellRoot({});
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    EXPECT_EQ(ShellFolder(u"StartUp"_s), dir.path() + u"/autostart"_s);
    qputenv("XDG_CONFIG_HOME", saved);
}

TEST_F(Shell, CreateShortcutWritesADesktopEntry)
{
    CreateShortcut(u"/opt/vestrel/vestrel"_s, u"/WinStart"_s, u"Vestrel"_s,
                   ShellFolder(u"Desktop"_s));
    const QString file = dir.path() + u"/Desktop/Vestrel.desktop"_s;
    EXPECT_EQ(read(file), QByteArray("[Desktop Entry]\n"
                                     "Type=Application\n"
                                     "Name=Vestrel\n"
                                     "Exec=\"/opt/vestrel/vestrel\" \"/WinStart\"\n"
                                     "Path=/opt/vestrel\n"));
    EXPECT_TRUE(QFile::permissions(file) & QFileDevice::ExeOwner);
}

TEST_F(Shell, ShortcutsRoundTrip)
{
    struct Case {
        const char* name;
        QString target;
        QString arguments;
    };
    const Case cases[] = {
        {"no arguments", u"/usr/bin/vestrel"_s, QString()},
        {"spaces in the target and two arguments", u"/opt/My Apps/vestrel"_s,
         u"/WinStart Casa"_s},
        {"a quoted argument with a space", u"/opt/v/vestrel"_s, u"/WinStart \"Profilo casa\""_s},
        {"characters the Exec line reserves", u"/opt/$x/a\\b%c\"d`e"_s, u"100%"_s},
        {"accented names", u"/home/niccolò/vestrel"_s, u"città"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CreateShortcut(c.target, c.arguments, u"Prova"_s, dir.path());
        const ShortcutInfo info = ReadShortcut(dir.filePath(u"Prova.desktop"_s));
        EXPECT_EQ(info.path, c.target);
        EXPECT_EQ(info.arguments, c.arguments);
        EXPECT_EQ(info.workingDirectory, c.target.left(c.target.lastIndexOf(u'/')));
        EXPECT_EQ(info.showCommand, 1);
    }
}

TEST_F(Shell, ReadShortcutReadsEntriesOfOtherPrograms)
{
    write(u"other.desktop"_s, "# comment\r\n"
                              "[Desktop Entry]\r\n"
                              "Name=Editor\r\n"
                              "Comment = Modifica\\stesti\r\n"
                              "Comment[it]=Altro\r\n"
                              "Exec=/usr/bin/editor --new-window %U\r\n"
                              "Path=/tmp\r\n"
                              "[Desktop Action Nuovo]\r\n"
                              "Exec=/usr/bin/other\r\n");
    const ShortcutInfo info = ReadShortcut(dir.filePath(u"other.desktop"_s));
    EXPECT_EQ(info.path, u"/usr/bin/editor"_s);
    EXPECT_EQ(info.arguments, u"--new-window %U"_s);
    EXPECT_EQ(info.description, u"Modifica testi"_s);
    EXPECT_EQ(info.workingDirectory, u"/tmp"_s);
}

TEST_F(Shell, ReadShortcutFailuresAreReported)
{
    write(u"nogroup.desktop"_s, "Exec=/bin/true\n");
    write(u"noexec.desktop"_s, "[Desktop Entry]\nType=Link\nURL=http://example.org\n");
    write(u"quote.desktop"_s, "[Desktop Entry]\nExec=\"/bin/true\n");
    for (const QString& name : {u"missing.desktop"_s, u"nogroup.desktop"_s, u"noexec.desktop"_s,
                                u"quote.desktop"_s}) {
        SCOPED_TRACE(name.toStdString());
        const QString message = readError(dir.filePath(name));
        EXPECT_TRUE(message.startsWith(u"Fallita la ReadShortcut\r["_s + dir.filePath(name)))
            << message.toStdString();
        EXPECT_TRUE(message.endsWith(u']')) << message.toStdString();
    }
}

TEST_F(Shell, CreateShortcutFailureRaises)
{
    write(u"afile"_s, "x");
    try {
        CreateShortcut(u"/bin/true"_s, {}, u"x"_s, dir.filePath(u"afile"_s));
        ADD_FAILURE() << "no error raised";
    } catch (const VestrelError& e) {
        EXPECT_TRUE(e.message().startsWith(u"Fallita la CreateShortcut\r["_s));
    }
}

TEST_F(Shell, SetAutoStartCreatesAndRemovesTheEntry)
{
    const QString folder = dir.path() + u"/autostart"_s;
    const QString entry = folder + u"/Vestrel.desktop"_s;

    EXPECT_NO_THROW(SetAutoStart(false));
    EXPECT_FALSE(QDir(folder).exists());

    SetAutoStart(true);
    SetAutoStart(true);
    const ShortcutInfo info = ReadShortcut(entry);
    EXPECT_EQ(info.path, ExecutablePath());
    EXPECT_EQ(info.arguments, u"/WinStart"_s);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{u"Vestrel.desktop"_s});

    SetAutoStart(false);
    EXPECT_FALSE(QFile::exists(entry));
}
