// The program itself, started as a user starts it (on the offscreen platform).
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

using namespace Qt::Literals::StringLiterals;

class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(data.isValid());
        ASSERT_TRUE(runtime.isValid());
    }
    void TearDown() override
    {
        if (first.state() != QProcess::NotRunning) {
            first.kill();
            first.waitForFinished(5000);
        }
    }

    void prepare(QProcess& process)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"VESTREL_DATA_DIR"_s, data.path());
        env.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
        env.insert(u"XDG_CONFIG_HOME"_s, runtime.path());
        env.insert(u"VESTREL_LINE"_s, u"none"_s);
        env.insert(u"VESTREL_SOUND"_s, u"none"_s);
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setProgram(QString::fromUtf8(VESTREL_GUI_EXE));
    }

    // Waits until every file exists, at most `ms`.
    bool waitForFiles(const QStringList& files, int ms)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            bool all = true;
            for (const QString& f : files)
                all = all && QFile::exists(QDir(data.path()).filePath(f));
            if (all)
                return true;
            QThread::msleep(50);
        }
        return false;
    }

    QTemporaryDir data;
    QTemporaryDir runtime;
    QProcess first;
};

const QStringList StoreFiles{u"Connections.dat"_s, u"Settings.dat"_s, u"Status.dat"_s, u"Taxations.dat"_s,
                             u"Skin.dat"_s, u"Calendar.dat"_s, u"Waves.dat"_s};

TEST_F(ProgramRun, StartsCreatesItsStoresAndASecondCopyEndsAtOnce)
{
    prepare(first);
    first.start();
    ASSERT_TRUE(first.waitForStarted(5000));
    ASSERT_TRUE(waitForFiles(StoreFiles, 20000)) << QDir(data.path()).entryList().join(u' ').toStdString();
    const QStringList before = QDir(data.path()).entryList(QDir::Files);

    QProcess second;
    prepare(second);
    QElapsedTimer t;
    t.start();
    second.start();
    ASSERT_TRUE(second.waitForFinished(5000));
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_EQ(QDir(data.path()).entryList(QDir::Files), before);

    // The end of the session closes it without questions.
    ::kill(pid_t(first.processId()), SIGTERM);
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
}

} // namespace
