#pragma once

// Small stores shaped like the program's, for the codec and store-base tests.

#include "store/DataCollection.h"
#include "store/NestedObjects.h"
#include "store/PersistentComponent.h"

namespace vestrel::testing {

using namespace store;

class TWaveItem : public TDataCollectionItem {
public:
    static const ClassInfo& staticClassInfo()
    {
        using T = TWaveItem;
        static const ClassInfo info =
            ClassBuilder<T>("TWaveItem", &TDataCollectionItem::staticClassInfo())
                .string("Name", &T::Name, &T::SetName)
                .boolean("Enabled", &T::Enabled, &T::SetEnabled)
                .build();
        return info;
    }
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    QString Name() const { return m_name; }
    void SetName(const QString& v) { assign(m_name, v); }
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool v) { assign(m_enabled, v); }

private:
    QString m_name;
    bool m_enabled = true;
};

// The shape of the sound store: one collection.
class TWaveSounds : public TPersistentComponent {
public:
    explicit TWaveSounds(QObject* owner = nullptr) : TPersistentComponent(owner) {}
    ~TWaveSounds() override { SaveOnDestroy(); }

    static const ClassInfo& staticClassInfo()
    {
        static const ClassInfo info =
            ClassBuilder<TWaveSounds>("TWaveSounds", &TPersistentComponent::staticClassInfo())
                .collection("Waves", &TWaveSounds::Waves)
                .build();
        return info;
    }
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    TCollectionOf<TWaveItem>& Waves() { return m_waves; }

private:
    TCollectionOf<TWaveItem> m_waves{this};
};

enum TKind { kdFirst, kdSecond, kdThird };

// One property of every kind the codec knows.
class TKitchenSink : public TPersistentComponent {
public:
    explicit TKitchenSink(QObject* owner = nullptr) : TPersistentComponent(owner) {}
    ~TKitchenSink() override { SaveOnDestroy(); }

    static const ClassInfo& staticClassInfo()
    {
        using T = TKitchenSink;
        static const EnumNames kinds = {"kdFirst", "kdSecond", "kdThird"};
        static const ClassInfo info =
            ClassBuilder<T>("TKitchenSink", &TPersistentComponent::staticClassInfo())
                .integer("Count", &T::Count, &T::SetCount)
                .integer("Flags", &T::Flags, &T::SetFlags)
                .integer("Color", &T::Color, &T::SetColor, &ColorIdents())
                .withDefault(clWhite)
                .character("Separator", &T::Separator, &T::SetSeparator)
                .enumeration("Kind", &T::Kind, &T::SetKind, kinds)
                .withDefault(kdFirst)
                .setOf("Kinds", &T::Kinds, &T::SetKinds, kinds)
                .floating("Price", &T::Price, &T::SetPrice)
                .floating("When", &T::When, &T::SetWhen)
                .string("Title", &T::Title, &T::SetTitle)
                .nested("Font", &T::Font)
                .nested("Notes", &T::Notes)
                .readOnlyInteger("Computed", &T::Computed)
                .collection("Waves", &T::Waves)
                .binary("Data", &T::HasData, &T::Data, &T::SetData)
                .build();
        return info;
    }
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    qint32 Count() const { return m_count; }
    void SetCount(qint32 v) { assign(m_count, v); }
    quint32 Flags() const { return m_flags; }
    void SetFlags(quint32 v) { assign(m_flags, v); }
    qint32 Color() const { return m_color; }
    void SetColor(qint32 v) { assign(m_color, v); }
    char Separator() const { return m_separator; }
    void SetSeparator(char v) { assign(m_separator, v); }
    TKind Kind() const { return m_kind; }
    void SetKind(TKind v) { assign(m_kind, v); }
    quint32 Kinds() const { return m_kinds; }
    void SetKinds(quint32 v) { assign(m_kinds, v); }
    double Price() const { return m_price; }
    void SetPrice(double v) { assign(m_price, v); }
    double When() const { return m_when; }
    void SetWhen(double v) { assign(m_when, v); }
    QString Title() const { return m_title; }
    void SetTitle(const QString& v) { assign(m_title, v); }
    TFont& Font() { return m_font; }
    TStrings& Notes() { return m_notes; }
    qint32 Computed() const { return 7; }
    TCollectionOf<TWaveItem>& Waves() { return m_waves; }
    bool HasData() const { return !m_data.isEmpty(); }
    QByteArray Data() const { return m_data; }
    void SetData(const QByteArray& v) { assign(m_data, v); }

private:
    qint32 m_count = 5;
    quint32 m_flags = 0;
    qint32 m_color = clWhite;
    char m_separator = ';';
    TKind m_kind = kdFirst;
    quint32 m_kinds = 0;
    double m_price = 1.5;
    double m_when = 0;
    QString m_title = QStringLiteral("predefinito");
    TFont m_font{[this] { SetModified(true); }};
    TStrings m_notes{[this] { SetModified(true); }};
    TCollectionOf<TWaveItem> m_waves{this};
    QByteArray m_data;
};

} // namespace vestrel::testing
