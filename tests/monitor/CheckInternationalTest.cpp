#include "monitor/CheckInternationalThread.h"

#include "platform/SimulatedDialUp.h"
#include "support/QStringPrinter.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <gtest/gtest.h>

using namespace vestrel;
using namespace vestrel::platform;
using namespace Qt::Literals::StringLiterals;

namespace {

class CheckInternational : public ::testing::Test {
protected:
    CheckInternational()
    {
        dialUp.setEntryProperties(u"Londra"_s, {u"7946"_s, u"20"_s, 44, true});
        dialUp.setEntryProperties(u"Casa"_s, {u"1234"_s, u"02"_s, 39, true});
        dialUp.setEntryProperties(u"Solo locale"_s, {u"0044123"_s, u"20"_s, 44, false});
    }

    // Runs the check to its end, serving its hand-overs as the event loop would.
    QStringList run(const QString& prefix, bool stopAtOnce = false)
    {
        QStringList found;
        TCheckInternationalThread check(dialUp, prefix, [&](const QString& entry, const QString& number) {
            EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
            found.append(entry + u' ' + number);
        });
        check.Start();
        if (stopAtOnce)
            check.Stop();
        const QDeadlineTimer deadline(10000);
        while (!check.IsFinished() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_TRUE(check.IsFinished());
        return found;
    }

    SimulatedDialUp dialUp;
};

TEST_F(CheckInternational, WarnsOfEveryEntryDiallingTheInternationalPrefix)
{
    EXPECT_EQ(run(u"00"_s), (QStringList{u"Londra 0044207946"_s, u"Solo locale 0044123"_s}));
    EXPECT_EQ(run(u"0044"_s).size(), 2);
}

TEST_F(CheckInternational, EmptyPrefixMatchesNothing)
{
    EXPECT_TRUE(run(QString()).isEmpty());
}

TEST_F(CheckInternational, FailingPhonebookEndsTheCheckSilently)
{
    dialUp.failNext(SimulatedDialUp::Operation::Properties, 600);
    EXPECT_TRUE(run(u"00"_s).isEmpty()) << "the first entry's failure ends it";
}

TEST_F(CheckInternational, NothingIsHandedOverOnceStopped)
{
    EXPECT_TRUE(run(u"00"_s, true).isEmpty());
}

TEST_F(CheckInternational, DestroyingARunningCheckDoesNotWaitForTheUserInterface)
{
    // The worker blocks in its first hand-over, which is never served: the destructor frees it.
    auto check = std::make_unique<TCheckInternationalThread>(dialUp, u"00"_s, [](const QString&, const QString&) {
        ADD_FAILURE() << "delivered after the end";
    });
    check->Start();
    QThread::msleep(50);
    check.reset();
    QCoreApplication::processEvents();
}

} // namespace
