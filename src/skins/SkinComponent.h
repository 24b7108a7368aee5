#pragma once

#include "Picture.h"

#include "store/DataCollection.h"
#include "store/NestedObjects.h"

#include <QByteArray>
#include <QString>

namespace vestrel {

// Where a skin puts one control of the main window, with which font and button image.
class TControlItem : public store::TDataCollectionItem {
public:
    TControlItem() = default;

    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    QString Name() const { return m_name; }
    void SetName(const QString& v) { assign(m_name, v); }
    qint32 Top() const { return m_top; }
    void SetTop(qint32 v) { assign(m_top, v); }
    qint32 Left() const { return m_left; }
    void SetLeft(qint32 v) { assign(m_left, v); }
    store::TFont& Font() { return m_font; }
    const store::TFont& Font() const { return m_font; }
    // Empty for labels.
    TPicture& Glyph() { return m_glyph; }
    const TPicture& Glyph() const { return m_glyph; }

    void Assign(const TControlItem& other);

private:
    QString m_name;
    qint32 m_top = 0;
    qint32 m_left = 0;
    store::TFont m_font{[this] { SetModified(true); }};
    TPicture m_glyph{[this] { SetModified(true); }};
};

class TControlItems : public store::TCollectionOf<TControlItem> {
public:
    using TCollectionOf::TCollectionOf;
    // ASCII case ignored; nullptr when none.
    TControlItem* Find(const QString& name) const;
    TControlItem* FindOrAdd(const QString& name);
};

// The packed part of a skin: background picture and control list, kept as the bytes of a
// component stream of their own while the skin is not in use.
class TSkinComponent : public store::TPersistent {
public:
    TSkinComponent() = default;

    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    TPicture& Picture() { return m_picture; }
    const TPicture& Picture() const { return m_picture; }
    TControlItems& Controls() { return m_controls; }
    const TControlItems& Controls() const { return m_controls; }

    QByteArray Pack() const;
    // Raises the decoder's error on damaged bytes; empty bytes give an empty skin.
    static std::unique_ptr<TSkinComponent> Unpack(const QByteArray& bytes);

private:
    TPicture m_picture;
    TControlItems m_controls{static_cast<store::TPersistentComponent*>(nullptr)};
};

// Names of skins and controls compare with the case of ASCII letters ignored.
bool SameSkinName(const QString& a, const QString& b);

} // namespace vestrel
