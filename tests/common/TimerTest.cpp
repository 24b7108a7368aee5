#include "common/Timer.h"
#include "support/FakeClock.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace vestrel;
using vestrel::testing::FakeClock;

TEST(Timer, FiresEveryIntervalWhileEnabled)
{
    FakeClock clock;
    Timer timer(nullptr, {}, 1000);
    int ticks = 0;
    QObject::connect(&timer, &Timer::timeout, [&] { ++ticks; });
    timer.start();
    clock.advance(999);
    EXPECT_EQ(ticks, 0);
    clock.advance(1);
    EXPECT_EQ(ticks, 1);
    clock.advance(10'000);
    EXPECT_EQ(ticks, 11);
    timer.stop();
    clock.advance(5'000);
    EXPECT_EQ(ticks, 11);
}

TEST(Timer, EnablingAnEnabledTimerDoesNotRestartItButANewIntervalDoes)
{
    FakeClock clock;
    Timer timer(nullptr, {}, 10'000);
    int ticks = 0;
    QObject::connect(&timer, &Timer::timeout, [&] { ++ticks; });
    timer.start();
    clock.advance(3'000);
    timer.setEnabled(true);
    clock.advance(7'000);
    EXPECT_EQ(ticks, 1);
    clock.advance(3'000);
    timer.setInterval(5'000);
    clock.advance(4'999);
    EXPECT_EQ(ticks, 1);
    clock.advance(1);
    EXPECT_EQ(ticks, 2);
}

TEST(Timer, ZeroIntervalNeverFires)
{
    FakeClock clock;
    Timer timer(nullptr, {}, 0);
    int ticks = 0;
    QObject::connect(&timer, &Timer::timeout, [&] { ++ticks; });
    timer.start();
    clock.advance(100'000);
    EXPECT_EQ(ticks, 0);
}

TEST(Timer, TickDuringItsOwnHandlerIsDropped)
{
    FakeClock clock;
    Timer timer(nullptr, {}, 1000);
    int ticks = 0;
    QObject::connect(&timer, &Timer::timeout, [&] {
        ++ticks;
        // A modal box spinning the event loop lets time pass inside the handler.
        if (ticks == 1)
            clock.advance(5'000);
    });
    timer.start();
    clock.advance(1000);
    EXPECT_EQ(ticks, 1);
    clock.advance(1000);
    EXPECT_EQ(ticks, 2);
}

TEST(Timer, HandlerMayDestroyItsTimer)
{
    FakeClock clock;
    auto* timer = new Timer(nullptr, {}, 1000);
    QObject::connect(timer, &Timer::timeout, [&] { delete timer; });
    timer->start();
    clock.advance(3000);
    SUCCEED();
}

TEST(Timer, DisableOwnedTimersStopsDirectChildren)
{
    FakeClock clock;
    QObject owner;
    auto* a = new Timer(&owner, u"a"_qs, 1000);
    auto* b = new Timer(&owner, u"b"_qs, 1000);
    a->start();
    b->start();
    DisableOwnedTimers(&owner);
    EXPECT_FALSE(a->isEnabled());
    EXPECT_FALSE(b->isEnabled());
}

TEST(FakeClock, NowMovesWithTheTicks)
{
    FakeClock clock(EncodeDateTime(2001, 4, 16, 23, 59, 59));
    const qint64 before = clock.tickMs();
    clock.advance(1000);
    EXPECT_EQ(clock.tickMs() - before, 1000);
    const auto d = DecodeDate(Now());
    EXPECT_EQ(d.day, 17);
    EXPECT_EQ(DecodeTime(Now()).hour, 0);
}

TEST(Timer, KeepsTickingAfterAHandlerThrew)
{
    FakeClock clock;
    Timer timer(nullptr, {}, 1000);
    int ticks = 0;
    QObject::connect(&timer, &Timer::timeout, [&] {
        if (++ticks == 1)
            throw std::runtime_error("guasto");
    });
    timer.start();
    EXPECT_THROW(clock.advance(1000), std::runtime_error);
    clock.advance(1000);
    EXPECT_EQ(ticks, 2);
}
