#include "StoreStream.h"

#include "Cp1252.h"
#include "DataCollection.h"
#include "Extended.h"
#include "PersistentComponent.h"
#include "StreamBuffer.h"
#include "StreamDumper.h"

#include "common/VestrelError.h"

#include <QSet>

namespace vestrel::store {

using namespace Qt::Literals::StringLiterals;

namespace {

QSet<QString>& topLevelNames()
{
    static QSet<QString> names;
    return names;
}

QString uniqueName(const QString& name)
{
    if (name.isEmpty() || !topLevelNames().contains(name))
        return name;
    for (int n = 1;; ++n) {
        const QString candidate = name + u'_' + QString::number(n);
        if (!topLevelNames().contains(candidate))
            return candidate;
    }
}

[[noreturn]] void fail(const char* message)
{
    throw VestrelError(QString::fromLatin1(message));
}

// Names are a few bytes long: a plain loop beats the library's vectorised search here.
qsizetype indexOfDot(QByteArrayView path, qsizetype from)
{
    for (qsizetype i = from; i < path.size(); ++i)
        if (path[i] == '.')
            return i;
    return -1;
}

// An error already worded "Error reading …": not wrapped again by the enclosing record.
class PropertyReadError : public VestrelError {
public:
    using VestrelError::VestrelError;
};

class Reader {
public:
    explicit Reader(QIODevice& device) : m_in(device) {}

    QString root(TPersistent& object, const std::function<void(const QString&)>& setName)
    {
        char signature[4];
        m_in.readInto(signature, 4);
        if (std::memcmp(signature, Signature, 4) != 0)
            fail("Invalid stream format");
        SkipPrefix(m_in);
        m_in.readShortString(); // the class name: the object is given
        m_rootName = FromCp1252(m_in.readShortString());
        const QString name = uniqueName(m_rootName);
        if (setName)
            setName(name);
        m_errorName = m_rootName.isEmpty() ? FromCp1252(object.classInfo().name()) : m_rootName;
        while (m_in.peekTag() != ValueTag::Null)
            property(object);
        m_in.readTag();
        while (m_in.peekTag() != ValueTag::Null)
            SkipObject(m_in); // stores own no streamed children; read past them
        m_in.readTag();
        m_in.finish();
        return name;
    }

private:
    void property(TPersistent& object)
    {
        char buffer[256];
        const QByteArrayView path = m_in.readShortString(buffer);
        try {
            propertyValue(object, path);
        } catch (const PropertyReadError&) {
            throw;
        } catch (const VestrelError& e) {
            throw PropertyReadError(u"Error reading "_s + m_errorName + u'.' + FromCp1252(path) +
                                    u": "_s + e.message());
        }
    }

    void propertyValue(TPersistent& object, QByteArrayView path)
    {
        TPersistent* current = &object;
        bool hasProperties = true;
        qsizetype start = 0;
        for (qsizetype dot = indexOfDot(path, 0); dot >= 0; dot = indexOfDot(path, start)) {
            const PropInfo* p = hasProperties ? find(*current, path.sliced(start, dot - start)) : nullptr;
            if (!p)
                fail("Property does not exist");
            if (p->kind == PropKind::Nested)
                current = p->nested(*current);
            else if (p->kind == PropKind::Collection)
                hasProperties = false; // a collection publishes nothing of its own
            else
                fail("Invalid property path");
            start = dot + 1;
        }
        const QByteArrayView last = path.sliced(start);
        if (const PropInfo* p = hasProperties ? find(*current, last) : nullptr) {
            value(*current, *p);
            return;
        }
        if (const DefinedProp* d = hasProperties ? current->classInfo().findDefined(last) : nullptr) {
            defined(*current, *d);
            return;
        }
        fail("Property does not exist");
    }

    const PropInfo* find(const TPersistent& object, QByteArrayView name)
    {
        // Items of one collection share a class: ask the object only when it changes.
        const ClassInfo* info = &object == m_hintObject ? m_hintClass : &object.classInfo();
        m_hintObject = &object;
        if (info != m_hintClass) {
            m_hintClass = info;
            m_hint = 0;
        }
        return info->find(name, m_hint);
    }

    void value(TPersistent& object, const PropInfo& p)
    {
        const bool isObject = p.kind == PropKind::Collection || p.kind == PropKind::Nested;
        if (!p.hasSetter && !isObject)
            fail("Property is read-only");
        const ValueTag tag = m_in.readTag();
        switch (p.kind) {
        case PropKind::Integer:
            if (tag == ValueTag::Ident) {
                char buffer[256];
                const QByteArrayView ident = m_in.readShortString(buffer);
                const auto v = p.identMap ? p.identMap->valueOf(ident) : std::nullopt;
                if (!v)
                    fail("Invalid property value");
                p.setOrdinal(object, *v);
            } else {
                p.setOrdinal(object, integer(tag));
            }
            return;
        case PropKind::Char: {
            if (tag != ValueTag::String)
                fail("Invalid property value");
            const QByteArray s = m_in.readShortString();
            if (s.size() != 1)
                fail("Invalid property value");
            p.setOrdinal(object, qint32(static_cast<unsigned char>(s[0])));
            return;
        }
        case PropKind::Enumeration:
            p.setOrdinal(object, enumeration(p, tag));
            return;
        case PropKind::Set:
            if (tag != ValueTag::Set)
                fail("Invalid property value");
            p.setOrdinal(object, set(p));
            return;
        case PropKind::Float:
            if (tag == ValueTag::Extended) {
                ExtendedBytes bytes;
                m_in.readInto(reinterpret_cast<char*>(bytes.data()), qsizetype(bytes.size()));
                p.setFloat(object, ExtendedToDouble(bytes));
            } else {
                p.setFloat(object, double(integer(tag)));
            }
            return;
        case PropKind::String:
            p.setString(object, string(tag));
            return;
        case PropKind::Collection:
            if (tag == ValueTag::Nil)
                return; // the collection belongs to the store and stays
            if (tag != ValueTag::Collection)
                fail("Invalid property value");
            collection(*p.collection(object));
            return;
        case PropKind::Nested:
            if (tag != ValueTag::Nil)
                fail("Invalid property value");
            return;
        case PropKind::Event:
            if (tag != ValueTag::Nil)
                fail("Invalid property value"); // a store publishes no methods to name
            p.clearEvent(object);
            return;
        }
    }

    qint32 integer(ValueTag tag)
    {
        switch (tag) {
        case ValueTag::Int8:
            return qint32(static_cast<qint8>(m_in.readByte()));
        case ValueTag::Int16:
            return m_in.readInt16();
        case ValueTag::Int32:
            return m_in.readInt32();
        default:
            fail("Invalid property value");
        }
    }

    qint32 enumeration(const PropInfo& p, ValueTag tag)
    {
        QByteArray name;
        switch (tag) {
        case ValueTag::Ident:
            name = m_in.readShortString();
            break;
        case ValueTag::False:
            name = "False";
            break;
        case ValueTag::True:
            name = "True";
            break;
        case ValueTag::Nil:
            name = "nil";
            break;
        case ValueTag::Null:
            name = "Null";
            break;
        default:
            fail("Invalid property value");
        }
        for (std::size_t i = 0; i < p.names->size(); ++i)
            if (SameName((*p.names)[i], name))
                return qint32(i);
        fail("Invalid property value");
    }

    qint32 set(const PropInfo& p)
    {
        quint32 bits = 0;
        for (QByteArray name = m_in.readShortString(); !name.isEmpty(); name = m_in.readShortString()) {
            std::size_t i = 0;
            while (i < p.names->size() && !SameName((*p.names)[i], name))
                ++i;
            if (i >= p.names->size() || i >= 32)
                fail("Invalid property value");
            bits |= 1u << i;
        }
        return qint32(bits);
    }

    QString string(ValueTag tag)
    {
        if (tag == ValueTag::String) {
            char buffer[256];
            return FromCp1252(m_in.readShortString(buffer));
        }
        if (tag == ValueTag::LString)
            return FromCp1252(m_in.readBytes(m_in.readUInt32()));
        fail("Invalid property value");
    }

    void collection(TDataCollection& items)
    {
        items.BeginUpdate();
        struct EndUpdate {
            TDataCollection& c;
            ~EndUpdate() { c.EndUpdate(); }
        } end{items};
        if (m_in.peekTag() != ValueTag::Null)
            items.RemoveAllForLoad();
        while (m_in.peekTag() != ValueTag::Null) {
            const ValueTag first = m_in.peekTag();
            if (first == ValueTag::Int8 || first == ValueTag::Int16 || first == ValueTag::Int32)
                integer(m_in.readTag()); // an item index some writers put first
            TDataCollectionItem* item = items.AddItem();
            if (m_in.readTag() != ValueTag::List)
                fail("Invalid property value");
            while (m_in.peekTag() != ValueTag::Null)
                property(*item);
            m_in.readTag();
        }
        m_in.readTag();
    }

    void defined(TPersistent& object, const DefinedProp& d)
    {
        if (d.kind == DefinedProp::Kind::StringList) {
            if (m_in.readTag() != ValueTag::List)
                fail("Invalid property value");
            QStringList lines;
            while (m_in.peekTag() != ValueTag::Null)
                lines.append(string(m_in.readTag()));
            m_in.readTag();
            d.setLines(object, lines);
        } else {
            if (m_in.readTag() != ValueTag::Binary)
                fail("Invalid property value");
            d.setBytes(object, m_in.readBytes(m_in.readUInt32()));
        }
    }

    StreamInput m_in;
    QString m_rootName;
    QString m_errorName;
    const TPersistent* m_hintObject = nullptr;
    const ClassInfo* m_hintClass = nullptr;
    std::size_t m_hint = 0;
};

} // namespace

QString ReadObject(QIODevice& in, TPersistent& root)
{
    return Reader(in).root(root, {});
}

void ReadStore(QIODevice& in, TPersistentComponent& store)
{
    Reader(in).root(store, [&store](const QString& name) { store.SetName(name); });
}

void RegisterTopLevelName(const QString& name)
{
    topLevelNames().insert(name);
}

void UnregisterTopLevelName(const QString& name)
{
    topLevelNames().remove(name);
}

} // namespace vestrel::store
