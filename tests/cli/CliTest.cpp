#include "cli/CliCommands.h"
#include "cli/CliRunner.h"
#include "store/StoreRegistry.h"
#include "store/StreamBytes.h"
#include "store/TestStores.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace vestrel;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The program's own classes first, so the small test store takes the place of the real
        // sound store of the same name.
        cli::RegisterAllCommands();
        store::StoreRegistry::Register("TWaveSounds", [] { return std::make_unique<TWaveSounds>(); });
        ASSERT_TRUE(dir.isValid());
    }
    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return f.fileName();
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(CliTest, DumpPrintsAReadableTree)
{
    TWaveSounds s;
    s.SetName(u"WaveSounds"_s);
    s.Waves().Add()->SetName(u"Connessione stabilita"_s);
    const CliResult r = RunCli({u"dump"_s, write(u"Waves.dat"_s, encode(s))});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, uR"(object WaveSounds: TWaveSounds
  AskOnLoadError = False
  Waves = <
    item
      Name = 'Connessione stabilita'
      Enabled = True
    end>
end
)"_s);
}

TEST_F(CliTest, DumpRejectsDamagedFilesWithTheDecodersMessage)
{
    TWaveSounds s;
    const QByteArray good = encode(s);
    struct Case {
        const char* fault;
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {"truncated", good.left(good.size() - 3), "Stream read error\n"},
        {"not a store", "GIF89a", "Invalid stream format\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        const CliResult r = RunCli({u"dump"_s, write(u"bad.dat"_s, c.bytes)});
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err, QString::fromUtf8(c.message));
    }
    const CliResult missing = RunCli({u"dump"_s, dir.filePath(u"missing.dat"_s)});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.startsWith(u"Impossibile aprire il file: "_s));
}

TEST_F(CliTest, ResaveDecodesIntoTheNamedClassAndWritesTheSameBytes)
{
    TWaveSounds s;
    s.SetName(u"WaveSounds"_s);
    s.Waves().Add()->SetName(u"Disconnessione"_s);
    const QByteArray bytes = encode(s);
    const QString out = dir.filePath(u"out.dat"_s);
    const CliResult r = RunCli({u"resave"_s, write(u"in.dat"_s, bytes), out});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), bytes);
}

TEST_F(CliTest, ResaveFailures)
{
    const CliResult unknown = RunCli({u"resave"_s, write(u"x.dat"_s, StreamBytes().header("TNobody", "").end()),
                             dir.filePath(u"o.dat"_s)});
    EXPECT_EQ(unknown.code, 1);
    EXPECT_EQ(unknown.err, u"Classe sconosciuta: TNobody\n"_s);

    const QByteArray bad = StreamBytes().header("TWaveSounds", "W").str("Nope").tag(store::ValueTag::Nil).end();
    const CliResult damaged = RunCli({u"resave"_s, write(u"y.dat"_s, bad), dir.filePath(u"o.dat"_s)});
    EXPECT_EQ(damaged.code, 1);
    EXPECT_EQ(damaged.err, u"Error reading W.Nope: Property does not exist\n"_s);
    EXPECT_FALSE(QFile::exists(dir.filePath(u"o.dat"_s)));
}

TEST_F(CliTest, WrongUsageExitsWithTwo)
{
    EXPECT_EQ(RunCli({}).code, 2);
    EXPECT_EQ(RunCli({u"nonsense"_s}).code, 2);
    EXPECT_EQ(RunCli({u"dump"_s}).code, 2);
    EXPECT_EQ(RunCli({u"--colour"_s, u"dump"_s}).code, 2);
}
