#pragma once

#include "platform/SoundOutput.h"
#include "platform/SoundRecorder.h"
#include "services/WaveSounds.h"
#include "services/WaveThread.h"
#include "support/QStringPrinter.h"
#include "support/ScriptedDialogs.h"

#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace vestrel::testing {

// A playable WAV image whose samples are `tag` repeated: each sound of a test is told apart.
inline QByteArray TestWave(char tag, int frames = 16)
{
    const auto le = [](quint32 v, int n) {
        QByteArray b(4, Qt::Uninitialized);
        qToLittleEndian(v, b.data());
        return b.left(n);
    };
    const QByteArray fmt = le(1, 2) + le(1, 2) + le(8000, 4) + le(8000, 4) + le(1, 2) + le(8, 2);
    const QByteArray body = "WAVE" + ("fmt " + le(16, 4) + fmt) + ("data" + le(quint32(frames), 4)) +
                            QByteArray(frames, tag);
    return "RIFF" + le(quint32(body.size()), 4) + body;
}

// Every sound goes to a recorder; the store is created after it is installed, so its thread
// plays into it.
class SoundFixture : public ::testing::Test {
protected:
    SoundFixture() { platform::SoundOutput::setInstance(&recorder); }
    ~SoundFixture() override
    {
        // Nothing may stay held behind the store's thread as it ends.
        recorder.release();
        sounds.reset();
        platform::SoundOutput::setInstance(nullptr);
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    // The WAV images the thread played, once it has nothing left to do.
    std::vector<QByteArray> playedWhenIdle()
    {
        EXPECT_TRUE(sounds->Thread().WaitIdle(5000));
        return recorder.played();
    }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    platform::SoundRecorder recorder;
    std::unique_ptr<TWaveSounds> sounds = std::make_unique<TWaveSounds>();
};

} // namespace vestrel::testing
