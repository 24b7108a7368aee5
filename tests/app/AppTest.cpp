#include "app/CloseRequest.h"
#include "app/ExceptionReport.h"
#include "app/OnlyOne.h"
#include "app/VestrelApplication.h"

#include "common/ProcessValues.h"
#include "common/VestrelError.h"
#include "config/EntryItem.h"
#include "monitor/ConnectionReactions.h"
#include "monitor/MatrixStatus.h"
#include "support/DataModuleFixture.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>

#include <thread>

#include <gtest/gtest.h>

namespace vestrel::testing {
namespace {

using namespace Qt::Literals::StringLiterals;
namespace St = platform::DialUpState;

// The data module as the program runs it, with an entry "Casa" on a tariff, monitoring; the data
// directory (where "Exception.txt" goes) is the fixture's folder.
class ProgramCore : public DataModuleFixture {
protected:
    ProgramCore()
    {
        // The process values are taken once; they are taken again with this folder.
        qputenv("VESTREL_DATA_DIR", dir.path().toLocal8Bit());
        InitProcessValues(ExecutablePath());
        dialUp.addEntry(u"Casa"_s);
        settings.Entrys().AssignTax(u"Casa"_s, u"Telecom - TAT Urbana"_s);
        reactions = std::make_unique<ConnectionReactions>(*data, taxations);
        status().SetTax(taxations.FindTax(u"Telecom - TAT Urbana"_s));
        data->StartMonitoring();
    }
    ~ProgramCore() override
    {
        reactions.reset();
        qunsetenv("VESTREL_DATA_DIR");
        InitProcessValues(ExecutablePath());
    }

    void manualCount()
    {
        status().SetEntryName(ManualStartKey());
        SendMtxEvent(TMtxEvent::ManualStart);
        seconds(30);
    }
    void onlineConnection()
    {
        dialUp.addConnection(u"Casa"_s, St::Connected, u"10.0.0.9"_s);
        seconds(2);
        ASSERT_TRUE(IsMtxState(TMtxState::RasConnected));
    }

    std::unique_ptr<ConnectionReactions> reactions;
};

using CloseQuestions = ProgramCore;

TEST_F(CloseQuestions, ConnectedAndCancelKeepsEverythingRunning)
{
    onlineConnection();
    dialogs.setNextAnswer(DialogAnswer::Cancel);
    EXPECT_FALSE(QueryClose(*data, false, false));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, DialogKind::YesNoCancel);
    EXPECT_EQ(dialogs.shown[0].text, u"Interrompere la connessione: Casa"_s);
    EXPECT_TRUE(data->Status().IsConnectionCounting());
    EXPECT_EQ(log.Units().Count(), 0);
}

TEST_F(CloseQuestions, ConnectedAndNoLogsTheCountButKeepsTheLine)
{
    onlineConnection();
    dialogs.setNextAnswer(DialogAnswer::No);
    EXPECT_TRUE(QueryClose(*data, false, true));
    EXPECT_EQ(dialogs.shown[0].text, u"Interrompere la connessione: Casa\r\r[Ci sono dei messaggi sms da inviare!]"_s);
    EXPECT_EQ(log.Units().Count(), 1);
    EXPECT_TRUE(dialUp.hangUps().empty());
}

TEST_F(CloseQuestions, ConnectedAndYesHangsUpAndLogs)
{
    onlineConnection();
    dialogs.setNextAnswer(DialogAnswer::Yes);
    EXPECT_TRUE(QueryClose(*data, false, false));
    EXPECT_EQ(log.Units().Count(), 1);
    EXPECT_FALSE(dialUp.hangUps().empty());
}

TEST_F(CloseQuestions, CountingAndNoKeepsTheProgramOpen)
{
    manualCount();
    EXPECT_FALSE(QueryClose(*data, false, false));
    EXPECT_EQ(dialogs.shown[0].text, u"Il conteggio è in corso! Chiudere lo stesso?"_s);
    EXPECT_EQ(log.Units().Count(), 0);
}

TEST_F(CloseQuestions, SessionEndLogsTheCountWithoutAQuestion)
{
    onlineConnection();
    EXPECT_TRUE(QueryClose(*data, true, false));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(log.Units().Count(), 1);
}

TEST_F(CloseQuestions, NothingRunningClosesSilently)
{
    EXPECT_TRUE(QueryClose(*data, false, false));
    EXPECT_TRUE(dialogs.shown.empty());
}

using ExceptionReports = ProgramCore;

TEST_F(ExceptionReports, OnlyTheFirstWritesTheFileBothShowTheBalloon)
{
    ExceptionReporter reporter(data.get(), &settings);
    QObject sender;
    sender.setObjectName(u"TimerSystem"_s);
    reporter.ReportException(&sender, u"primo"_s);
    const QString file = DataDirectory() + u"Exception.txt"_s;
    const QByteArray first = ReadFile(file);
    reporter.ReportException(nullptr, u"secondo"_s);
    EXPECT_EQ(ReadFile(file), first);
    EXPECT_EQ(reporter.Count(), 2);

    const QStringList lines = QString::fromUtf8(first).split(u"\r\n"_s);
    ASSERT_GE(lines.size(), 10);
    EXPECT_EQ(lines[0], u"Vestrel: "_s + ProgramVersion() + u" debug info:"_s);
    EXPECT_EQ(lines.filter(u"Stato: "_s), QStringList{u"Stato: "_s + data->Status().ConnectionStateText()});
    EXPECT_TRUE(lines.contains(u"Monitoraggio TAPI: [disabilitato]"_s));
    EXPECT_TRUE(lines.contains(u"Orario avvio     0.00.00"_s));
    EXPECT_TRUE(lines.contains(u"Orario eccezione 10.00.00"_s));
    EXPECT_TRUE(lines.contains(u"Oggetto          TimerSystem - QObject"_s));
    EXPECT_TRUE(lines.contains(u"«primo»"_s));
    EXPECT_EQ(lines[lines.size() - 2], u"Si verifica quando..."_s);
    EXPECT_TRUE(first.endsWith("\r\n"));

    const auto balloons = std::count_if(notices.shown.begin(), notices.shown.end(), [](const auto& n) {
        return n.balloon == Balloon::Notice && n.text.startsWith(u"Attenzione: si è verificata l'eccezione \r«"_s);
    });
    EXPECT_EQ(balloons, 2);
    EXPECT_TRUE(notices.shown.back().text.contains(u"«secondo» nell'oggetto \r"_s));
    EXPECT_TRUE(notices.shown.back().text.endsWith(u"Exception.txt a "_s + SupportAddress()));
}

TEST_F(ExceptionReports, AnErrorEscapingAnEventHandlerIsReportedAndTheProgramGoesOn)
{
    ExceptionReporter reporter(data.get(), &settings);
    ExceptionReporter::setInstance(&reporter);
    QObject timer;
    timer.setObjectName(u"TimerSystem"_s);
    const bool handled = DeliverReportingExceptions(&timer, []() -> bool { throw VestrelError(u"guasto"_s); });
    ExceptionReporter::setInstance(nullptr);
    EXPECT_FALSE(handled);
    EXPECT_EQ(reporter.Count(), 1);
    EXPECT_TRUE(QFile::exists(DataDirectory() + u"Exception.txt"_s));
    ASSERT_FALSE(notices.shown.empty());
    EXPECT_TRUE(notices.shown.back().text.contains(u"«guasto» nell'oggetto TimerSystem - QObject"_s));
}

TEST(SingleInstance, ASecondGuardHandsItsValuesToTheFirst)
{
    QTemporaryDir dir;
    TOnlyOne first(nullptr, dir.path());
    first.SetMutexStr(u"{vestrel-test-"_s + QString::number(QCoreApplication::applicationPid()) + u"}"_s);
    quint32 got1 = 0;
    quint32 got2 = 0;
    first.OnNotifyRun = [&](quint32 a, quint32 b) {
        got1 = a;
        got2 = b;
    };
    ASSERT_TRUE(first.CheckInstance(2, 0));

    // The second copy runs in a thread of its own here, as it would in its own process.
    bool alreadyRun = false;
    bool secondIsFirst = true;
    std::thread second([&] {
        TOnlyOne copy(nullptr, dir.path());
        copy.SetMutexStr(first.MutexStr());
        copy.OnAlreadyRun = [&] { alreadyRun = true; };
        secondIsFirst = copy.CheckInstance(2, 7);
    });
    QElapsedTimer waited;
    waited.start();
    while (got1 == 0 && waited.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    second.join();
    EXPECT_FALSE(secondIsFirst);
    EXPECT_TRUE(alreadyRun);
    EXPECT_EQ(got1, 2u);
    EXPECT_EQ(got2, 7u);
}

} // namespace
} // namespace vestrel::testing
