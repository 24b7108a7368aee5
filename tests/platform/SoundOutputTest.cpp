// The WAV header reader, and the sound outputs: the silent default of the tests and ALSA on
// devices that make no noise (the null device, and one that does not exist).
#include "platform/SoundAlsa.h"
#include "platform/SoundOutput.h"
#include "platform/WaveFormat.h"
#include "support/QStringPrinter.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>

using namespace vestrel;
using namespace vestrel::platform;
using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray le16(quint16 v)
{
    QByteArray b(2, Qt::Uninitialized);
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray le32(quint32 v)
{
    QByteArray b(4, Qt::Uninitialized);
    qToLittleEndian(v, b.data());
    return b;
}

// A chunk with its declared size (the body's own unless given) and its pad byte.
QByteArray chunk(const char* id, const QByteArray& body, std::optional<quint32> declared = {})
{
    QByteArray out = QByteArray(id, 4) + le32(declared.value_or(quint32(body.size()))) + body;
    if (body.size() % 2)
        out += '\0';
    return out;
}

QByteArray fmtBody(quint16 tag, quint16 channels, quint32 rate, quint16 bits)
{
    const quint16 align = quint16(channels * bits / 8);
    return le16(tag) + le16(channels) + le32(rate) + le32(rate * align) + le16(align) + le16(bits);
}

QByteArray fmt(quint16 tag, quint16 channels, quint32 rate, quint16 bits)
{
    return chunk("fmt ", fmtBody(tag, channels, rate, bits));
}

// The extensible header, with the PCM sub-format unless another tag is given.
QByteArray fmtExtensible(quint16 channels, quint32 rate, quint16 bits, quint16 subTag = 1, quint16 cbSize = 22)
{
    static const QByteArray guidTail =
        QByteArray::fromHex("000000001000800000aa00389b71");
    return chunk("fmt ", fmtBody(0xFFFE, channels, rate, bits) + le16(cbSize) + le16(bits) +
                             le32(channels == 2 ? 3 : 4) + le16(subTag) + guidTail);
}

QByteArray riff(const QByteArray& chunks, const char* form = "WAVE")
{
    return "RIFF" + le32(quint32(4 + chunks.size())) + QByteArray(form, 4) + chunks;
}

QByteArray samples(int n)
{
    return QByteArray(n, '\x80');
}

struct GoodRow {
    const char* name;
    QByteArray wav;
    int channels, rate, bits;
    qsizetype dataSize;
};

class GoodWave : public ::testing::TestWithParam<GoodRow> {};

TEST_P(GoodWave, IsRead)
{
    const GoodRow& row = GetParam();
    const auto parsed = ParseWave(row.wav);
    ASSERT_TRUE(std::holds_alternative<WaveFormat>(parsed)) << std::get<QString>(parsed).toStdString();
    const WaveFormat& w = std::get<WaveFormat>(parsed);
    EXPECT_EQ(w.channels, row.channels);
    EXPECT_EQ(w.sampleRate, row.rate);
    EXPECT_EQ(w.bitsPerSample, row.bits);
    EXPECT_EQ(w.dataSize, row.dataSize);
    // The samples are where the header says, inside the bytes.
    EXPECT_LE(w.dataOffset + w.dataSize, row.wav.size());
    EXPECT_EQ(row.wav.mid(w.dataOffset, 4), samples(int(std::min<qsizetype>(4, w.dataSize))));
}

const QByteArray mono8 = riff(fmt(1, 1, 11025, 8) + chunk("data", samples(100)));

INSTANTIATE_TEST_SUITE_P(
    Headers, GoodWave,
    ::testing::Values(
        GoodRow{"Mono8bit", mono8, 1, 11025, 8, 100},
        // 10 bytes of 4-byte frames: the broken last frame is left out.
        GoodRow{"Stereo16bitWholeFramesOnly", riff(fmt(1, 2, 44100, 16) + chunk("data", samples(10))), 2, 44100, 16, 8},
        GoodRow{"ExtensiblePcm", riff(fmtExtensible(2, 48000, 16) + chunk("data", samples(8))), 2, 48000, 16, 8},
        GoodRow{"OddChunkPaddedBeforeFmt",
                riff(chunk("LIST", "abc") + fmt(1, 1, 8000, 8) + chunk("data", samples(5))), 1, 8000, 8, 5},
        GoodRow{"DataBeforeFmt", riff(chunk("data", samples(6)) + fmt(1, 1, 22050, 16)), 1, 22050, 16, 6},
        GoodRow{"DataCutShortByTheEnd", riff(fmt(1, 1, 8000, 8) + chunk("data", samples(20), 1000)), 1, 8000, 8, 20},
        GoodRow{"WrongRiffSize", [] { QByteArray w = mono8; w.replace(4, 4, le32(0)); return w; }(), 1, 11025, 8, 100},
        GoodRow{"NoSamples", riff(fmt(1, 1, 8000, 8) + chunk("data", {})), 1, 8000, 8, 0},
        GoodRow{"OddRate", riff(fmt(1, 1, 12345, 8) + chunk("data", samples(2))), 1, 12345, 8, 2}),
    [](const auto& row) { return std::string(row.param.name); });

struct BadRow {
    const char* name;
    QByteArray wav;
    QString error;
};

class BadWave : public ::testing::TestWithParam<BadRow> {};

TEST_P(BadWave, IsRefusedWithItsReason)
{
    const auto parsed = ParseWave(GetParam().wav);
    ASSERT_TRUE(std::holds_alternative<QString>(parsed));
    EXPECT_EQ(std::get<QString>(parsed), GetParam().error);
}

const QString notWave = u"Il file non è un file WAV"_s;
const QString damaged = u"File WAV danneggiato"_s;
const QString unsupported = u"Formato WAV non supportato: servono campioni PCM a 8 o 16 bit, mono o stereo"_s;

INSTANTIATE_TEST_SUITE_P(
    Headers, BadWave,
    ::testing::Values(
        BadRow{"Empty", {}, notWave},
        BadRow{"TooShort", QByteArray("RIFF\0\0\0\0WAV", 11), notWave},
        BadRow{"BigEndianRiff", [] { QByteArray w = mono8; w[3] = 'X'; return w; }(), notWave},
        BadRow{"AnotherRiffForm", riff(fmt(1, 1, 8000, 8) + chunk("data", samples(2)), "AVI "), notWave},
        BadRow{"NoFmt", riff(chunk("data", samples(4))), damaged},
        BadRow{"NoData", riff(fmt(1, 1, 8000, 8)), damaged},
        BadRow{"FmtTooSmall", riff(chunk("fmt ", fmtBody(1, 1, 8000, 8).left(14)) + chunk("data", samples(2))), damaged},
        BadRow{"FmtCutShortByTheEnd", riff(chunk("fmt ", fmtBody(1, 1, 8000, 8).left(10), 16)), damaged},
        // A huge size before the format chunk hides everything after it.
        BadRow{"HugeChunkBeforeFmt",
               riff(chunk("junk", "ab", 0xFFFFFFFF) + fmt(1, 1, 8000, 8) + chunk("data", samples(2))), damaged},
        BadRow{"ExtensibleCbSizeTooSmall",
               riff(fmtExtensible(1, 8000, 16, 1, 10) + chunk("data", samples(2))), damaged},
        BadRow{"FloatSamples", riff(fmt(3, 1, 8000, 32) + chunk("data", samples(4))), unsupported},
        BadRow{"ExtensibleFloat", riff(fmtExtensible(1, 8000, 16, 3) + chunk("data", samples(2))), unsupported},
        BadRow{"Compressed", riff(fmt(2, 1, 8000, 4) + chunk("data", samples(4))), unsupported},
        BadRow{"TwentyFourBits", riff(fmt(1, 1, 8000, 24) + chunk("data", samples(6))), unsupported},
        BadRow{"ThreeChannels", riff(fmt(1, 3, 8000, 8) + chunk("data", samples(6))), unsupported},
        BadRow{"NoChannels", riff(fmt(1, 0, 8000, 8) + chunk("data", samples(6))), unsupported},
        BadRow{"RateZero", riff(fmt(1, 1, 0, 8) + chunk("data", samples(2))),
               u"Frequenza di campionamento non supportata: 0 Hz"_s},
        BadRow{"RateAbsurd", riff(fmt(1, 1, 4000000000u, 8) + chunk("data", samples(2))),
               u"Frequenza di campionamento non supportata: 4000000000 Hz"_s}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SoundOutputChoice, TestsGetSilence)
{
    // TestMain sets VESTREL_SOUND=none: no test can make a noise through the default output.
    auto* silent = dynamic_cast<SilentSound*>(&SoundOutput::instance());
    ASSERT_NE(silent, nullptr);
    EXPECT_EQ(silent->play(mono8), QString());
    EXPECT_EQ(silent->play("RIFF"), notWave);
}

TEST(BeepTone, HasTheLengthAndPitchAsked)
{
    const QByteArray tone = BeepSamples(1366, 100, 48000);
    ASSERT_EQ(tone.size(), 4800 * 2);
    // Rising zero crossings count the periods: 136.6 in a tenth of a second.
    int crossings = 0;
    for (qsizetype i = 1; i < tone.size() / 2; ++i) {
        const qint16 a = qFromLittleEndian<qint16>(tone.constData() + 2 * (i - 1));
        const qint16 b = qFromLittleEndian<qint16>(tone.constData() + 2 * i);
        crossings += a < 0 && b >= 0;
    }
    EXPECT_NEAR(crossings, 136, 2);
    // Soft edges: no click at either end.
    EXPECT_EQ(qFromLittleEndian<qint16>(tone.constData()), 0);
    EXPECT_LT(std::abs(qFromLittleEndian<qint16>(tone.constData() + tone.size() - 2)), 200);
    EXPECT_TRUE(BeepSamples(1366, -5, 48000).isEmpty());
    EXPECT_EQ(BeepSamples(1366, 60'000, 8000).size(), 5 * 8000 * 2);
}

std::atomic_int warnings = 0;

void countWarnings(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type == QtWarningMsg)
        ++warnings;
}

TEST(AlsaSound, PlaysToTheNullDevice)
{
    AlsaSound alsa("null");
    const QByteArray stereo = riff(fmt(1, 2, 22050, 16) + chunk("data", samples(22050 / 10 * 4)));
    EXPECT_EQ(alsa.play(mono8), QString());
    ASSERT_TRUE(alsa.waitIdle(5000));
    EXPECT_EQ(alsa.play(stereo), QString());
    alsa.beep(1366, 100);
    ASSERT_TRUE(alsa.waitIdle(5000));
    EXPECT_EQ(alsa.failed(), 0);
    EXPECT_EQ(alsa.delivered(), 3);
    EXPECT_EQ(alsa.play("RIFF....WAVE"), damaged);
}

TEST(AlsaSound, WithoutADeviceStaysSilentAndWarnsOnce)
{
    warnings = 0;
    const QtMessageHandler previous = qInstallMessageHandler(&countWarnings);
    {
        AlsaSound alsa("vestrel_no_such_device");
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(alsa.play(mono8), QString());
            ASSERT_TRUE(alsa.waitIdle(5000));
        }
        alsa.beep(1366, 100);
        alsa.stop();
        ASSERT_TRUE(alsa.waitIdle(5000));
        EXPECT_EQ(alsa.failed(), 4);
        EXPECT_EQ(alsa.delivered(), 0);
    }
    qInstallMessageHandler(previous);
    EXPECT_EQ(warnings.load(), 1);
}

} // namespace
