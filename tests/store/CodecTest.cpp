#include "StreamBytes.h"
#include "TestStores.h"

#include "store/StreamBuffer.h"

#include <gtest/gtest.h>

#include <QBuffer>

using namespace vestrel;
using namespace vestrel::testing;
using namespace vestrel::store;
using namespace Qt::Literals::StringLiterals;
using T = ValueTag;

namespace {

QByteArray record(QByteArrayView name, const QByteArray& value)
{
    return StreamBytes().str(name).raw(value);
}

// The bytes of the kitchen sink with only the named record(s) differing from the defaults.
QByteArray sinkWith(const QByteArray& records)
{
    return StreamBytes()
        .header("TKitchenSink", "")
        .raw(record("AskOnLoadError", StreamBytes().tag(T::False)))
        .raw(records)
        .raw(record("Font.Charset", StreamBytes().tag(T::Ident).str("DEFAULT_CHARSET")))
        .raw(record("Font.Color", StreamBytes().tag(T::Ident).str("clWindowText")))
        .raw(record("Font.Height", StreamBytes().tag(T::Int8).byte(-11)))
        .raw(record("Font.Name", StreamBytes().tag(T::String).str("MS Sans Serif")))
        .raw(record("Font.Style", StreamBytes().tag(T::Set).byte(0)))
        .raw(record("Waves", StreamBytes().tag(T::Collection).tag(T::Null)))
        .end();
}

} // namespace

TEST(Codec, EmptySoundStoreHasTheExactBytes)
{
    TWaveSounds s;
    s.SetName(u"WaveSounds"_s);
    const QByteArray expected = StreamBytes()
                                    .header("TWaveSounds", "WaveSounds")
                                    .str("AskOnLoadError").tag(T::False)
                                    .str("Waves").tag(T::Collection).tag(T::Null)
                                    .end();
    EXPECT_EQ(encode(s).toHex(' '), expected.toHex(' '));
}

TEST(Codec, DefaultsOfTheKitchenSinkLeaveOutEveryDefaultedValue)
{
    TKitchenSink s;
    // Count has no declared default, so it is written; Price 1.5 is not 0.0; Separator is a char.
    const QByteArray records = StreamBytes()
                                   .str("Count").tag(T::Int8).byte(5)
                                   .str("Flags").tag(T::Int8).byte(0)
                                   .str("Separator").tag(T::String).str(";")
                                   .str("Kinds").tag(T::Set).byte(0)
                                   .str("Price").tag(T::Extended)
                                   .raw(QByteArray::fromHex("00000000000000c0ff3f"))
                                   .str("Title").tag(T::String).str("predefinito");
    // Title comes after Price and before Font; the helper inserts records before Font.
    EXPECT_EQ(encode(s).toHex(' '), sinkWith(records).toHex(' '));
}

struct IntegerCase {
    const char* name;
    qint64 value;
    QByteArray bytes; // tag and payload
};

TEST(Codec, IntegersTakeTheSmallestTag)
{
    const std::vector<IntegerCase> cases = {
        {"127 is Int8", 127, QByteArray::fromHex("027f")},
        {"-128 is Int8", -128, QByteArray::fromHex("0280")},
        {"128 is Int16", 128, QByteArray::fromHex("038000")},
        {"-32768 is Int16", -32768, QByteArray::fromHex("030080")},
        {"-32769 is Int32", -32769, QByteArray::fromHex("04ff7fffff")},
        {"32768 is Int32", 32768, QByteArray::fromHex("0400800000")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TKitchenSink s;
        s.SetCount(qint32(c.value));
        const QByteArray bytes = encode(s);
        EXPECT_TRUE(bytes.contains(StreamBytes().str("Count").raw(c.bytes).d));
        TKitchenSink back;
        decode(bytes, back);
        EXPECT_EQ(back.Count(), c.value);
    }
}

TEST(Codec, UnsignedAllOnesIsWrittenAsMinusOneAndReadBack)
{
    TKitchenSink s;
    s.SetFlags(0xFFFFFFFFu);
    const QByteArray bytes = encode(s);
    EXPECT_TRUE(bytes.contains(StreamBytes().str("Flags").tag(T::Int8).byte(0xFF).d));
    TKitchenSink back;
    decode(bytes, back);
    EXPECT_EQ(back.Flags(), 0xFFFFFFFFu);
}

TEST(Codec, IntegerEqualToTheNoDefaultMarkerIsLeftOut)
{
    TKitchenSink s;
    s.SetCount(INT_MIN);
    const QByteArray bytes = encode(s);
    EXPECT_FALSE(bytes.contains("Count"));
    TKitchenSink back;
    decode(bytes, back);
    EXPECT_EQ(back.Count(), 5);
}

TEST(Codec, StringsUpTo255BytesAreShortLongerOnesLong)
{
    for (const int length : {0, 1, 255, 256, 70'000}) {
        SCOPED_TRACE(length);
        TKitchenSink s;
        s.SetTitle(QString(length, u'x'));
        const QByteArray bytes = encode(s);
        const int at = int(bytes.indexOf("\x05Title"));
        TKitchenSink back;
        decode(bytes, back);
        if (length == 0) {
            EXPECT_EQ(at, -1);
            EXPECT_EQ(back.Title(), u"predefinito"_s);
            continue;
        }
        ASSERT_GE(at, 0);
        EXPECT_EQ(quint8(bytes[at + 6]), quint8(length <= 255 ? T::String : T::LString));
        EXPECT_EQ(back.Title(), s.Title());
    }
}

TEST(Codec, StringsAreWindows1252)
{
    TKitchenSink s;
    s.SetTitle(u"Città € “ok”"_s);
    const QByteArray bytes = encode(s);
    EXPECT_TRUE(bytes.contains(StreamBytes().str("Title").tag(T::String).str("Citt\xE0 \x80 \x93ok\x94").d));
    TKitchenSink back;
    decode(bytes, back);
    EXPECT_EQ(back.Title(), s.Title());
}

TEST(Codec, BooleansAreSingleTagBytes)
{
    TWaveSounds s;
    s.Waves().Add()->SetEnabled(false);
    s.Waves().Add();
    const QByteArray bytes = encode(s);
    EXPECT_TRUE(bytes.contains(StreamBytes().str("Enabled").tag(T::False).tag(T::Null).tag(T::List).d));
    EXPECT_TRUE(bytes.contains(StreamBytes().str("Enabled").tag(T::True).tag(T::Null).tag(T::Null).d));
}

TEST(Codec, ZeroFloatAndEmptyStringComeBackAsConstructorDefaults)
{
    TKitchenSink s;
    s.SetPrice(0.0);
    s.SetTitle({});
    const QByteArray bytes = encode(s);
    EXPECT_FALSE(bytes.contains("Price"));
    EXPECT_FALSE(bytes.contains("Title"));
    TKitchenSink back;
    decode(bytes, back);
    EXPECT_EQ(back.Price(), 1.5);
    EXPECT_EQ(back.Title(), u"predefinito"_s);
}

TEST(Codec, ColoursWithANameAreIdentifiersOthersNumbers)
{
    TKitchenSink s;
    s.Font().SetColor(0xFFFFFF);
    EXPECT_TRUE(encode(s).contains(StreamBytes().str("Font.Color").tag(T::Ident).str("clWhite").d));
    s.Font().SetColor(0x123456);
    const QByteArray bytes = encode(s);
    EXPECT_TRUE(bytes.contains(StreamBytes().str("Font.Color").tag(T::Int32).int32(0x123456).d));
    TKitchenSink back;
    decode(bytes, back);
    EXPECT_EQ(back.Font().Color(), 0x123456);
}

TEST(Codec, EveryKindRoundTrips)
{
    TKitchenSink s;
    s.SetName(u"Sink"_s);
    s.SetTag(-7);
    s.SetVersion(3);
    s.SetAskOnLoadError(true);
    s.SetCount(-100'000);
    s.SetColor(qint32(0x8000000F));
    s.SetSeparator('\xE8');
    s.SetKind(kdThird);
    s.SetKinds((1u << kdFirst) | (1u << kdThird));
    s.SetPrice(-1.0 / 3.0);
    s.SetWhen(36526.999999988426);
    s.SetTitle(u"Gestore - Nome"_s);
    s.Font().SetStyle((1u << fsBold) | (1u << fsStrikeOut));
    s.Font().SetPitch(fpFixed);
    s.Font().SetCharset(204);
    s.Notes().SetLines({u"riga uno"_s, QString(300, u'z'), QString()});
    auto* item = s.Waves().Add();
    item->SetName(u"Connessione"_s);
    item->SetEnabled(false);
    s.SetData(QByteArray("\0\1\2binary", 9));

    const QByteArray bytes = encode(s);
    TKitchenSink back;
    decode(bytes, back);
    EXPECT_EQ(back.Name(), u"Sink"_s);
    EXPECT_EQ(back.Tag(), -7);
    EXPECT_EQ(back.Version(), 3);
    EXPECT_TRUE(back.AskOnLoadError());
    EXPECT_EQ(back.Count(), -100'000);
    EXPECT_EQ(back.Color(), qint32(0x8000000F));
    EXPECT_EQ(back.Separator(), '\xE8');
    EXPECT_EQ(back.Kind(), kdThird);
    EXPECT_EQ(back.Kinds(), s.Kinds());
    EXPECT_EQ(back.Price(), s.Price());
    EXPECT_EQ(back.When(), s.When());
    EXPECT_EQ(back.Title(), s.Title());
    EXPECT_EQ(back.Font().Style(), s.Font().Style());
    EXPECT_EQ(back.Font().Pitch(), fpFixed);
    EXPECT_EQ(back.Font().Charset(), 204);
    EXPECT_EQ(back.Notes().Lines(), s.Notes().Lines());
    ASSERT_EQ(back.Waves().Count(), 1);
    EXPECT_EQ(back.Waves()[0]->Name(), u"Connessione"_s);
    EXPECT_FALSE(back.Waves()[0]->Enabled());
    EXPECT_EQ(back.Data(), s.Data());
    EXPECT_EQ(encode(back), bytes);
    EXPECT_TRUE(bytes.contains(StreamBytes().str("Font.Charset").tag(T::Ident).str("RUSSIAN_CHARSET").d));
    EXPECT_TRUE(bytes.contains(StreamBytes().str("Font.Style").tag(T::Set).str("fsBold").str("fsStrikeOut").byte(0).d));
    EXPECT_TRUE(bytes.contains(StreamBytes().str("Kind").tag(T::Ident).str("kdThird").d));
    EXPECT_TRUE(bytes.contains(StreamBytes().str("Notes.Strings").tag(T::List).d));
    EXPECT_FALSE(bytes.contains("Computed")); // no setter: never written
    EXPECT_FALSE(bytes.contains("Font.Size"));
}

TEST(Codec, EmptyCollectionInTheFileKeepsExistingItemsNonEmptyReplacesThem)
{
    TWaveSounds empty;
    const QByteArray emptyBytes = encode(empty);
    TWaveSounds source;
    source.Waves().Add()->SetName(u"nuovo"_s);
    const QByteArray oneItem = encode(source);

    TWaveSounds target;
    target.Waves().Add()->SetName(u"a"_s);
    target.Waves().Add()->SetName(u"b"_s);
    decode(emptyBytes, target);
    EXPECT_EQ(target.Waves().Count(), 2);
    decode(oneItem, target);
    ASSERT_EQ(target.Waves().Count(), 1);
    EXPECT_EQ(target.Waves()[0]->Name(), u"nuovo"_s);
}

TEST(Codec, NamesAreMatchedWithoutRegardToCase)
{
    TKitchenSink s;
    decode(StreamBytes()
               .header("TKitchenSink", "")
               .str("KIND").tag(T::Ident).str("KDSECOND")
               .str("font.style").tag(T::Set).str("FSITALIC").byte(0)
               .str("askonloaderror").tag(T::True)
               .end(),
           s);
    EXPECT_EQ(s.Kind(), kdSecond);
    EXPECT_EQ(s.Font().Style(), 1u << fsItalic);
    EXPECT_TRUE(s.AskOnLoadError());
}

TEST(Codec, ReaderAcceptsWhatOtherWritersPut)
{
    TWaveSounds s;
    decode(StreamBytes()
               .raw("TPF0").byte(0xF2).tag(T::Int8).byte(3) // prefix byte with a child position
               .str("TWaveSounds").str("")
               .str("Waves").tag(T::Collection)
               .tag(T::Int16).byte(1).byte(0).tag(T::List) // an item index before the item
               .str("Name").tag(T::LString).int32(3).raw("abc")
               .tag(T::Null)
               .tag(T::Null)
               .str("OnChange").tag(T::Nil)
               .byte(0)
               // a streamed child object, read past
               .str("TTimer").str("Timer1").str("Interval").tag(T::Int16).byte(0xE8).byte(3).byte(0).byte(0)
               .byte(0),
           s);
    ASSERT_EQ(s.Waves().Count(), 1);
    EXPECT_EQ(s.Waves()[0]->Name(), u"abc"_s);
}

TEST(Codec, FloatsAcceptIntegerTags)
{
    TKitchenSink s;
    decode(StreamBytes().header("TKitchenSink", "").str("Price").tag(T::Int16).byte(0x10).byte(0x27).end(), s);
    EXPECT_EQ(s.Price(), 10000.0);
}

struct DamagedCase {
    const char* fault;
    QByteArray bytes;
    const char* message;
};

TEST(Codec, DamagedStreamsFailWithTheDecodersMessage)
{
    const auto prop = [](QByteArrayView name, const QByteArray& value) {
        return StreamBytes().header("TKitchenSink", "Sink").str(name).raw(value).end().d;
    };
    const std::vector<DamagedCase> cases = {
        {"empty file", QByteArray(), "Stream read error"},
        {"wrong signature", StreamBytes().raw("TPF1").str("TKitchenSink").str("").end(), "Invalid stream format"},
        {"truncated header", QByteArray("TPF0\x0CTKitch", 11), "Stream read error"},
        {"unknown property", prop("Colour", StreamBytes().tag(T::Int8).byte(1)),
         "Error reading Sink.Colour: Property does not exist"},
        {"unknown nested property", prop("Font.Weight", StreamBytes().tag(T::Int8).byte(1)),
         "Error reading Sink.Font.Weight: Property does not exist"},
        {"path through a scalar", prop("Count.Low", StreamBytes().tag(T::Int8).byte(1)),
         "Error reading Sink.Count.Low: Invalid property path"},
        {"read-only property", prop("Computed", StreamBytes().tag(T::Int8).byte(1)),
         "Error reading Sink.Computed: Property is read-only"},
        {"string for an integer", prop("Count", StreamBytes().tag(T::String).str("1")),
         "Error reading Sink.Count: Invalid property value"},
        {"unknown enumeration name", prop("Kind", StreamBytes().tag(T::Ident).str("kdFourth")),
         "Error reading Sink.Kind: Invalid property value"},
        {"unknown colour name", prop("Color", StreamBytes().tag(T::Ident).str("clPink")),
         "Error reading Sink.Color: Invalid property value"},
        {"unknown set element", prop("Kinds", StreamBytes().tag(T::Set).str("kdZero").byte(0)),
         "Error reading Sink.Kinds: Invalid property value"},
        {"wide string", prop("Title", StreamBytes().tag(T::WString).int32(1).byte('a').byte(0)),
         "Error reading Sink.Title: Invalid property value"},
        {"two-character char", prop("Separator", StreamBytes().tag(T::String).str("ab")),
         "Error reading Sink.Separator: Invalid property value"},
        {"event naming a method", prop("OnChange", StreamBytes().tag(T::Ident).str("Handler")),
         "Error reading Sink.OnChange: Invalid property value"},
        {"item without List", prop("Waves", StreamBytes().tag(T::Collection).tag(T::Int8).byte(0).tag(T::Null)),
         "Error reading Sink.Waves: Invalid property value"},
        {"bad item property", prop("Waves", StreamBytes().tag(T::Collection).tag(T::List).str("Size").tag(T::Int8).byte(0)),
         "Error reading Sink.Size: Property does not exist"},
        {"truncated value", StreamBytes().header("TKitchenSink", "Sink").str("Count").tag(T::Int32).byte(1),
         "Error reading Sink.Count: Stream read error"},
        {"long string past the end", StreamBytes().header("TKitchenSink", "Sink").str("Title").tag(T::LString).int32(0x7FFFFFFF).raw("abc"),
         "Error reading Sink.Title: Stream read error"},
        {"binary past the end", StreamBytes().header("TKitchenSink", "Sink").str("Data").tag(T::Binary).int32(-1),
         "Error reading Sink.Data: Stream read error"},
        {"missing end of children", StreamBytes().header("TKitchenSink", "Sink").byte(0), "Stream read error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        TKitchenSink s;
        EXPECT_EQ(decodeError(c.bytes, s), QString::fromUtf8(c.message));
    }
}

TEST(Codec, ErrorNamesTheClassWhenTheObjectHasNoName)
{
    TKitchenSink s;
    const QByteArray bytes =
        StreamBytes().header("TKitchenSink", "").str("Nope").tag(T::Int8).byte(0).end();
    EXPECT_EQ(decodeError(bytes, s), u"Error reading TKitchenSink.Nope: Property does not exist"_s);
}

TEST(Codec, WhatWasReadBeforeAFailureStays)
{
    TKitchenSink s;
    const QByteArray bytes = StreamBytes()
                                 .header("TKitchenSink", "")
                                 .str("Count").tag(T::Int8).byte(42)
                                 .str("Nope").tag(T::Int8).byte(0)
                                 .end();
    EXPECT_FALSE(decodeError(bytes, s).isEmpty());
    EXPECT_EQ(s.Count(), 42);
}

TEST(Codec, NameOfAWindowGetsASuffix)
{
    RegisterTopLevelName(u"fmMain"_s);
    RegisterTopLevelName(u"fmMain_1"_s);
    TWaveSounds s;
    decode(StreamBytes().header("TWaveSounds", "fmMain").end(), s);
    EXPECT_EQ(s.Name(), u"fmMain_2"_s);
    UnregisterTopLevelName(u"fmMain"_s);
    UnregisterTopLevelName(u"fmMain_1"_s);
}

TEST(Codec, ReaderStopsJustAfterTheLastByteOfTheStream)
{
    TWaveSounds s;
    QBuffer buffer;
    buffer.setData(encode(s) + "trailing");
    buffer.open(QIODevice::ReadOnly);
    ReadStore(buffer, s);
    EXPECT_EQ(buffer.readAll(), QByteArray("trailing"));
}

// A device that accepts only so many bytes, then fails.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(qint64 limit) : m_limit(limit) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 len) override
    {
        if (m_written + len > m_limit) {
            setErrorString(u"Spazio esaurito sul disco"_s);
            return -1;
        }
        m_written += len;
        return len;
    }

private:
    qint64 m_limit;
    qint64 m_written = 0;
};

TEST(Codec, WriteErrorsReachTheCaller)
{
    TKitchenSink s;
    s.Notes().SetLines(QStringList(2000, u"una riga di note"_s)); // more than one buffer
    FailingDevice device(4096);
    try {
        WriteStore(device, s);
        FAIL() << "no error";
    } catch (const VestrelError& e) {
        EXPECT_EQ(e.message(), u"Spazio esaurito sul disco"_s);
    }
}
