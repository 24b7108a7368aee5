#include "platform/LauncherQt.h"
#include "support/QStringPrinter.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace vestrel::platform;
using namespace Qt::Literals::StringLiterals;

namespace {

class LauncherQtTest : public ::testing::Test {
protected:
    QString file(const QString& name, const QByteArray& content, bool executable = false)
    {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        if (executable)
            f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
        return path;
    }
    static QByteArray contentOf(const QString& path, int waitMs = 5000)
    {
        const QDeadlineTimer deadline(waitMs);
        for (;;) {
            QFile f(path);
            if (f.open(QIODevice::ReadOnly)) {
                const QByteArray bytes = f.readAll();
                if (bytes.endsWith('\n') || deadline.hasExpired())
                    return bytes;
            } else if (deadline.hasExpired()) {
                return {};
            }
            QThread::msleep(10);
        }
    }
    static bool endsWithin(const LaunchedProcess& process, int ms)
    {
        const QDeadlineTimer deadline(ms);
        while (process.isRunning() && !deadline.hasExpired())
            QThread::msleep(10);
        return !process.isRunning();
    }

    QTemporaryDir dir;
    const QString opener = u"/usr/bin/opener"_s;
};

} // namespace

TEST_F(LauncherQtTest, PlanRunsProgramsAndOpensEverythingElse)
{
    const QString script = file(u"bin/posta.sh"_s, "#!/bin/sh\n", true);
    const QString elf = file(u"bin/prog"_s, QByteArray("\x7f" "ELF", 4) + "rest", true);
    const QString document = file(u"doc/lettera.txt"_s, "ciao\n");
    const QString markedDocument = file(u"doc/foto.jpg"_s, "\xff\xd8\xff", true);
    const QString folder = dir.filePath(u"doc"_s);
    const QString sh = QStandardPaths::findExecutable(u"sh"_s);
    ASSERT_FALSE(sh.isEmpty());

    struct Row {
        const char* name;
        LaunchRequest request;
        QString openerPath;
        qint32 instance;
        QString program;
        QStringList arguments;
    };
    const Row rows[] = {
        {"script with its parameters", {script, {}, u"-a \"due parole\""_s}, opener,
         LaunchCode::Started, script, {u"-a"_s, u"due parole"_s}},
        {"binary", {elf, {}, {}}, opener, LaunchCode::Started, elf, {}},
        {"document goes to the opener, without parameters", {document, {}, u"-x"_s}, opener,
         LaunchCode::Started, opener, {document}},
        {"a document marked executable is still a document", {markedDocument}, opener,
         LaunchCode::Started, opener, {markedDocument}},
        {"folder", {folder}, opener, LaunchCode::Started, opener, {folder}},
        {"link", {u"https://example.org/a?b=c"_s}, opener, LaunchCode::Started, opener,
         {u"https://example.org/a?b=c"_s}},
        {"mail link", {u"mailto:mario@example.org"_s}, opener, LaunchCode::Started, opener,
         {u"mailto:mario@example.org"_s}},
        {"program on PATH", {u"sh"_s, {}, u"-c true"_s}, opener, LaunchCode::Started, sh,
         {u"-c"_s, u"true"_s}},
        {"relative to the working directory", {u"posta.sh"_s, dir.filePath(u"bin"_s)}, opener,
         LaunchCode::Started, script, {}},
        {"surrounding blanks", {u"  "_s + document + u" "_s}, opener, LaunchCode::Started, opener,
         {document}},
        {"missing file", {dir.filePath(u"doc/manca.txt"_s)}, opener, LaunchCode::FileNotFound, {}, {}},
        {"missing folder", {dir.filePath(u"manca/x.txt"_s)}, opener, LaunchCode::PathNotFound, {}, {}},
        {"missing working directory", {script, dir.filePath(u"manca"_s)}, opener,
         LaunchCode::PathNotFound, {}, {}},
        {"empty path", {u""_s}, opener, LaunchCode::FileNotFound, {}, {}},
        {"no opener", {document}, {}, LaunchCode::NoAssociation, {}, {}},
    };
    for (const Row& row : rows) {
        const LaunchPlan plan = PlanLaunch(row.request, row.openerPath);
        EXPECT_EQ(plan.instance, row.instance) << row.name;
        EXPECT_EQ(plan.program, row.program) << row.name;
        EXPECT_EQ(plan.arguments, row.arguments) << row.name;
    }
}

TEST_F(LauncherQtTest, StartsADetachedProgramInItsDirectoryAndTerminatesIt)
{
    const QString marker = dir.filePath(u"marker"_s);
    const QString script = file(u"bin/lungo.sh"_s,
                                "#!/bin/sh\npwd > \"$1\"\nexec sleep 30\n", true);
    LauncherQt launcher(opener);
    const LaunchResult result = launcher.launch({script, dir.path(), u"\""_s + marker + u'"'});
    ASSERT_TRUE(result.ok()) << result.systemText.toStdString();
    ASSERT_TRUE(result.process);
    EXPECT_EQ(contentOf(marker).trimmed(), QDir(dir.path()).canonicalPath().toUtf8());
    EXPECT_TRUE(result.process->isRunning());

    EXPECT_EQ(result.process->terminate().ending, LaunchedProcess::Ending::Terminated);
    EXPECT_TRUE(endsWithin(*result.process, 5000));
    EXPECT_EQ(result.process->terminate().ending, LaunchedProcess::Ending::AlreadyEnded)
        << "an application that has ended is not an error to close";
}

TEST_F(LauncherQtTest, OpensADocumentWithTheOpener)
{
    const QString record = dir.filePath(u"opened"_s);
    const QString fakeOpener =
        file(u"bin/opener"_s, "#!/bin/sh\necho \"$@\" > '" + record.toUtf8() + "'\n", true);
    const QString document = file(u"lettera.txt"_s, "ciao\n");
    LauncherQt launcher(fakeOpener);
    const LaunchResult result = launcher.launch({document});
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(contentOf(record), document.toUtf8() + '\n');
    ASSERT_TRUE(result.process);
    EXPECT_TRUE(endsWithin(*result.process, 5000)) << "a process that exits is seen to have ended";
}

TEST_F(LauncherQtTest, FailuresComeBackAsLaunchCodes)
{
    LauncherQt launcher(opener);
    const LaunchResult missing = launcher.launch({dir.filePath(u"manca"_s)});
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(missing.instance, LaunchCode::FileNotFound);
    EXPECT_FALSE(missing.process);
}
