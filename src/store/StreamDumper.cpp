#include "StreamDumper.h"

#include "Cp1252.h"
#include "Extended.h"
#include "StreamBuffer.h"

#include "common/VestrelError.h"

#include <QLocale>
#include <QtEndian>

namespace vestrel::store {

using namespace Qt::Literals::StringLiterals;

namespace {

// Lists, collections and objects nest no deeper than this, so a hostile file cannot exhaust
// the stack.
constexpr int MaxDepth = 32;

[[noreturn]] void fail(const char* message)
{
    throw VestrelError(QString::fromLatin1(message));
}

// Walks one object of the stream; writes its text when given somewhere to write.
class Walker {
public:
    Walker(StreamInput& in, QString* out) : m_in(in), m_out(out) {}

    void prefix(QString* kind = nullptr, QString* position = nullptr)
    {
        const std::uint8_t b = m_in.peekByte();
        if ((b & 0xF0) != 0xF0)
            return;
        m_in.readByte();
        if (kind)
            *kind = (b & 1) ? u"inherited"_s : (b & 4) ? u"inline"_s : u"object"_s;
        if (b & 2) {
            const qint64 pos = integer(m_in.readTag());
            if (position)
                *position = u" ["_s + QString::number(pos) + u']';
        }
    }

    void object(int depth)
    {
        if (depth > MaxDepth)
            fail("Invalid stream format");
        QString kind = u"object"_s, position;
        prefix(&kind, &position);
        const QString className = FromCp1252(m_in.readShortString());
        const QString name = FromCp1252(m_in.readShortString());
        line(depth, kind + u' ' + (name.isEmpty() ? className : name + u": "_s + className) + position);
        while (m_in.peekTag() != ValueTag::Null)
            property(depth + 1);
        m_in.readTag();
        while (m_in.peekTag() != ValueTag::Null)
            object(depth + 1);
        m_in.readTag();
        line(depth, u"end"_s);
    }

private:
    void property(int depth)
    {
        const QString name = FromCp1252(m_in.readShortString());
        QString text = name + u" = "_s;
        value(m_in.readTag(), depth, text);
        line(depth, text);
    }

    void value(ValueTag tag, int depth, QString& text)
    {
        if (depth > MaxDepth)
            fail("Invalid stream format");
        switch (tag) {
        case ValueTag::Null:
            text += u"Null"_s;
            return;
        case ValueTag::List: {
            text += u'(';
            while (m_in.peekTag() != ValueTag::Null) {
                QString element;
                value(m_in.readTag(), depth + 1, element);
                text += u'\n' + indent(depth + 1) + element;
            }
            m_in.readTag();
            text += u')';
            return;
        }
        case ValueTag::Int8:
        case ValueTag::Int16:
        case ValueTag::Int32:
            text += QString::number(integer(tag));
            return;
        case ValueTag::Extended: {
            ExtendedBytes bytes;
            m_in.readInto(reinterpret_cast<char*>(bytes.data()), qsizetype(bytes.size()));
            text += number(ExtendedToDouble(bytes));
            return;
        }
        case ValueTag::String:
            text += quoted(FromCp1252(m_in.readShortString()));
            return;
        case ValueTag::LString:
            text += quoted(FromCp1252(m_in.readBytes(m_in.readUInt32())));
            return;
        case ValueTag::WString: {
            const quint32 count = m_in.readUInt32();
            if (count > 0x3FFF'0000u)
                fail("Stream read error");
            const QByteArray raw = m_in.readBytes(count * 2);
            QString s(raw.size() / 2, Qt::Uninitialized);
            for (qsizetype i = 0; i < s.size(); ++i)
                s[i] = QChar(char16_t(quint8(raw[2 * i]) | (quint8(raw[2 * i + 1]) << 8)));
            text += quoted(s);
            return;
        }
        case ValueTag::Ident:
            text += FromCp1252(m_in.readShortString());
            return;
        case ValueTag::False:
            text += u"False"_s;
            return;
        case ValueTag::True:
            text += u"True"_s;
            return;
        case ValueTag::Nil:
            text += u"nil"_s;
            return;
        case ValueTag::Binary:
            text += binary(m_in.readBytes(m_in.readUInt32()), depth);
            return;
        case ValueTag::Set: {
            QStringList names;
            for (QByteArray n = m_in.readShortString(); !n.isEmpty(); n = m_in.readShortString())
                names.append(FromCp1252(n));
            text += u'[' + names.join(u", "_s) + u']';
            return;
        }
        case ValueTag::Collection:
            collection(depth, text);
            return;
        case ValueTag::Single:
            text += number(double(raw<float>()));
            return;
        case ValueTag::Currency:
            text += QString::number(double(raw<qint64>()) / 10000.0, 'f', 4);
            return;
        case ValueTag::Date:
            text += number(raw<double>());
            return;
        case ValueTag::Int64:
            text += QString::number(raw<qint64>());
            return;
        }
        fail("Invalid property value");
    }

    void collection(int depth, QString& text)
    {
        text += u'<';
        while (m_in.peekTag() != ValueTag::Null) {
            QString item = u"\n"_s + indent(depth + 1) + u"item"_s;
            const ValueTag first = m_in.peekTag();
            if (first == ValueTag::Int8 || first == ValueTag::Int16 || first == ValueTag::Int32)
                item += u" ["_s + QString::number(integer(m_in.readTag())) + u']';
            if (m_in.readTag() != ValueTag::List)
                fail("Invalid property value");
            text += item;
            while (m_in.peekTag() != ValueTag::Null) {
                const QString name = FromCp1252(m_in.readShortString());
                QString inner = name + u" = "_s;
                value(m_in.readTag(), depth + 2, inner);
                text += u'\n' + indent(depth + 2) + inner;
            }
            m_in.readTag();
            text += u'\n' + indent(depth + 1) + u"end"_s;
        }
        m_in.readTag();
        text += u'>';
    }

    qint64 integer(ValueTag tag)
    {
        switch (tag) {
        case ValueTag::Int8:
            return static_cast<qint8>(m_in.readByte());
        case ValueTag::Int16:
            return m_in.readInt16();
        case ValueTag::Int32:
            return m_in.readInt32();
        default:
            fail("Invalid property value");
        }
    }

    // A little-endian value of the stream.
    template <class V>
    V raw()
    {
        char bytes[sizeof(V)];
        m_in.readInto(bytes, sizeof(V));
        return qFromLittleEndian<V>(bytes);
    }

    static QString number(double v)
    {
        return QString::number(v, 'g', QLocale::FloatingPointShortest);
    }

    static QString quoted(const QString& s)
    {
        QString out;
        bool inQuotes = false;
        for (QChar c : s) {
            if (c.unicode() < u' ') {
                if (inQuotes)
                    out += u'\'';
                inQuotes = false;
                out += u'#' + QString::number(c.unicode());
                continue;
            }
            if (!inQuotes)
                out += u'\'';
            inQuotes = true;
            out += c;
            if (c == u'\'')
                out += u'\'';
        }
        if (inQuotes || out.isEmpty())
            out += out.isEmpty() ? u"''"_s : u"'"_s;
        return out;
    }

    static QString binary(const QByteArray& bytes, int depth)
    {
        QString out = u"{"_s;
        for (qsizetype i = 0; i < bytes.size(); i += 32)
            out += u'\n' + indent(depth + 1) + QString::fromLatin1(bytes.mid(i, 32).toHex().toUpper());
        return out + u'}';
    }

    static QString indent(int depth) { return QString(depth * 2, u' '); }

    void line(int depth, const QString& text)
    {
        if (m_out)
            *m_out += indent(depth) + text + u'\n';
    }

    StreamInput& m_in;
    QString* m_out;
};

} // namespace

QString DumpStream(QIODevice& device)
{
    StreamInput in(device);
    char signature[4];
    in.readInto(signature, 4);
    if (std::memcmp(signature, Signature, 4) != 0)
        fail("Invalid stream format");
    QString text;
    Walker(in, &text).object(0);
    in.finish();
    return text;
}

void SkipPrefix(StreamInput& in)
{
    Walker(in, nullptr).prefix();
}

void SkipObject(StreamInput& in)
{
    Walker(in, nullptr).object(1);
}

} // namespace vestrel::store
