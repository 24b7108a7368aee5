#include "StreamBytes.h"
#include "TestStores.h"

#include "store/StreamDumper.h"

#include <gtest/gtest.h>

#include <QBuffer>

using namespace vestrel;
using namespace vestrel::testing;
using namespace vestrel::store;
using namespace Qt::Literals::StringLiterals;

namespace {
QString dump(const QByteArray& bytes)
{
    QBuffer b;
    b.setData(bytes);
    b.open(QIODevice::ReadOnly);
    return DumpStream(b);
}
} // namespace

TEST(Dump, PrintsTheTreeOfAnyStream)
{
    TKitchenSink s;
    s.SetName(u"Sink"_s);
    s.SetTitle(u"l'ora\rdopo"_s);
    s.SetKinds(1u << kdSecond);
    s.Notes().SetLines({u"a"_s, u"b"_s});
    s.Waves().Add()->SetName(u"Squillo"_s);
    s.Waves().Add();
    s.SetData(QByteArray::fromHex("0102ff"));
    const QString text = dump(encode(s));
    EXPECT_EQ(text, uR"(object Sink: TKitchenSink
  AskOnLoadError = False
  Count = 5
  Flags = 0
  Separator = ';'
  Kinds = [kdSecond]
  Price = 1.5
  Title = 'l''ora'#13'dopo'
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Notes.Strings = (
    'a'
    'b')
  Waves = <
    item
      Name = 'Squillo'
      Enabled = True
    end
    item
      Enabled = True
    end>
  Data = {
    0102FF}
end
)"_s);
}

TEST(Dump, PrintsKindsNoStoreWrites)
{
    const QByteArray bytes = StreamBytes()
                                 .header("TThing", "")
                                 .str("W").tag(ValueTag::WString).int32(2).raw(QByteArray("\xE8\0x\0", 4))
                                 .str("I").tag(ValueTag::Int64).raw(QByteArray("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 8))
                                 .str("N").tag(ValueTag::Nil)
                                 .byte(0)
                                 .byte(0xF1).str("TChild").str("Child").byte(0).byte(0)
                                 .byte(0);
    EXPECT_EQ(dump(bytes), uR"(object TThing
  W = 'èx'
  I = -1
  N = nil
  inherited Child: TChild
  end
end
)"_s);
}

TEST(Dump, RejectsDamagedStreams)
{
    TWaveSounds s;
    const QByteArray good = encode(s);
    for (qsizetype cut = 0; cut < good.size(); ++cut) {
        SCOPED_TRACE(cut);
        EXPECT_THROW(dump(good.left(cut)), VestrelError);
    }
    QByteArray deep = StreamBytes().header("TDeep", "").str("L").d;
    deep.append(QByteArray(10'000, char(ValueTag::List)));
    EXPECT_THROW(dump(deep), VestrelError);
}
