#include "StreamBytes.h"
#include "TestStores.h"

#include "common/ProcessExit.h"
#include "common/Timer.h"
#include "support/FakeClock.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>


using namespace vestrel;
using namespace vestrel::testing;
using namespace vestrel::store;
using namespace Qt::Literals::StringLiterals;

namespace {

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        SetTerminateHook([this](int code) { exitCode = code; });
    }
    void TearDown() override { SetTerminateHook({}); }

    QString path(const QString& name) const { return dir.filePath(name); }
    static QByteArray read(const QString& file) { return ReadFile(file); }
    static void write(const QString& file, const QByteArray& bytes) { WriteFile(file, bytes); }

    FakeClock clock;
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    int exitCode = -1;
};

QByteArray damaged()
{
    return StreamBytes().header("TWaveSounds", "WaveSounds").str("Nope").tag(ValueTag::Int8).byte(1).end();
}

} // namespace

TEST_F(StoreTest, BindingAMissingFileCreatesItWithTheDefaultsOwnerOnly)
{
    TWaveSounds s;
    int loaded = 0;
    s.OnLoaded = [&](TPersistentComponent*) { ++loaded; };
    s.SetFileName(u"  "_s + path(u"Waves.dat"_s) + u"\t\r"_s);
    EXPECT_EQ(s.FileName(), path(u"Waves.dat"_s));
    EXPECT_FALSE(s.FileExisted());
    EXPECT_FALSE(s.Modified());
    EXPECT_EQ(loaded, 1);
    EXPECT_EQ(read(s.FileName()), encode(TWaveSounds()));
    EXPECT_EQ(QFile::permissions(s.FileName()),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(StoreTest, BindingAnExistingFileLoadsItCleanAndMakesItWritable)
{
    TWaveSounds source;
    source.Waves().Add()->SetName(u"Squillo"_s);
    write(path(u"Waves.dat"_s), encode(source));
    QFile::setPermissions(path(u"Waves.dat"_s), QFileDevice::ReadOwner);

    TWaveSounds s;
    int changes = 0;
    s.OnChange = [&](TPersistentComponent*) { ++changes; };
    s.SetFileName(path(u"Waves.dat"_s));
    EXPECT_TRUE(s.FileExisted());
    ASSERT_EQ(s.Waves().Count(), 1);
    EXPECT_EQ(s.Waves()[0]->Name(), u"Squillo"_s);
    EXPECT_FALSE(s.Modified());
    EXPECT_FALSE(s.AutoSaveTimer()->isEnabled());
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(QFile::permissions(path(u"Waves.dat"_s)) & QFileDevice::WriteOwner);
}

TEST_F(StoreTest, BlankNameLeavesTheStoreUnbound)
{
    TWaveSounds s;
    s.SetFileName(u" \t "_s);
    EXPECT_TRUE(s.FileName().isEmpty());
    s.Waves().Add()->SetName(u"x"_s);
    EXPECT_TRUE(s.Modified());
    EXPECT_TRUE(s.AutoSaveTimer()->isEnabled());
    clock.advance(30'000);
    EXPECT_TRUE(s.Modified());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(StoreTest, TwoChangesThreeSecondsApartMakeOneSaveTenSecondsAfterTheFirst)
{
    TWaveSounds s;
    s.SetFileName(path(u"Waves.dat"_s));
    int changes = 0;
    s.OnChange = [&](TPersistentComponent*) { ++changes; };
    const QByteArray before = read(s.FileName());

    s.Waves().Add()->SetName(u"uno"_s);
    clock.advance(3'000);
    s.Waves().Add()->SetName(u"due"_s);
    clock.advance(6'999);
    EXPECT_EQ(read(s.FileName()), before);
    EXPECT_TRUE(s.Modified());
    clock.advance(1);
    EXPECT_FALSE(s.Modified());
    EXPECT_FALSE(s.AutoSaveTimer()->isEnabled());
    EXPECT_EQ(read(s.FileName()), encode(s));
    EXPECT_EQ(changes, 1);
}

TEST_F(StoreTest, ChangeLockSilencesOnChangeButNotTheSave)
{
    struct Locked : TWaveSounds {
        void batch()
        {
            ChangeLock = true;
            Waves().Add()->SetName(u"a"_s);
            ChangeLock = false;
        }
    } s;
    int changes = 0;
    s.OnChange = [&](TPersistentComponent*) { ++changes; };
    s.batch();
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(s.Modified());
}

TEST_F(StoreTest, AddingAnItemDoesNotMarkTheStoreDeletingDoes)
{
    TWaveSounds s;
    s.SetFileName(path(u"Waves.dat"_s));
    s.Waves().Add();
    EXPECT_FALSE(s.Modified());
    s.Waves().Delete(0);
    EXPECT_TRUE(s.Modified());
}

TEST_F(StoreTest, UndecodableFileIsMovedAsideWithOneInformationBoxThenTheProcessEnds)
{
    write(path(u"Waves.dat"_s), damaged());
    write(path(u"Waves.dat@error"_s), "older damaged file");
    QFile::setPermissions(path(u"Waves.dat@error"_s), QFileDevice::ReadOwner);

    TWaveSounds s;
    EXPECT_THROW(s.SetFileName(path(u"Waves.dat"_s)), ProcessTerminated);
    EXPECT_EQ(exitCode, 0);
    EXPECT_FALSE(QFile::exists(path(u"Waves.dat"_s)));
    EXPECT_EQ(read(path(u"Waves.dat@error"_s)), damaged());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, DialogKind::Information);
    EXPECT_EQ(dialogs.shown[0].text,
              u"Impossibile caricare i dati dal file: "_s + path(u"Waves.dat"_s) +
                  u" il file sarà ricreato!\r[Error reading WaveSounds.Nope: Property does not exist]"_s);
    EXPECT_TRUE(s.FileName().isEmpty());
}

TEST_F(StoreTest, AskingOnLoadErrorSavesWhatWasDecodedOnYes)
{
    const QByteArray bytes = StreamBytes()
                                 .header("TWaveSounds", "Log")
                                 .str("AskOnLoadError").tag(ValueTag::True)
                                 .str("Waves").tag(ValueTag::Collection)
                                 .tag(ValueTag::List).str("Name").tag(ValueTag::String).str("salvato").tag(ValueTag::Null)
                                 .tag(ValueTag::List).str("Volume").tag(ValueTag::Int8).byte(3)
                                 .end();
    write(path(u"Log.dat"_s), bytes);
    dialogs.setNextAnswer(DialogAnswer::Yes);

    TWaveSounds s;
    s.SetAskOnLoadError(true);
    EXPECT_THROW(s.SetFileName(path(u"Log.dat"_s)), ProcessTerminated);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, DialogKind::YesNo);
    EXPECT_EQ(dialogs.shown[0].text,
              u"Impossibile caricare i dati dal file: "_s + path(u"Log.dat"_s) +
                  u" il file sarà ricreato!\rProvo a salvare il salvabile?\r\r"_s +
                  u"[Error reading Log.Volume: Property does not exist]"_s);
    EXPECT_EQ(read(path(u"Log.dat@error"_s)), bytes);

    TWaveSounds salvaged;
    decode(read(path(u"Log.dat"_s)), salvaged);
    ASSERT_EQ(salvaged.Waves().Count(), 2);
    EXPECT_EQ(salvaged.Waves()[0]->Name(), u"salvato"_s);
}

TEST_F(StoreTest, AnUnreadableFileKeepsTheValuesAndStillRaisesOnLoaded)
{
    QDir(dir.path()).mkdir(u"Waves.dat"_s); // a directory cannot be read as a file
    TWaveSounds s;
    s.Waves().Add()->SetName(u"costruttore"_s);
    int loaded = 0;
    s.OnLoaded = [&](TPersistentComponent*) { ++loaded; };
    s.SetFileName(path(u"Waves.dat"_s));
    EXPECT_EQ(loaded, 1);
    EXPECT_EQ(s.Waves().Count(), 1);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, DialogKind::Warning);
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(u"Impossibile aprire il file: "_s + path(u"Waves.dat"_s) + u"\r\r["_s));
    EXPECT_FALSE(s.Loading());
}

TEST_F(StoreTest, AFailedSaveLeavesTheOldFileAndStopsTheAutosave)
{
    TWaveSounds s;
    s.SetFileName(path(u"Waves.dat"_s));
    s.Waves().Add()->SetName(u"prima"_s);
    s.Save();
    const QByteArray old = read(s.FileName());

    for (int i = 0; i < 200; ++i)
        s.Waves().Add()->SetName(u"un suono dal nome lungo"_s);
    {
        FileSizeLimit full(512);
        s.Save();
    }
    EXPECT_TRUE(s.SaveFailed());
    EXPECT_TRUE(s.Modified());
    EXPECT_EQ(read(s.FileName()), old);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, DialogKind::Warning);
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(u"Impossibile salvare il file: "_s + s.FileName() + u"\r\r["_s));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1); // no temporary left behind

    clock.advance(60'000);
    EXPECT_EQ(dialogs.shown.size(), 1u); // the timer ticks but no longer saves
    EXPECT_EQ(read(s.FileName()), old);

    s.Save(); // an explicit save still tries
    EXPECT_FALSE(s.Modified());
    EXPECT_TRUE(s.SaveFailed());
    EXPECT_EQ(read(s.FileName()), encode(s));
}

TEST_F(StoreTest, CheckVersion)
{
    struct Versioned : TWaveSounds {
        using TWaveSounds::TWaveSounds;
    };
    {
        Versioned fresh;
        fresh.SetFileName(path(u"Fresh.dat"_s));
        EXPECT_TRUE(fresh.CheckVersion(1));
        TWaveSounds back;
        decode(read(path(u"Fresh.dat"_s)), back);
        EXPECT_EQ(back.Version(), 1);
    }
    write(path(u"Old.dat"_s), encode(TWaveSounds()));
    Versioned old;
    old.SetFileName(path(u"Old.dat"_s));
    EXPECT_FALSE(old.CheckVersion(1));
    EXPECT_FALSE(old.Modified());
    TWaveSounds back;
    decode(read(path(u"Old.dat"_s)), back);
    EXPECT_EQ(back.Version(), 1);
    EXPECT_TRUE(old.CheckVersion(1));
}

TEST_F(StoreTest, ImportReadsAnotherFileWithoutRenameOrMessage)
{
    TWaveSounds source;
    source.Waves().Add()->SetName(u"importato"_s);
    write(path(u"Import.dat"_s), encode(source));
    write(path(u"Bad.dat"_s), damaged());

    TWaveSounds temp;
    temp.ImportFromFile(path(u"Import.dat"_s));
    ASSERT_EQ(temp.Waves().Count(), 1);
    EXPECT_EQ(temp.Waves()[0]->Name(), u"importato"_s);
    temp.ImportFromFile(u"   "_s);

    try {
        temp.ImportFromFile(path(u"Bad.dat"_s));
        FAIL() << "no error";
    } catch (const VestrelError& e) {
        EXPECT_EQ(e.message(), u"Impossibile importare i dati dal file: "_s + path(u"Bad.dat"_s) +
                                   u"\r\r[Error reading WaveSounds.Nope: Property does not exist]"_s);
    }
    EXPECT_TRUE(QFile::exists(path(u"Bad.dat"_s)));
    EXPECT_THROW(temp.ImportFromFile(path(u"Missing.dat"_s)), VestrelError);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(exitCode, -1);
}

TEST_F(StoreTest, AModifiedStoreSavesWhenDestroyed)
{
    {
        TWaveSounds s;
        s.SetFileName(path(u"Waves.dat"_s));
        s.Waves().Add()->SetName(u"ultimo"_s);
    }
    TWaveSounds back;
    back.SetFileName(path(u"Waves.dat"_s));
    ASSERT_EQ(back.Waves().Count(), 1);
    EXPECT_EQ(back.Waves()[0]->Name(), u"ultimo"_s);
}

TEST_F(StoreTest, RestoringFactoryDefaultsDeletesTheFileAndUnbinds)
{
    {
        TWaveSounds s;
        s.SetFileName(path(u"Waves.dat"_s));
        s.RestoreFactoryDefaults();
        EXPECT_FALSE(QFile::exists(path(u"Waves.dat"_s)));
        s.Waves().Add()->SetName(u"dopo"_s);
    }
    EXPECT_FALSE(QFile::exists(path(u"Waves.dat"_s)));
}

TEST_F(StoreTest, AnErrorWhileBindingUnbindsAndPassesOn)
{
    struct Failing : TWaveSounds {
        void DoLoaded() override { throw VestrelError(u"rotto"_s); }
    } s;
    EXPECT_THROW(s.SetFileName(path(u"Waves.dat"_s)), VestrelError);
    EXPECT_TRUE(s.FileName().isEmpty());
}
