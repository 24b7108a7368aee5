// The sound store: the built-in set, its file, the Active rule and reading a sound from a file.
#include "SoundFixture.h"

#include "platform/WaveFormat.h"
#include "store/StoreStream.h"
#include "support/TestFiles.h"

#include "common/VestrelError.h"

#include <QBuffer>
#include <QDir>

using namespace vestrel;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

class WaveSoundsTest : public SoundFixture {
protected:
    // A second store bound to the same file, as at the next start.
    std::unique_ptr<TWaveSounds> reloaded(const QString& file)
    {
        auto next = std::make_unique<TWaveSounds>();
        next->SetFileName(file);
        return next;
    }

    QString wavFile(const QString& name, const QByteArray& bytes)
    {
        const QString p = path(name);
        WriteFile(p, bytes);
        return p;
    }
};

TEST_F(WaveSoundsTest, TheBuiltInSetIsThereBeforeLoading)
{
    const std::vector<std::pair<QString, QString>> expected = {
        {u"CambioStato"_s, u"Cambio impostazione della tariffa corrente"_s},
        {u"EndConnection"_s, u"Fine della connessione"_s},
        {u"Laser"_s, u"Invio sms in corso"_s},
        {u"Message"_s, u"Novità"_s},
        {u"MsgBack"_s, QString()},
        {u"MsgBell"_s, QString()},
        {u"MsgEnd"_s, u"Fine invio sms"_s},
        {u"MsgError"_s, u"Errore"_s},
        {u"MsgSent"_s, u"Invio sms riuscito"_s},
        {u"Ring"_s, u"Scatto - inizio connessione"_s},
        {u"MsgToSend"_s, u"Sms accodato"_s},
        {u"MsgType"_s, QString()},
        {u"Clink"_s, QString()},
    };
    ASSERT_EQ(sounds->Waves().Count(), int(expected.size()));
    EXPECT_FALSE(sounds->Modified());
    qsizetype total = 0;
    for (int i = 0; i < sounds->Waves().Count(); ++i) {
        const TWaveItem* item = sounds->Waves()[i];
        SCOPED_TRACE(item->Nome().toStdString());
        EXPECT_EQ(item->Nome(), expected[std::size_t(i)].first);
        EXPECT_EQ(item->Descrizione(), expected[std::size_t(i)].second);
        EXPECT_FALSE(item->Active());
        EXPECT_FALSE(item->WaveFile().Disabled());
        EXPECT_TRUE(item->WaveFile().FileName().isEmpty());
        // Short, distinct and playable.
        const auto parsed = platform::ParseWave(item->WaveFile().Data());
        ASSERT_TRUE(std::holds_alternative<platform::WaveFormat>(parsed));
        const auto& w = std::get<platform::WaveFormat>(parsed);
        EXPECT_GT(w.frameCount(), 0);
        EXPECT_LT(double(w.frameCount()) / w.sampleRate, 1.0);
        for (int j = 0; j < i; ++j)
            EXPECT_NE(item->WaveFile().Data(), sounds->Waves()[j]->WaveFile().Data());
        total += item->WaveFile().Size();
    }
    EXPECT_LT(total, 64 * 1024);
}

TEST_F(WaveSoundsTest, AnEmptyStoreEncodesAsTheFormatSays)
{
    sounds->SetName(u"WaveSounds"_s);
    sounds->Waves().Clear();
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    store::WriteStore(out, *sounds);
    const QByteArray expected = QByteArray("TPF0\x0BTWaveSounds\x0AWaveSounds\x0E"
                                           "AskOnLoadError\x08\x05Waves\x0E\x00\x00\x00",
                                           4 + 12 + 11 + 15 + 1 + 6 + 4);
    EXPECT_EQ(out.data().toHex(' '), expected.toHex(' '));
}

TEST_F(WaveSoundsTest, TheBuiltInSetRoundTripsThroughItsFile)
{
    sounds->SetName(u"WaveSounds"_s);
    const QString file = path(u"Waves.dat"_s);
    sounds->SetFileName(file); // missing: written from the built-in set, then loaded
    const QByteArray written = ReadFile(file);
    ASSERT_FALSE(written.isEmpty());
    EXPECT_TRUE(written.startsWith(QByteArray("TPF0\x0BTWaveSounds\x0AWaveSounds")));
    // Every sound travels as WaveFile.Data.
    EXPECT_EQ(written.count("WaveFile.Data"), 13);

    auto next = reloaded(file);
    ASSERT_EQ(next->Waves().Count(), 13);
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(next->Waves()[i]->Nome(), sounds->Waves()[i]->Nome());
        EXPECT_EQ(next->Waves()[i]->Descrizione(), sounds->Waves()[i]->Descrizione());
        EXPECT_EQ(next->Waves()[i]->WaveFile().Data(), sounds->Waves()[i]->WaveFile().Data());
    }
    EXPECT_FALSE(next->Modified());
    next->Save();
    EXPECT_EQ(ReadFile(file), written);
}

TEST_F(WaveSoundsTest, AReplacedSoundIsKeptInTheFileAndLoadingReplacesTheBuiltInSet)
{
    const QString file = path(u"Waves.dat"_s);
    sounds->SetFileName(file);
    const QByteArray mine = TestWave('m');
    TWaveItem* ring = sounds->Find(u"Ring"_s);
    ring->WaveFile().LoadFromFile(wavFile(u"mine.wav"_s, mine));
    ring->SetActive(true);
    sounds->Find(u"MsgSent"_s)->WaveFile().SetDisabled(true);
    // A sound without bytes writes no Data, and stays without them.
    sounds->Find(u"MsgType"_s)->WaveFile().SetData({});
    sounds->Waves().Delete(sounds->Find(u"Clink"_s)->Index());
    EXPECT_TRUE(sounds->Modified());
    sounds->Save();
    // The sound file may go: the store has its own copy.
    QFile::remove(path(u"mine.wav"_s));
    EXPECT_EQ(ReadFile(file).count("WaveFile.Data"), 11);

    auto next = reloaded(file);
    EXPECT_EQ(next->Waves().Count(), 12);
    EXPECT_EQ(next->Find(u"Clink"_s), nullptr);
    const TWaveItem* loaded = next->Find(u"ring"_s);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->WaveFile().Data(), mine);
    EXPECT_EQ(loaded->WaveFile().FileName(), path(u"mine.wav"_s));
    EXPECT_TRUE(loaded->Active());
    EXPECT_TRUE(next->Find(u"MsgSent"_s)->WaveFile().Disabled());
    EXPECT_FALSE(next->Find(u"MsgType"_s)->WaveFile().HasData());
    EXPECT_EQ(next->Find(u"Laser"_s)->WaveFile().Data(), sounds->Find(u"Laser"_s)->WaveFile().Data());
    EXPECT_FALSE(next->Modified());
}

TEST_F(WaveSoundsTest, RestoringFactorySoundsBringsTheBuiltInSetBackAtTheNextStart)
{
    const QString file = path(u"Waves.dat"_s);
    sounds->SetFileName(file);
    sounds->Find(u"Ring"_s)->WaveFile().SetData(TestWave('r'));
    sounds->Save();
    sounds->RestoreFactoryDefaults();
    sounds->Find(u"Ring"_s)->WaveFile().SetData(TestWave('s'));
    sounds.reset(); // modified, but no longer bound: nothing is written
    EXPECT_FALSE(QFile::exists(file));

    auto next = reloaded(file);
    EXPECT_EQ(next->Find(u"Ring"_s)->WaveFile().Data(), TWaveSounds().Find(u"Ring"_s)->WaveFile().Data());
    EXPECT_TRUE(QFile::exists(file));
}

TEST_F(WaveSoundsTest, ActiveIsTrueOnlyForAFileThatExistsWhichIsReadAgainEachTime)
{
    TWaveItem* item = sounds->Find(u"Message"_s);
    const QByteArray builtin = item->WaveFile().Data();
    const QByteArray first = TestWave('1');
    const QString file = wavFile(u"news.wav"_s, first);

    struct Row {
        const char* name;
        QString fileName;
        bool value;
        bool active;
        bool read;
    };
    const Row rows[] = {
        {"NoFileName", QString(), true, false, false},
        {"MissingFile", path(u"missing.wav"_s), true, false, false},
        {"ExistingFileTrue", file, true, true, true},
        {"ExistingFileFalse", file, false, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        item->WaveFile().SetData(builtin);
        item->WaveFile().SetFileName(row.fileName);
        sounds->SetModified(false);
        item->SetActive(row.value);
        EXPECT_EQ(item->Active(), row.active);
        EXPECT_EQ(item->WaveFile().Data(), row.read ? first : builtin);
        EXPECT_EQ(sounds->Modified(), row.active || row.read);
    }

    // Read again: a changed file is taken at the next setting.
    item->SetActive(true);
    const QByteArray second = TestWave('2');
    WriteFile(file, second);
    item->SetActive(true);
    EXPECT_EQ(item->WaveFile().Data(), second);
}

TEST_F(WaveSoundsTest, AFileThatCannotBeReadLeavesActiveFalseAndIsRaised)
{
    TWaveItem* item = sounds->Find(u"Message"_s);
    const QByteArray builtin = item->WaveFile().Data();
    const QString folder = path(u"folder.wav"_s);
    ASSERT_TRUE(QDir().mkpath(folder));
    item->WaveFile().SetFileName(folder);
    EXPECT_THROW(item->SetActive(true), VestrelError);
    EXPECT_FALSE(item->Active());
    EXPECT_EQ(item->WaveFile().Data(), builtin);
}

TEST_F(WaveSoundsTest, LoadFromFileTakesTheWholeFileOrKeepsTheBytes)
{
    TWaveFile& wave = sounds->Find(u"Ring"_s)->WaveFile();
    const QByteArray builtin = wave.Data();

    // Missing: the old bytes stay, the name is taken.
    wave.LoadFromFile(path(u"nowhere.wav"_s));
    EXPECT_EQ(wave.Data(), builtin);
    EXPECT_EQ(wave.FileName(), path(u"nowhere.wav"_s));
    EXPECT_TRUE(sounds->Modified());

    // Any bytes are taken as they are, header and all; playing tells whether they are a sound.
    const QByteArray odd = "not a wave at all";
    wave.LoadFromFile(wavFile(u"odd.wav"_s, odd));
    EXPECT_EQ(wave.Data(), odd);
    EXPECT_EQ(wave.FileName(), path(u"odd.wav"_s));

    // Unreadable or far too big: raised, nothing changes.
    const QString folder = path(u"dir.wav"_s);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString big = path(u"big.wav"_s);
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(TWaveFile::MaxFileSize + 1)); // sparse: costs no disk
    }
    for (const QString& bad : {folder, big}) {
        SCOPED_TRACE(bad.toStdString());
        EXPECT_THROW(wave.LoadFromFile(bad), VestrelError);
        EXPECT_EQ(wave.Data(), odd);
        EXPECT_EQ(wave.FileName(), path(u"odd.wav"_s));
    }
    try {
        wave.LoadFromFile(big);
    } catch (const VestrelError& e) {
        EXPECT_EQ(e.message(), u"Il file "_s + big + u" è troppo grande per essere un suono"_s);
    }
}

} // namespace
