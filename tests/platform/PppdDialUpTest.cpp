#include "platform/PppdDialUp.h"
#include "support/FakeClock.h"
#include "support/QStringPrinter.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace vestrel::platform;
using namespace Qt::Literals::StringLiterals;
using vestrel::testing::ReadFile;
using vestrel::testing::WriteFile;

namespace {

// A machine's ppp folders in a temporary directory, with pon and poff scripts that log their
// arguments to calls.log.
class PppdMachine {
public:
    PppdMachine()
    {
        for (const char* sub : {"peers", "run", "net", "proc", "bin"})
            QDir(dir.path()).mkdir(QString::fromLatin1(sub));
        for (const QString& name : {u"pon"_s, u"poff"_s}) {
            const QString script = path(u"bin/"_s + name);
            WriteFile(script, "#!/bin/sh\necho \"" + name.toUtf8() + " $*\" >> '"
                                  + log().toUtf8() + "'\n");
            QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);
        }
    }
    QString path(const QString& relative) const { return dir.filePath(relative); }
    QString log() const { return path(u"calls.log"_s); }
    PppdPaths paths() const
    {
        PppdPaths p;
        p.peersDir = path(u"peers"_s);
        p.runDir = path(u"run"_s);
        p.netDir = path(u"net"_s);
        p.procDir = path(u"proc"_s);
        p.pon = path(u"bin/pon"_s);
        p.poff = path(u"bin/poff"_s);
        return p;
    }
    void peer(const QString& name, const QByteArray& text = "connect \"chat ATDT555\"\n")
    {
        WriteFile(path(u"peers/"_s + name), text);
    }
    void pidFile(const QString& name, qint64 pid, const QByteArray& interfaceName = {})
    {
        WriteFile(path(u"run/"_s + name), QByteArray::number(pid) + '\n'
                                              + (interfaceName.isEmpty() ? QByteArray()
                                                                         : interfaceName + '\n'));
    }
    void interfaceUp(const QString& name) { QDir(path(u"net"_s)).mkdir(name); }
    // Waits (in real time: the scripts run detached) until the log holds `lines`.
    QByteArray waitForLog(const QByteArray& lines) const
    {
        QElapsedTimer waited;
        waited.start();
        while (ReadFile(log()) != lines && waited.elapsed() < 5'000)
            QThread::msleep(10);
        return ReadFile(log());
    }

    QTemporaryDir dir;
};

QString fakeAddress(const QString& interfaceName)
{
    return interfaceName == u"ppp0"_s ? u"10.1.2.3"_s : QString();
}

struct Progress {
    DialUpHandle handle = 0;
    qint32 state = 0;
    DialUpCode error = DialUpOk;
    friend bool operator==(const Progress&, const Progress&) = default;
};

qint64 deadPid()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

} // namespace

TEST(PppdDialUp, EntriesAreThePeerFilesWithoutDotFilesOrBackups)
{
    PppdMachine machine;
    for (const QString& name : {u"provider"_s, u"mobile"_s, u".hidden"_s, u"provider~"_s,
                                u"old.dpkg-old"_s})
        machine.peer(name);
    QDir(machine.path(u"peers"_s)).mkdir(u"subdir"_s);
    PppdDialUp ppp(machine.paths(), fakeAddress);

    const DialUpResult<QStringList> list = ppp.entries();
    EXPECT_EQ(list.code, DialUpOk);
    EXPECT_EQ(list.value, (QStringList{u"mobile"_s, u"provider"_s}));
    EXPECT_EQ(ppp.entryProperties(u"provider~"_s).code, DialUpNoEntry);
    EXPECT_EQ(ppp.entryCredentials(u"provider"_s).code, DialUpUnavailable);
    EXPECT_EQ(ppp.setEntryCredentials(u"provider"_s, u"u"_s, u"p"_s, false), DialUpUnavailable);

    PppdPaths none = machine.paths();
    none.peersDir = machine.path(u"absent"_s);
    PppdDialUp absent(none, fakeAddress);
    EXPECT_EQ(absent.entries().code, DialUpUnavailable);
    EXPECT_EQ(absent.dial(u"provider"_s, {}, {}, {}).code, DialUpUnavailable);
}

TEST(PppdDialUp, NumberComesFromThePeersChatScript)
{
    PppdMachine machine;
    const QString chatFile = machine.path(u"chat-isp"_s);
    WriteFile(chatFile, "# ATDT999 is the old number\nABORT BUSY\n'' ATZ\nOK ATDT0612345678\n"
                        "CONNECT ''\n");
    WriteFile(machine.path(u"peers/relative-chat"_s), "OK 'ATDP0498'\n");
    const struct {
        const char* peerText;
        const char* number;
    } cases[] = {
        {"connect \"/usr/sbin/chat -v -f CHAT\"\nnoauth\n", "0612345678"},
        {"connect '/usr/sbin/chat -v \"\" ATZ OK ATDT*99# CONNECT'\n", "*99#"},
        {"connect \"/usr/sbin/chat -f relative-chat\"\n", "0498"},
        {"connect \"/usr/sbin/chat -v -T 0212233 '' ATDT\\T CONNECT\"\n", "0212233"},
        {"connect \"chat '' atd 123\"\n", ""}, // a space: not a number chat would dial as one
        {"connect \"chat '' ATD4455,,9\"\n", "4455,,9"},
        {"# connect \"chat ATDT111\"\n", ""},
        {"connect-delay 5000\n", ""},
        {"connect \"chat -f /nonexistent\"\n", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.peerText).replace(u"CHAT"_s, chatFile);
        EXPECT_EQ(PppdPeerNumber(text, machine.path(u"peers"_s)), QString::fromUtf8(c.number))
            << c.peerText;
    }

    machine.peer(u"isp"_s, "connect \"chat -f " + chatFile.toUtf8() + "\"\n");
    PppdDialUp ppp(machine.paths(), fakeAddress);
    const DialUpResult<DialUpEntryProperties> properties = ppp.entryProperties(u"isp"_s);
    EXPECT_EQ(properties.code, DialUpOk);
    EXPECT_EQ(properties.value.localPhoneNumber, u"0612345678"_s);
    EXPECT_FALSE(properties.value.useCountryAndAreaCodes);
}

TEST(PppdDialUp, ConnectionFollowsThePidFileAndTheInterface)
{
    PppdMachine machine;
    machine.peer(u"isp"_s);
    machine.peer(u"other"_s);
    machine.peer(u"stale"_s);
    PppdDialUp ppp(machine.paths(), fakeAddress);
    EXPECT_TRUE(ppp.connections().value.empty());

    machine.pidFile(u"ppp-isp.pid"_s, getpid(), "ppp0");
    machine.pidFile(u"stale.pid"_s, deadPid(), "ppp7");
    machine.pidFile(u"ppp3.pid"_s, getpid()); // not a pppd: no peer to tell
    machine.pidFile(u"unrelated.pid"_s, getpid());
    DialUpResult<std::vector<DialUpConnection>> list = ppp.connections();
    ASSERT_EQ(list.code, DialUpOk);
    ASSERT_EQ(list.value.size(), 1u);
    EXPECT_EQ(list.value[0].entry, u"isp"_s);
    const DialUpHandle handle = list.value[0].handle;
    EXPECT_NE(handle, 0u);
    EXPECT_EQ(ppp.connectionState(handle).value, DialUpState::ConnectingDevice)
        << "pppd alive, interface not up yet";
    EXPECT_EQ(ppp.ipAddress(handle).value, QString());

    machine.interfaceUp(u"ppp0"_s);
    EXPECT_EQ(ppp.connectionState(handle).value, DialUpState::Connected);
    EXPECT_EQ(ppp.ipAddress(handle).value, u"10.1.2.3"_s);
    EXPECT_EQ(ppp.interfaceName(handle).value, u"ppp0"_s) << "the traffic is counted there";

    // A plain pppN.pid belongs to the peer its pppd was called for.
    QDir(machine.path(u"proc"_s)).mkpath(QString::number(getpid()));
    WriteFile(machine.path(u"proc/%1/cmdline"_s.arg(getpid())),
              QByteArray("/usr/sbin/pppd\0call\0other\0", 26));
    list = ppp.connections();
    ASSERT_EQ(list.value.size(), 2u);
    EXPECT_EQ(list.value[0].entry, u"isp"_s) << "oldest first";
    EXPECT_EQ(list.value[1].entry, u"other"_s);
    EXPECT_EQ(ppp.connectionState(list.value[1].handle).value, DialUpState::ConnectingDevice);
    EXPECT_EQ(ppp.interfaceName(list.value[1].handle).value, u"ppp3"_s) << "from the file's name";

    QFile::remove(machine.path(u"run/ppp-isp.pid"_s));
    EXPECT_EQ(ppp.connectionState(handle).code, DialUpInvalidHandle);
    EXPECT_EQ(ppp.ipAddress(handle).code, DialUpInvalidHandle);
    EXPECT_EQ(ppp.interfaceName(handle).code, DialUpInvalidHandle);
    EXPECT_EQ(ppp.hangUp(handle), DialUpNoConnection);
    EXPECT_EQ(ppp.connectionState(12345).code, DialUpInvalidHandle);
}

TEST(PppdDialUp, DialRunsPonAndHangUpRunsPoff)
{
    vestrel::testing::FakeClock clock;
    PppdMachine machine;
    machine.peer(u"isp"_s);
    PppdDialUp ppp(machine.paths(), fakeAddress, 500, 60'000);
    std::vector<Progress> seen;
    const DialUpResult<DialUpHandle> dialled =
        ppp.dial(u"isp"_s, u"user"_s, u"secret"_s,
                 [&seen](DialUpHandle h, qint32 s, DialUpCode e) { seen.push_back({h, s, e}); });
    ASSERT_EQ(dialled.code, DialUpOk);
    EXPECT_TRUE(seen.empty()) << "no progress from inside dial()";
    EXPECT_EQ(machine.waitForLog("pon isp\n"), "pon isp\n");
    EXPECT_EQ(ppp.connectionState(dialled.value).value, DialUpState::OpeningPort);
    EXPECT_EQ(ppp.dial(u"nobody"_s, {}, {}, {}).code, DialUpNoEntry);

    clock.advance(500);
    machine.pidFile(u"ppp-isp.pid"_s, getpid(), "ppp0");
    clock.advance(500);
    machine.interfaceUp(u"ppp0"_s);
    clock.advance(500);
    clock.advance(500);
    const DialUpHandle h = dialled.value;
    EXPECT_EQ(seen, (std::vector<Progress>{{h, DialUpState::OpeningPort, DialUpOk},
                                           {h, DialUpState::ConnectingDevice, DialUpOk},
                                           {h, DialUpState::Connected, DialUpOk}}));

    EXPECT_EQ(ppp.hangUp(h), DialUpOk);
    EXPECT_EQ(machine.waitForLog("pon isp\npoff isp\n"), "pon isp\npoff isp\n");
}

TEST(PppdDialUp, DialThatNeverConnectsFailsWithNoAnswerAndIsStopped)
{
    vestrel::testing::FakeClock clock;
    PppdMachine machine;
    machine.peer(u"isp"_s);
    PppdDialUp ppp(machine.paths(), fakeAddress, 500, 60'000);
    std::vector<Progress> seen;
    const DialUpHandle h =
        ppp.dial(u"isp"_s, {}, {},
                 [&seen](DialUpHandle hh, qint32 s, DialUpCode e) { seen.push_back({hh, s, e}); })
            .value;
    ASSERT_EQ(machine.waitForLog("pon isp\n"), "pon isp\n");
    machine.pidFile(u"ppp-isp.pid"_s, getpid()); // pppd runs, the line never comes up
    clock.advance(59'500);
    EXPECT_EQ(seen, (std::vector<Progress>{{h, DialUpState::ConnectingDevice, DialUpOk}}));
    clock.advance(500);
    EXPECT_EQ(seen, (std::vector<Progress>{{h, DialUpState::ConnectingDevice, DialUpOk},
                                           {h, DialUpState::ConnectingDevice, DialUpNoAnswer}}));
    EXPECT_EQ(machine.waitForLog("pon isp\npoff isp\n"), "pon isp\npoff isp\n")
        << "the late attempt is stopped";
    clock.advance(5'000);
    EXPECT_EQ(seen.size(), 2u) << "no progress after the failure";
}

TEST(PppdDialUp, PppdThatExitsBeforeConnectingFailsTheDial)
{
    vestrel::testing::FakeClock clock;
    PppdMachine machine;
    machine.peer(u"isp"_s);
    PppdDialUp ppp(machine.paths(), fakeAddress, 500, 60'000);
    std::vector<Progress> seen;
    const DialUpHandle h =
        ppp.dial(u"isp"_s, {}, {},
                 [&seen](DialUpHandle hh, qint32 s, DialUpCode e) { seen.push_back({hh, s, e}); })
            .value;
    machine.pidFile(u"ppp-isp.pid"_s, getpid());
    clock.advance(500);
    machine.pidFile(u"ppp-isp.pid"_s, deadPid());
    clock.advance(500);
    EXPECT_EQ(seen, (std::vector<Progress>{{h, DialUpState::ConnectingDevice, DialUpOk},
                                           {h, DialUpState::ConnectingDevice, DialUpNoAnswer}}));
    EXPECT_EQ(ppp.connectionState(h).code, DialUpInvalidHandle);
}
