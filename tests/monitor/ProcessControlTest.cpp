#include "monitor/ProcessControl.h"

#include "common/VestrelError.h"
#include "platform/LauncherRecorder.h"
#include "support/QStringPrinter.h"
#include "support/RecordingNotices.h"

#include <QThread>

#include <gtest/gtest.h>

namespace vestrel::testing {

using namespace Qt::Literals::StringLiterals;
using platform::LauncherRecorder;

namespace {

// A recording launcher behind the control, a profile's and an entry's lists, and every event
// (OnRun, OnClose, OnError) logged in order, each checked to arrive on this thread.
class ProcessControlTest : public ::testing::Test {
protected:
    ProcessControlTest()
    {
        for (TProcessItems* list : {&profile, &entry})
            list->OnError = [this](TProcessItem* item, const QString& message) {
                EXPECT_EQ(QThread::currentThread(), m_thread);
                log << u"Error "_s + item->Nome() + u": "_s + message;
            };
    }
    TProcessItem* add(TProcessItems& list, const QString& name, TRunKind run = rkConnected,
                      TCloseKind close = ckNone)
    {
        TProcessItem* item = list.Add();
        item->SetNome(name);
        item->SetPath(u"/opt/"_s + name.toLower());
        item->SetRunKind(run);
        item->SetCloseKind(close);
        item->OnRun = [this](TProcessItem* i) {
            EXPECT_EQ(QThread::currentThread(), m_thread);
            log << u"Run "_s + i->Nome();
        };
        item->OnClose = [this](TProcessItem* i) { log << u"Close "_s + i->Nome(); };
        return item;
    }
    void settle() { ASSERT_TRUE(control.WaitForWorkers()); }
    QStringList take() { return std::exchange(log, {}); }
    QStringList launchedPaths() const
    {
        QStringList paths;
        for (const auto& r : launcher.requests())
            paths << r.path;
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    std::shared_ptr<LauncherRecorder::Process> processOf(const QString& path) const
    {
        for (const auto& p : launcher.processes())
            if (p->request().path == path)
                return p;
        return nullptr;
    }

    QThread* const m_thread = QThread::currentThread();
    LauncherRecorder launcher;
    TProcessControl control{&launcher};
    TProcessItems profile{static_cast<store::TPersistentComponent*>(nullptr)};
    TProcessItems entry{static_cast<store::TPersistentComponent*>(nullptr)};
    QStringList log;
};

} // namespace

TEST_F(ProcessControlTest, StartHandsTheItemToTheLauncherAndReportsOnTheUserThread)
{
    TProcessItem* mail = add(profile, u"Posta"_s);
    mail->SetWorkingDirectory(u"/home/mario"_s);
    mail->SetCommandLine(u"-check"_s);
    mail->SetCmdShow(3);
    EXPECT_FALSE(TProcessControl::IsStarted(mail));

    control.Start(mail);
    settle();
    ASSERT_EQ(launcher.requests().size(), 1u);
    const platform::LaunchRequest r = launcher.requests()[0];
    EXPECT_EQ(r.path, u"/opt/posta"_s);
    EXPECT_EQ(r.workingDirectory, u"/home/mario"_s);
    EXPECT_EQ(r.commandLine, u"-check"_s);
    EXPECT_EQ(r.showCommand, 3);
    EXPECT_EQ(take(), QStringList{u"Run Posta"_s});
    EXPECT_TRUE(TProcessControl::IsStarted(mail));
}

TEST_F(ProcessControlTest, AStartWhileTheProcessRunsDoesNothingAndAfterItEndedStartsAgain)
{
    TProcessItem* mail = add(profile, u"Posta"_s);
    launcher.hold(true);
    control.Start(mail);
    control.Start(mail); // pressed twice while the first start is under way
    launcher.hold(false);
    settle();
    control.Start(mail); // still running
    settle();
    EXPECT_EQ(launcher.requests().size(), 1u);
    EXPECT_EQ(take(), QStringList{u"Run Posta"_s}) << "no attempt, no OnRun";

    launcher.processes()[0]->exit();
    control.Start(mail);
    settle();
    EXPECT_EQ(launcher.requests().size(), 2u);
    EXPECT_EQ(take(), QStringList{u"Run Posta"_s});
    EXPECT_TRUE(launcher.processes()[1]->isRunning());
}

TEST_F(ProcessControlTest, AFailedStartGoesToTheListHandlerThenOnRun)
{
    TProcessItem* mail = add(profile, u"Posta"_s);
    TProcessItem* news = add(profile, u"News"_s);
    launcher.setOutcome(mail->Path(), platform::LaunchCode::FileNotFound);
    launcher.setOutcome(news->Path(), 0, u"Permesso negato"_s);
    control.Start(mail);
    settle();
    control.Start(news);
    settle();
    EXPECT_EQ(take(), (QStringList{u"Error Posta: Impossibile lanciare l'applicazione Posta!\rFile non trovato"_s,
                                   u"Run Posta"_s,
                                   u"Error News: Impossibile lanciare l'applicazione News!\rPermesso negato"_s,
                                   u"Run News"_s}));
    EXPECT_FALSE(TProcessControl::IsStarted(mail));
}

TEST_F(ProcessControlTest, TheProfileHandlerShowsTheNoticeWithThePath)
{
    RecordingNotices notices;
    profile.OnError = ReportApplicationError;
    TProcessItem* mail = add(profile, u"Posta"_s);
    launcher.setOutcome(mail->Path(), platform::LaunchCode::FileNotFound);
    control.Start(mail);
    settle();
    ASSERT_EQ(notices.shown.size(), 1u);
    EXPECT_EQ(notices.shown[0].text,
              u"Impossibile lanciare l'applicazione Posta!\rFile non trovato\r[/opt/posta]"_s);
}

TEST_F(ProcessControlTest, ConnectingStartsTheProfilesAndTheEntrysApplicationsOfThatKind)
{
    add(profile, u"Posta"_s);
    add(profile, u"Manuale"_s, rkManual);
    add(profile, u"News"_s);
    add(entry, u"Chat"_s);
    add(entry, u"Avvio"_s, rkStartUp);
    EXPECT_EQ(TProcessControl::CountOfKind(profile, rkConnected), 2);
    EXPECT_EQ(TProcessControl::CountOfKind(entry, rkManual), 0);

    control.StartAllOfKind(profile, rkConnected);
    control.StartAllOfKind(entry, rkConnected);
    settle();
    EXPECT_EQ(launchedPaths(), (QStringList{u"/opt/chat"_s, u"/opt/news"_s, u"/opt/posta"_s}));
    QStringList runs = take();
    std::sort(runs.begin(), runs.end());
    EXPECT_EQ(runs, (QStringList{u"Run Chat"_s, u"Run News"_s, u"Run Posta"_s}));
}

TEST_F(ProcessControlTest, ClosingTerminatesOnlyStartedItemsOfThatKind)
{
    TProcessItem* mail = add(profile, u"Posta"_s, rkConnected, ckDisconnected);
    add(profile, u"News"_s, rkManual, ckDisconnected); // never started
    TProcessItem* chat = add(profile, u"Chat"_s, rkConnected, ckExit);
    TProcessItem* ended = add(profile, u"Finita"_s, rkConnected, ckDisconnected);
    control.StartAllOfKind(profile, rkConnected);
    settle();
    take();
    processOf(ended->Path())->exit(); // the user closed it already

    control.CloseAllOfKind(profile, ckDisconnected);
    EXPECT_EQ(take(), (QStringList{u"Close Posta"_s, u"Close Finita"_s}));
    EXPECT_EQ(processOf(mail->Path())->terminations(), 1);
    EXPECT_FALSE(TProcessControl::IsStarted(mail));
    EXPECT_FALSE(TProcessControl::IsStarted(ended));
    EXPECT_TRUE(processOf(chat->Path())->isRunning());
    EXPECT_EQ(launcher.processes().size(), 3u);

    control.CloseAllOfKind(profile, ckDisconnected);
    EXPECT_EQ(take(), QStringList{}) << "released items are not closed twice";
}

TEST_F(ProcessControlTest, AFailingTerminationIsRaisedAfterTheOthersAreClosed)
{
    TProcessItem* mail = add(profile, u"Posta"_s, rkConnected, ckExit);
    TProcessItem* chat = add(profile, u"Chat"_s, rkConnected, ckExit);
    control.StartAllOfKind(profile, rkConnected);
    settle();
    take();
    processOf(mail->Path())->failTermination(u"Operazione non permessa"_s);

    try {
        control.CloseAllOfKind(profile, ckExit);
        FAIL() << "no error raised";
    } catch (const VestrelError& e) {
        EXPECT_EQ(e.message(), u"Impossibile terminare l'applicazione Posta!\r\r"
                               u"Fallita la TerminateProcess Operazione non permessa"_s);
    }
    EXPECT_EQ(take(), QStringList{u"Close Chat"_s});
    EXPECT_TRUE(TProcessControl::IsStarted(mail)) << "still held, so it can be closed again";
    EXPECT_FALSE(TProcessControl::IsStarted(chat));

    control.Terminate(mail);
    EXPECT_EQ(take(), QStringList{u"Close Posta"_s});
}

TEST_F(ProcessControlTest, NothingIsDeliveredOnceShutdownHasBegun)
{
    TProcessItem* mail = add(profile, u"Posta"_s);
    TProcessItem* news = add(profile, u"News"_s);
    launcher.setOutcome(news->Path(), platform::LaunchCode::FileNotFound);
    launcher.hold(true);
    control.StartAllOfKind(profile, rkConnected);
    control.BeginShutdown();
    launcher.hold(false);
    settle();
    EXPECT_EQ(take(), QStringList{});
    EXPECT_FALSE(TProcessControl::IsStarted(mail));

    control.Start(add(profile, u"Tardi"_s));
    EXPECT_EQ(control.RunningWorkers(), 0) << "nothing starts during shutdown";
}

TEST_F(ProcessControlTest, ShutdownReleasesAWorkerWaitingForTheUserThread)
{
    auto control2 = std::make_unique<TProcessControl>(&launcher);
    control2->Start(add(profile, u"Posta"_s));
    // The worker's result is queued for this thread, which never serves it: the destructor
    // must still end the worker.
    QThread::msleep(50);
    control2.reset();
    EXPECT_EQ(take(), QStringList{});
}

TEST_F(ProcessControlTest, AnItemDeletedWhileStartingIsLeftAlone)
{
    TProcessItem* mail = add(profile, u"Posta"_s);
    launcher.hold(true);
    control.Start(mail);
    profile.Remove(mail);
    launcher.hold(false);
    settle();
    EXPECT_EQ(take(), QStringList{});
    EXPECT_EQ(launcher.requests().size(), 1u);
}

TEST_F(ProcessControlTest, ShellExecRunOpensEveryTargetAndReportsNothing)
{
    RecordingNotices notices;
    launcher.setOutcome(u"/doc/manca.pdf"_s, platform::LaunchCode::FileNotFound);
    control.ShellExecRun(u"https://example.org"_s, 1);
    settle();
    control.ShellExecRun(u"https://example.org/altro"_s, 1); // the browser still runs
    control.ShellExecRun(u"/doc/manca.pdf"_s, 6);
    settle();
    EXPECT_EQ(launchedPaths(), (QStringList{u"/doc/manca.pdf"_s, u"https://example.org"_s,
                                            u"https://example.org/altro"_s}));
    EXPECT_EQ(launcher.requests()[0].showCommand, 1);
    EXPECT_TRUE(notices.shown.empty());
}

TEST(ProcessControlTexts, ShellErrorsAndShowCommands)
{
    const std::pair<qint32, QString> shell[] = {
        {2, u"File non trovato"_s},  {3, u"Path non trovato"_s}, {5, u"Accesso negato"_s},
        {8, u"Memoria esaurita"_s},  {26, u"Errore Share"_s},    {31, u"Nessuna associazione al file"_s},
        {32, u"Dll non trovata"_s},  {0, QString()},             {33, QString()},
    };
    for (const auto& [code, text] : shell)
        EXPECT_EQ(ShellErrorText(code), text) << code;
    EXPECT_EQ(ShowCommandText(0), u"Invisibile [HIDE]"_s);
    EXPECT_EQ(ShowCommandText(4), u"Mostra nello stato più recente [SHOWNOACTIVATE]"_s);
    EXPECT_EQ(ShowCommandText(6), u"Ridotta a icona [MINIMIZE]"_s);
    EXPECT_EQ(ShowCommandText(10), u"Attiva impostazioni predefinite [SHOWDEFAULT]"_s);
    EXPECT_EQ(ShowCommandText(11), QString());
    EXPECT_EQ(ShowCommandText(-1), QString());
}

} // namespace vestrel::testing
