#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <climits>
#include <functional>
#include <optional>
#include <vector>

namespace vestrel::store {

class ClassInfo;
class TDataCollection;

// Every object that is written to a store file: stores, collection items, nested objects.
class TPersistent {
public:
    virtual ~TPersistent() = default;
    virtual const ClassInfo& classInfo() const = 0;
};

// An ordinal property with no declared default is always written, except for this very value.
inline constexpr qint32 NoDefault = INT_MIN;

enum class PropKind { Integer, Char, Enumeration, Set, Float, String, Collection, Nested, Event };

// Names of integer values that are written as identifiers (colours, character sets).
class IdentMap {
public:
    IdentMap(std::initializer_list<std::pair<const char*, qint32>> entries);
    // The first name with that value.
    const QByteArray* nameOf(qint32 value) const;
    std::optional<qint32> valueOf(QByteArrayView name) const; // case-insensitive

private:
    std::vector<std::pair<QByteArray, qint32>> m_entries;
};

// Names of the values of an enumeration, or of the elements of a set, by ordinal.
using EnumNames = std::vector<QByteArray>;

struct PropInfo {
    QByteArray name;
    PropKind kind = PropKind::Integer;
    bool stored = true;
    bool hasSetter = true;
    qint32 defaultOrdinal = NoDefault;
    const EnumNames* names = nullptr;
    const IdentMap* identMap = nullptr;

    std::function<qint32(const TPersistent&)> getOrdinal;
    std::function<void(TPersistent&, qint32)> setOrdinal;
    std::function<double(const TPersistent&)> getFloat;
    std::function<void(TPersistent&, double)> setFloat;
    std::function<QString(const TPersistent&)> getString;
    std::function<void(TPersistent&, const QString&)> setString;
    std::function<TDataCollection*(TPersistent&)> collection;
    std::function<TPersistent*(TPersistent&)> nested;
    std::function<void(TPersistent&)> clearEvent;
};

// A property that the class writes itself, after its published ones: "Strings" of a string list,
// "Data" of a picture or of a binary payload.
struct DefinedProp {
    enum class Kind { StringList, Binary };
    QByteArray name;
    Kind kind = Kind::Binary;
    std::function<bool(const TPersistent&)> hasData;
    std::function<QStringList(const TPersistent&)> getLines;
    std::function<void(TPersistent&, const QStringList&)> setLines;
    std::function<QByteArray(const TPersistent&)> getBytes;
    std::function<void(TPersistent&, const QByteArray&)> setBytes;
};

// The schema of one class: its published properties in order, base class first, and its defined
// properties. The encoder and the decoder walk it; nothing else knows the byte layout.
class ClassInfo {
public:
    ClassInfo(QByteArray name, const ClassInfo* parent, std::vector<PropInfo> own,
              std::vector<DefinedProp> defined);

    const QByteArray& name() const { return m_name; }
    const ClassInfo* parent() const { return m_parent; }
    const std::vector<PropInfo>& properties() const { return m_all; }
    const std::vector<DefinedProp>& definedProperties() const { return m_defined; }

    // Case-insensitive. The hint (position after the previous match) makes the usual case, records
    // in declaration order, a single comparison.
    const PropInfo* find(QByteArrayView name, std::size_t& hint) const;
    const DefinedProp* findDefined(QByteArrayView name) const;

private:
    QByteArray m_name;
    const ClassInfo* m_parent;
    std::vector<PropInfo> m_all;
    std::vector<DefinedProp> m_defined;
};

// Names compare without regard to case.
inline bool SameName(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    // Names are short and usually in the declared case: compare bytes, fold case only on a
    // difference.
    for (qsizetype i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x == y)
            continue;
        if (x >= 'a' && x <= 'z')
            x = char(x - 32);
        if (y >= 'a' && y <= 'z')
            y = char(y - 32);
        if (x != y)
            return false;
    }
    return true;
}

// Declares a class's schema once, from its accessors:
//   static const ClassInfo info = ClassBuilder<TWaveItem>("TWaveItem", &TDataCollectionItem::staticClassInfo())
//       .string("Name", &TWaveItem::Name, &TWaveItem::SetName)
//       .boolean("Enabled", &TWaveItem::Enabled, &TWaveItem::SetEnabled)
//       .build();
// Getters and setters are anything std::invoke takes with the object: member functions or lambdas.
template <class T>
class ClassBuilder {
public:
    ClassBuilder(const char* name, const ClassInfo* parent) : m_name(name), m_parent(parent) {}

    template <class G, class S>
    ClassBuilder& integer(const char* name, G get, S setter, const IdentMap* map = nullptr)
    {
        PropInfo& p = ordinal(name, PropKind::Integer, get, setter);
        p.identMap = map;
        return *this;
    }
    // A property with a getter only is published but never written, and reading it fails.
    template <class G>
    ClassBuilder& readOnlyInteger(const char* name, G get)
    {
        PropInfo& p = add(name, PropKind::Integer);
        p.hasSetter = false;
        p.getOrdinal = [get](const TPersistent& o) { return qint32(std::invoke(get, self(o))); };
        return *this;
    }
    template <class G, class S>
    ClassBuilder& character(const char* name, G get, S setter)
    {
        ordinal(name, PropKind::Char, get, setter);
        return *this;
    }
    template <class G, class S>
    ClassBuilder& enumeration(const char* name, G get, S setter, const EnumNames& names)
    {
        ordinal(name, PropKind::Enumeration, get, setter).names = &names;
        return *this;
    }
    template <class G, class S>
    ClassBuilder& boolean(const char* name, G get, S setter)
    {
        return enumeration(name, get, setter, BooleanNames());
    }
    // The value is a bit mask of the elements (element i is bit i).
    template <class G, class S>
    ClassBuilder& setOf(const char* name, G get, S setter, const EnumNames& elements)
    {
        ordinal(name, PropKind::Set, get, setter).names = &elements;
        return *this;
    }
    template <class G, class S>
    ClassBuilder& floating(const char* name, G get, S setter)
    {
        PropInfo& p = add(name, PropKind::Float);
        p.getFloat = [get](const TPersistent& o) { return double(std::invoke(get, self(o))); };
        p.setFloat = [setter](TPersistent& o, double v) { std::invoke(setter, self(o), v); };
        return *this;
    }
    template <class G, class S>
    ClassBuilder& string(const char* name, G get, S setter)
    {
        PropInfo& p = add(name, PropKind::String);
        p.getString = [get](const TPersistent& o) { return QString(std::invoke(get, self(o))); };
        p.setString = [setter](TPersistent& o, const QString& v) { std::invoke(setter, self(o), v); };
        return *this;
    }
    // The collection or nested object belongs to the object; the getter returns a reference.
    template <class G>
    ClassBuilder& collection(const char* name, G get)
    {
        PropInfo& p = add(name, PropKind::Collection);
        p.collection = [get](TPersistent& o) -> TDataCollection* {
            return &std::invoke(get, static_cast<T&>(o));
        };
        return *this;
    }
    template <class G>
    ClassBuilder& nested(const char* name, G get)
    {
        PropInfo& p = add(name, PropKind::Nested);
        p.nested = [get](TPersistent& o) -> TPersistent* {
            return &std::invoke(get, static_cast<T&>(o));
        };
        return *this;
    }
    // Events are never written; a Nil value in a file clears the handler.
    template <class C>
    ClassBuilder& event(const char* name, C clear)
    {
        PropInfo& p = add(name, PropKind::Event);
        p.clearEvent = [clear](TPersistent& o) { std::invoke(clear, static_cast<T&>(o)); };
        return *this;
    }

    // Modifiers of the property declared last.
    ClassBuilder& withDefault(qint32 value)
    {
        m_own.back().defaultOrdinal = value;
        return *this;
    }
    ClassBuilder& notStored()
    {
        m_own.back().stored = false;
        return *this;
    }

    template <class G, class S>
    ClassBuilder& stringList(const char* name, G get, S setter)
    {
        DefinedProp d;
        d.name = name;
        d.kind = DefinedProp::Kind::StringList;
        d.getLines = [get](const TPersistent& o) { return QStringList(std::invoke(get, self(o))); };
        d.hasData = [get](const TPersistent& o) { return !QStringList(std::invoke(get, self(o))).isEmpty(); };
        d.setLines = [setter](TPersistent& o, const QStringList& v) { std::invoke(setter, self(o), v); };
        m_defined.push_back(std::move(d));
        return *this;
    }
    template <class H, class G, class S>
    ClassBuilder& binary(const char* name, H hasData, G get, S setter)
    {
        DefinedProp d;
        d.name = name;
        d.kind = DefinedProp::Kind::Binary;
        d.hasData = [hasData](const TPersistent& o) { return bool(std::invoke(hasData, self(o))); };
        d.getBytes = [get](const TPersistent& o) { return QByteArray(std::invoke(get, self(o))); };
        d.setBytes = [setter](TPersistent& o, const QByteArray& v) { std::invoke(setter, self(o), v); };
        m_defined.push_back(std::move(d));
        return *this;
    }

    ClassInfo build() { return ClassInfo(m_name, m_parent, std::move(m_own), std::move(m_defined)); }

    static const EnumNames& BooleanNames()
    {
        static const EnumNames names = {"False", "True"};
        return names;
    }

private:
    static const T& self(const TPersistent& o) { return static_cast<const T&>(o); }
    static T& self(TPersistent& o) { return static_cast<T&>(o); }

    PropInfo& add(const char* name, PropKind kind)
    {
        PropInfo p;
        p.name = name;
        p.kind = kind;
        m_own.push_back(std::move(p));
        return m_own.back();
    }

    template <class G, class S>
    PropInfo& ordinal(const char* name, PropKind kind, G get, S setter)
    {
        PropInfo& p = add(name, kind);
        p.getOrdinal = [get](const TPersistent& o) { return qint32(std::invoke(get, self(o))); };
        p.setOrdinal = [setter](TPersistent& o, qint32 v) {
            using Arg = std::remove_cvref_t<decltype(std::invoke(std::declval<G>(), std::declval<const T&>()))>;
            std::invoke(setter, self(o), static_cast<Arg>(v));
        };
        return p;
    }

    QByteArray m_name;
    const ClassInfo* m_parent;
    std::vector<PropInfo> m_own;
    std::vector<DefinedProp> m_defined;
};

} // namespace vestrel::store
