#include "LogFixtures.h"

#include "common/ProcessExit.h"
#include "store/Extended.h"
#include "store/StoreStream.h"
#include "store/StreamBytes.h"

#include <QDir>

using namespace vestrel;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;
using store::ValueTag;

namespace {

StreamBytes& extended(StreamBytes& b, double v)
{
    b.tag(ValueTag::Extended);
    for (const std::uint8_t byte : store::DoubleToExtended(v))
        b.byte(byte);
    return b;
}

} // namespace

// Where a record goes: after the records that start no later, except that a start equal to an
// earlier record's goes before it (only the last record is compared for an append).
TEST_F(LogTest, InsertionKeepsStartOrder)
{
    struct Case {
        const char* what;
        TDateTime start;
        int position;
    } cases[] = {
        {"later than all", At(2000, 1, 4), 3},
        {"equal to the last", At(2000, 1, 3), 3},
        {"equal to an earlier one", At(2000, 1, 2), 1},
        {"between two", At(2000, 1, 2, 12), 2},
        {"before all", At(1999, 12, 31), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TDataUnits log;
        for (int day = 1; day <= 3; ++day)
            log.InsertValues(day, u"esistente"_s, 0, At(2000, 1, day, 1), At(2000, 1, day));
        log.InsertValues(99, u"nuovo"_s, 0, c.start, c.start);
        ASSERT_EQ(log.Units().Count(), 4);
        EXPECT_EQ(log.Units()[c.position]->N(), u"nuovo"_s);
        const std::vector<TDateTime> starts = Starts(log.Units());
        EXPECT_TRUE(std::is_sorted(starts.begin(), starts.end()));
        EXPECT_FALSE(log.Modified());
    }
    TDataUnits empty;
    EXPECT_EQ(empty.PositionForStart(At(2000, 1, 1)), -1);
}

TEST_F(LogTest, AddConnectionSavesAtOnceEveryField)
{
    TDataUnits log;
    log.SetFileName(path(u"Connections.dat"_s));
    EXPECT_TRUE(log.AskOnLoadError());
    EXPECT_FALSE(log.Modified());

    TConnectionData c = Connection(At(2000, 1, 1, 10), At(2000, 1, 1, 10, 30), 12, 1936.27, u"Tiscali"_s);
    c.IpAddress = u"151.1.2.3"_s;
    c.Speed = 56000;
    c.BytesSent = 4'000'000'000u;
    c.BytesReceived = 77;
    log.AddConnection(c);
    EXPECT_FALSE(log.Modified());

    TDataUnits loaded;
    loaded.SetFileName(log.FileName());
    ASSERT_EQ(loaded.Units().Count(), 1);
    const TDataUnitsItem& r = *loaded.Units()[0];
    EXPECT_EQ(r.I(), c.Start);
    EXPECT_EQ(r.F(), c.End);
    EXPECT_EQ(r.S(), 12);
    EXPECT_EQ(r.L(), 1936.27);
    EXPECT_EQ(r.E(), 1.0);
    EXPECT_EQ(r.N(), u"Tiscali"_s);
    EXPECT_EQ(r.Z(), u"151.1.2.3"_s);
    EXPECT_EQ(r.Y(), 56000);
    EXPECT_EQ(r.T(), 4'000'000'000u);
    EXPECT_EQ(r.R(), 77u);
}

// Zero floats and empty strings are left out, the integers always written, E derived from L.
TEST_F(LogTest, RecordLayoutInTheFile)
{
    TDataUnits log;
    log.SetName(u"DataUnits"_s);
    TConnectionData c = Connection(At(2000, 1, 1, 10), 0, 3, 1936.27, u"Avvio manuale"_s);
    c.BytesSent = 0x80000001u; // written as the negative Int32 of the same bits
    TDataUnitsItem record;
    record.SetFrom(c);
    log.InsertSorted(record);
    StreamBytes expected;
    expected.header("TDataUnits", "DataUnits").str("AskOnLoadError").tag(ValueTag::True);
    expected.str("Units").tag(ValueTag::Collection).tag(ValueTag::List).str("I");
    extended(expected, c.Start).str("S").tag(ValueTag::Int8).byte(3).str("L");
    extended(expected, 1936.27).str("E");
    extended(expected, 1.0)
        .str("N").tag(ValueTag::String).str("Avvio manuale")
        .str("Y").tag(ValueTag::Int8).byte(0)
        .str("T").tag(ValueTag::Int32).int32(qint32(0x80000001u))
        .str("R").tag(ValueTag::Int8).byte(0)
        .byte(0) // end of the item
        .byte(0) // end of the collection
        .end();
    EXPECT_EQ(QString::fromLatin1(encode(log).toHex(' ')), QString::fromLatin1(QByteArray(expected).toHex(' ')));
}

TEST_F(LogTest, EuroIsAlwaysDerivedFromLire)
{
    StreamBytes bytes;
    bytes.header("TDataUnits", "DataUnits").str("Units").tag(ValueTag::Collection).tag(ValueTag::List).str("L");
    extended(bytes, 1936.27).str("E");
    extended(bytes, 5.0).byte(0).byte(0).end();
    TDataUnits log;
    decode(bytes, log);
    ASSERT_EQ(log.Units().Count(), 1);
    EXPECT_EQ(log.Units()[0]->E(), 1.0);
}

TEST_F(LogTest, DeletingARecordReachesTheFileWithTheAutosave)
{
    TDataUnits log;
    log.SetFileName(path(u"Connections.dat"_s));
    log.AddConnection(Connection(At(2000, 1, 1, 8), At(2000, 1, 1, 9), 1, 0, u"primo"_s));
    log.AddConnection(Connection(At(2000, 1, 1, 10), At(2000, 1, 1, 11), 2, 0, u"secondo"_s));
    const QByteArray both = ReadFile(log.FileName());

    log.DeleteRecord(log.Units()[0]);
    EXPECT_TRUE(log.Modified());
    clock.advance(9'999);
    EXPECT_EQ(ReadFile(log.FileName()), both);
    clock.advance(1);
    EXPECT_FALSE(log.Modified());
    TDataUnits loaded;
    loaded.SetFileName(log.FileName());
    ASSERT_EQ(loaded.Units().Count(), 1);
    EXPECT_EQ(loaded.Units()[0]->N(), u"secondo"_s);
}

// A save that fails must not lose the connection: it stays pending and the next save writes it.
TEST_F(LogTest, AConnectionWhoseSaveFailedIsSavedLater)
{
    auto log = std::make_unique<TDataUnits>();
    log->SetFileName(path(u"Connections.dat"_s));
    {
        FileSizeLimit full(64);
        log->AddConnection(Connection(At(2000, 1, 1, 8), At(2000, 1, 1, 9), 1, 127, u"un nome abbastanza lungo"_s));
    }
    EXPECT_TRUE(log->SaveFailed());
    EXPECT_TRUE(log->Modified());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(u"Impossibile salvare il file: "_s));

    log.reset(); // the closing save
    TDataUnits loaded;
    loaded.SetFileName(path(u"Connections.dat"_s));
    EXPECT_EQ(loaded.Units().Count(), 1);
}

// A file whose records are out of order (edited elsewhere) is put back in order on load, equal
// starts keeping their file order, without marking the log modified.
TEST_F(LogTest, RecordsOutOfOrderInTheFileAreSortedOnLoad)
{
    {
        TDataUnits unordered;
        for (const auto& [day, name] : {std::pair{3, "c"}, {1, "a1"}, {2, "b"}, {1, "a2"}}) {
            TDataUnitsItem* r = unordered.Units().Add();
            r->SetI(At(2000, 1, day));
            r->SetN(QString::fromLatin1(name));
        }
        store::WriteStoreFile(path(u"Connections.dat"_s), unordered);
    }
    TDataUnits log;
    log.SetFileName(path(u"Connections.dat"_s));
    QStringList names;
    for (int i = 0; i < log.Units().Count(); ++i)
        names << log.Units()[i]->N();
    EXPECT_EQ(names, (QStringList{u"a1"_s, u"a2"_s, u"b"_s, u"c"_s}));
    EXPECT_FALSE(log.Modified());
}

TEST_F(LogTest, ADamagedLogOffersToSaveWhatWasRead)
{
    SetTerminateHook([](int) {});
    {
        TDataUnits log;
        log.SetFileName(path(u"Connections.dat"_s));
        log.AddConnection(Connection(At(2000, 1, 1, 8), At(2000, 1, 1, 9), 1, 0, u"salvabile"_s));
    }
    QByteArray bytes = ReadFile(path(u"Connections.dat"_s));
    bytes.chop(2);
    bytes += "\x01\x07Unknown\x02\x01";
    WriteFile(path(u"Connections.dat"_s), bytes);

    dialogs.setNextAnswer(DialogAnswer::Yes);
    TDataUnits log;
    EXPECT_THROW(log.SetFileName(path(u"Connections.dat"_s)), ProcessTerminated);
    SetTerminateHook({});
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, DialogKind::YesNo);
    EXPECT_TRUE(dialogs.shown[0].text.contains(u"Provo a salvare il salvabile?"_s));
    EXPECT_TRUE(QFile::exists(path(u"Connections.dat@error"_s)));

    TDataUnits salvaged;
    salvaged.SetFileName(path(u"Connections.dat"_s));
    ASSERT_GE(salvaged.Units().Count(), 1);
    EXPECT_EQ(salvaged.Units()[0]->N(), u"salvabile"_s);
}

// An edited start puts the record back in order, so the queries that stop early still find it.
TEST_F(LogTest, AnEditedRecordReturnsToItsPlace)
{
    TDataUnits log;
    for (int day = 1; day <= 3; ++day)
        log.InsertValues(day, QString::number(day), 0, At(2000, 1, day, 1), At(2000, 1, day));
    TDataUnitsItem* first = log.Units()[0];
    first->SetI(At(2000, 1, 5));
    first->SetF(At(2000, 1, 5, 1));
    log.RecordChanged(first);
    EXPECT_EQ(log.Units()[2], first);
    EXPECT_TRUE(log.Modified());

    first->SetI(At(2000, 1, 2)); // equal to another start: before it, as an insertion would be
    log.RecordChanged(first);
    EXPECT_EQ(log.Units()[0], first);
    TDataUnitsItems found;
    log.SelectRange(found, At(2000, 1, 2), At(2000, 1, 2));
    ASSERT_EQ(found.Count(), 2);
    EXPECT_EQ(found[0]->Origin(), first);
}
