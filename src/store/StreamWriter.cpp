#include "StoreStream.h"

#include "Cp1252.h"
#include "DataCollection.h"
#include "Extended.h"
#include "PersistentComponent.h"
#include "StreamBuffer.h"

namespace vestrel::store {

namespace {

class Writer {
public:
    explicit Writer(QIODevice& device) : m_out(device) {}

    void root(const TPersistent& object, const QString& name)
    {
        m_out.writeBytes(Signature, 4);
        m_out.writeShortString(object.classInfo().name());
        m_out.writeShortString(ToCp1252(name));
        properties(object, {});
        m_out.writeTag(ValueTag::Null);
        m_out.writeTag(ValueTag::Null);
        m_out.flush();
    }

private:
    void properties(const TPersistent& object, const QByteArray& prefix)
    {
        const ClassInfo& info = object.classInfo();
        for (const PropInfo& p : info.properties())
            if (p.stored && p.hasSetter)
                property(object, p, prefix);
        for (const DefinedProp& d : info.definedProperties())
            if (d.hasData(object))
                defined(object, d, prefix);
    }

    void name(const QByteArray& prefix, const QByteArray& n)
    {
        m_out.writeShortString(prefix.isEmpty() ? n : prefix + n);
    }

    void property(const TPersistent& object, const PropInfo& p, const QByteArray& prefix)
    {
        switch (p.kind) {
        case PropKind::Integer:
        case PropKind::Char:
        case PropKind::Enumeration:
        case PropKind::Set: {
            const qint32 v = p.getOrdinal(object);
            if (v == p.defaultOrdinal)
                return;
            name(prefix, p.name);
            ordinal(p, v);
            return;
        }
        case PropKind::Float: {
            const double v = p.getFloat(object);
            if (v == 0.0)
                return;
            name(prefix, p.name);
            extended(v);
            return;
        }
        case PropKind::String: {
            const QString v = p.getString(object);
            if (v.isEmpty())
                return;
            name(prefix, p.name);
            string(v);
            return;
        }
        case PropKind::Collection: {
            auto& mutableObject = const_cast<TPersistent&>(object);
            const TDataCollection& items = *p.collection(mutableObject);
            name(prefix, p.name);
            m_out.writeTag(ValueTag::Collection);
            for (int i = 0; i < items.Count(); ++i) {
                m_out.writeTag(ValueTag::List);
                properties(*items.Items(i), {});
                m_out.writeTag(ValueTag::Null);
            }
            m_out.writeTag(ValueTag::Null);
            return;
        }
        case PropKind::Nested: {
            auto& mutableObject = const_cast<TPersistent&>(object);
            properties(*p.nested(mutableObject), prefix + p.name + '.');
            return;
        }
        case PropKind::Event:
            return; // handlers are never published methods of a store
        }
    }

    void ordinal(const PropInfo& p, qint32 v)
    {
        switch (p.kind) {
        case PropKind::Integer:
            if (p.identMap)
                if (const QByteArray* ident = p.identMap->nameOf(v)) {
                    m_out.writeTag(ValueTag::Ident);
                    m_out.writeShortString(*ident);
                    return;
                }
            integer(v);
            return;
        case PropKind::Char:
            m_out.writeTag(ValueTag::String);
            m_out.writeByte(1);
            m_out.writeByte(std::uint8_t(v));
            return;
        case PropKind::Enumeration:
            enumeration(p, v);
            return;
        case PropKind::Set:
            m_out.writeTag(ValueTag::Set);
            for (int bit = 0; bit < 32 && bit < int(p.names->size()); ++bit)
                if (quint32(v) & (1u << bit))
                    m_out.writeShortString((*p.names)[std::size_t(bit)]);
            m_out.writeByte(0);
            return;
        default:
            return;
        }
    }

    void enumeration(const PropInfo& p, qint32 v)
    {
        if (v < 0 || std::size_t(v) >= p.names->size()) {
            integer(v); // not a value of the type: keep the number rather than lose it
            return;
        }
        const QByteArray& n = (*p.names)[std::size_t(v)];
        if (SameName(n, "False"))
            m_out.writeTag(ValueTag::False);
        else if (SameName(n, "True"))
            m_out.writeTag(ValueTag::True);
        else if (SameName(n, "nil"))
            m_out.writeTag(ValueTag::Nil);
        else if (SameName(n, "Null"))
            m_out.writeTag(ValueTag::Null);
        else {
            m_out.writeTag(ValueTag::Ident);
            m_out.writeShortString(n);
        }
    }

    void integer(qint32 v)
    {
        if (v >= -128 && v <= 127) {
            m_out.writeTag(ValueTag::Int8);
            m_out.writeByte(std::uint8_t(v));
        } else if (v >= -32768 && v <= 32767) {
            m_out.writeTag(ValueTag::Int16);
            m_out.writeInt16(qint16(v));
        } else {
            m_out.writeTag(ValueTag::Int32);
            m_out.writeInt32(v);
        }
    }

    void extended(double v)
    {
        const ExtendedBytes bytes = DoubleToExtended(v);
        m_out.writeTag(ValueTag::Extended);
        m_out.writeBytes(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    }

    // One Windows-1252 byte per UTF-16 unit, so the length is known before encoding.
    void string(const QString& text)
    {
        if (text.size() <= 255) {
            m_out.writeTag(ValueTag::String);
            m_out.writeByte(std::uint8_t(text.size()));
        } else {
            m_out.writeTag(ValueTag::LString);
            m_out.writeInt32(qint32(text.size()));
        }
        m_out.writeCp1252(text);
    }

    void defined(const TPersistent& object, const DefinedProp& d, const QByteArray& prefix)
    {
        name(prefix, d.name);
        if (d.kind == DefinedProp::Kind::StringList) {
            m_out.writeTag(ValueTag::List);
            for (const QString& line : d.getLines(object))
                string(line);
            m_out.writeTag(ValueTag::Null);
        } else {
            const QByteArray bytes = d.getBytes(object);
            m_out.writeTag(ValueTag::Binary);
            m_out.writeInt32(qint32(bytes.size()));
            m_out.writeBytes(bytes);
        }
    }

    StreamOutput m_out;
};

} // namespace

void WriteObject(QIODevice& out, const TPersistent& root, const QString& objectName)
{
    Writer(out).root(root, objectName);
}

void WriteStore(QIODevice& out, const TPersistentComponent& store)
{
    WriteObject(out, store, store.Name());
}

} // namespace vestrel::store
