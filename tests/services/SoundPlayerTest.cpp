// Playing: the program-wide player over the store and the current profile, and the sound thread
// with its single pending slot.
#include "SoundFixture.h"

#include "services/SoundPlayer.h"
#include "services/WaveThread.h"

#include "common/VestrelError.h"
#include "config/ProfileItem.h"

#include <QElapsedTimer>
#include <QThread>

using namespace vestrel;
using namespace vestrel::platform;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

class SoundPlayerTest : public SoundFixture {
protected:
    SoundPlayerTest()
    {
        // Every sound told apart by its samples.
        char tag = 'a';
        for (int i = 0; i < sounds->Waves().Count(); ++i)
            sounds->Waves()[i]->WaveFile().SetData(TestWave(tag++));
    }

    QByteArray bytesOf(const QString& name) const { return sounds->Find(name)->WaveFile().Data(); }

    TProfileItem profile;
    const TProfileItem* current = nullptr;
    SoundPlayer player{*sounds, [this] { return current; }, &recorder};
};

TEST_F(SoundPlayerTest, PlaysWithoutAProfileOrWhenTheProfileHasSoundsOn)
{
    player.PlayEvent(u"Ring"_s, false);
    EXPECT_EQ(playedWhenIdle(), std::vector<QByteArray>{bytesOf(u"Ring"_s)});

    current = &profile;
    profile.SetSoundsEnabled(true);
    player.PlayEvent(u"endconnection"_s, false); // names are matched without regard to case
    EXPECT_EQ(playedWhenIdle().back(), bytesOf(u"EndConnection"_s));
}

TEST_F(SoundPlayerTest, WithSoundsOffNothingPlaysAndTheNameIsNotLookedUp)
{
    current = &profile;
    profile.SetSoundsEnabled(false);
    player.PlayEvent(u"Ring"_s);
    EXPECT_NO_THROW(player.PlayEvent(u"NessunSuono"_s));
    EXPECT_TRUE(playedWhenIdle().empty());
}

TEST_F(SoundPlayerTest, ANameNoItemBearsIsRaised)
{
    try {
        player.PlayEvent(u"Campanella"_s);
        FAIL() << "no error raised";
    } catch (const VestrelError& e) {
        EXPECT_EQ(e.message(), u"Suono Campanella non trovato!"_s);
    }
    // The same through the store, which the player leaves it to.
    EXPECT_THROW(sounds->Play(u"Campanella"_s, true), VestrelError);
}

TEST_F(SoundPlayerTest, ADisabledSoundOrOneWithoutBytesIsSkippedWhileTheOthersPlay)
{
    sounds->Find(u"MsgSent"_s)->WaveFile().SetDisabled(true);
    sounds->Find(u"MsgType"_s)->WaveFile().SetData({});
    player.PlayEvent(u"MsgSent"_s, false);
    player.PlayEvent(u"MsgType"_s, false);
    EXPECT_TRUE(playedWhenIdle().empty());
    player.PlayEvent(u"MsgError"_s, false);
    EXPECT_EQ(playedWhenIdle(), std::vector<QByteArray>{bytesOf(u"MsgError"_s)});

    EXPECT_FALSE(player.IsEventEnabled(u"MsgSent"_s));
    EXPECT_TRUE(player.IsEventEnabled(u"msgerror"_s));
    EXPECT_FALSE(player.IsEventEnabled(u"Campanella"_s));
}

TEST_F(SoundPlayerTest, TheBeepGoesToTheOutput)
{
    player.Beep(1366, 100);
    const auto events = recorder.events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, SoundRecorder::Kind::Beep);
    EXPECT_EQ(events[0].frequencyHz, 1366);
    EXPECT_EQ(events[0].durationMs, 100);
}

TEST_F(SoundPlayerTest, ABurstPlaysTheLastRequestAndTheBytesAsTheyWereAsked)
{
    recorder.hold();
    sounds->Play(u"Ring"_s, false);
    ASSERT_TRUE(recorder.waitForPlays(1, 5000)); // the worker is inside the first sound
    const QByteArray askedLast = bytesOf(u"Clink"_s);
    for (const QString& name : {u"MsgType"_s, u"MsgBack"_s, u"Clink"_s})
        sounds->Play(name, false);
    // Replacing the bytes afterwards does not change the sound already asked for.
    sounds->Find(u"Clink"_s)->WaveFile().SetData(TestWave('z'));
    recorder.release();

    EXPECT_EQ(playedWhenIdle(), (std::vector<QByteArray>{bytesOf(u"Ring"_s), askedLast}));
    // Each sound stops the one before it first.
    const auto events = recorder.events();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].kind, SoundRecorder::Kind::Stop);
    EXPECT_EQ(events[2].kind, SoundRecorder::Kind::Stop);
}

TEST_F(SoundPlayerTest, AnEventSoundWaitsForThePause)
{
    TWaveFile& wave = sounds->Find(u"Message"_s)->WaveFile();
    QElapsedTimer clock;
    clock.start();
    wave.Play(true);
    EXPECT_TRUE(wave.Pause());
    ASSERT_TRUE(recorder.waitForPlays(1, 5000));
    EXPECT_GE(clock.elapsed(), TWaveThread::PauseMs - 5);
}

TEST_F(SoundPlayerTest, OnPlayIsRaisedForASoundHandedToTheThread)
{
    TWaveFile& wave = sounds->Find(u"Ring"_s)->WaveFile();
    int raised = 0;
    wave.OnPlay = [&raised, &wave](TWaveFile* sender) { raised += sender == &wave; };
    wave.Play(false);
    wave.SetDisabled(true);
    wave.Play(false);
    EXPECT_EQ(raised, 1);
}

TEST_F(SoundPlayerTest, APlaybackErrorReachesTheWaveFileOnTheUserInterfaceThread)
{
    TWaveFile& wave = sounds->Find(u"MsgBell"_s)->WaveFile();
    wave.SetData("not a wave");
    wave.SetFileName(u"/suoni/rotto.wav"_s);
    QStringList errors;
    QThread* deliveredOn = nullptr;
    wave.OnError = [&](TWaveFile* sender, const QString& text) {
        EXPECT_EQ(sender, &wave);
        deliveredOn = QThread::currentThread();
        errors.append(text);
    };
    wave.Play(false);
    ASSERT_TRUE(sounds->Thread().WaitIdle(5000));
    EXPECT_EQ(errors, QStringList{u"Errore durante la riproduzione del file: /suoni/rotto.wav"_s});
    EXPECT_EQ(deliveredOn, QThread::currentThread());

    // Once shutdown has begun nothing is delivered, and the worker does not wait for it.
    sounds->BeginShutdown();
    wave.Play(false);
    ASSERT_TRUE(sounds->Thread().WaitIdle(5000));
    EXPECT_EQ(errors.size(), 1);
}

TEST_F(SoundPlayerTest, AnErrorForAnItemThatIsGoneIsDropped)
{
    TWaveFile* wave = &sounds->Find(u"MsgBell"_s)->WaveFile();
    wave->SetData("not a wave");
    int errors = 0;
    wave->OnError = [&errors](TWaveFile*, const QString&) { ++errors; };
    recorder.hold();
    wave->Play(false);
    ASSERT_TRUE(recorder.waitForPlays(1, 5000));
    sounds->LoadBuiltinSounds(); // every item replaced while the worker plays
    recorder.release();
    ASSERT_TRUE(sounds->Thread().WaitIdle(5000));
    EXPECT_EQ(errors, 0);
}

} // namespace
