#pragma once

#include "SkinComponent.h"

#include "store/DataCollection.h"

#include <QRegion>

#include <memory>
#include <optional>

namespace vestrel {

enum TSkinKind { skBitmap, skForm };

class TSkinItemEx;

// Shape, colours and remembered position of one skin, and its packed picture and controls.
// Only an unpacked skin holds its picture and control list in memory.
class TSkinFileEx : public store::TPersistent {
public:
    explicit TSkinFileEx(TSkinItemEx* owner)
        : m_owner(owner) {}

    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    TSkinKind Kind() const { return m_kind; }
    void SetKind(TSkinKind v) { assign(m_kind, v); }
    qint32 TransparentColor() const { return m_transparentColor; }
    void SetTransparentColor(qint32 v) { assign(m_transparentColor, v); }
    // Kept, not used.
    qint32 Tolerance() const { return m_tolerance; }
    void SetTolerance(qint32 v) { assign(m_tolerance, v); }
    // Bitmap skins: the window's outline is cut out of the picture.
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool v);
    qint32 TopForm() const { return m_topForm; }
    void SetTopForm(qint32 v) { assign(m_topForm, v); }
    qint32 LeftForm() const { return m_leftForm; }
    void SetLeftForm(qint32 v) { assign(m_leftForm, v); }
    // Classic skins: window colour and size.
    qint32 ColorForm() const { return m_colorForm; }
    void SetColorForm(qint32 v) { assign(m_colorForm, v); }
    qint32 WidthForm() const { return m_widthForm; }
    void SetWidthForm(qint32 v) { assign(m_widthForm, v); }
    qint32 HeightForm() const { return m_heightForm; }
    void SetHeightForm(qint32 v) { assign(m_heightForm, v); }

    // The packed picture and controls (a component stream of one TSkinComponent).
    const QByteArray& Data() const { return m_data; }
    void SetData(const QByteArray& v);

    bool Unpacked() const { return bool(m_component); }
    // Reads the packed bytes into the working picture and control list (nothing when already
    // unpacked); raises the decoder's error and stays packed on damaged bytes.
    void Unpack();
    // Writes the working copies back into Data.
    void Pack();
    // Frees the working copies and the outline region.
    void Release();
    // The working copies; nullptr while packed.
    TSkinComponent* Component() const { return m_component.get(); }

    // The outline of a transparent bitmap skin, computed once while unpacked.
    const QRegion& OutlineRegion();
    void ForgetRegion() { m_region.reset(); }

private:
    template <class V> void assign(V& field, const V& value) {
        if (field == value)
            return;
        field = value;
        markModified();
    }
    void markModified();

    TSkinItemEx* m_owner;
    TSkinKind m_kind = skBitmap;
    qint32 m_transparentColor = 0x1FFFFFFF;
    qint32 m_tolerance = 0;
    bool m_transparent = false;
    qint32 m_topForm = 0;
    qint32 m_leftForm = 0;
    qint32 m_colorForm = 0;
    qint32 m_widthForm = 0;
    qint32 m_heightForm = 0;
    QByteArray m_data;
    std::unique_ptr<TSkinComponent> m_component;
    std::optional<QRegion> m_region;
};

class TSkinItemEx : public store::TDataCollectionItem {
public:
    TSkinItemEx() = default;
    ~TSkinItemEx() override;

    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    // Unique among the skins, ASCII case ignored.
    QString Nome() const { return m_nome; }
    void SetNome(const QString& v) { assign(m_nome, v); }
    QString Descrizione() const { return m_descrizione; }
    void SetDescrizione(const QString& v) { assign(m_descrizione, v); }
    TSkinFileEx& SkinFileEx() { return m_skinFile; }
    const TSkinFileEx& SkinFileEx() const { return m_skinFile; }

private:
    QString m_nome;
    QString m_descrizione;
    TSkinFileEx m_skinFile{this};
};

using TSkinItemsEx = store::TCollectionOf<TSkinItemEx>;

class TSkinItem;

// The older layout of a skin, read only to be converted: picture and controls not packed.
class TSkinFile : public store::TPersistent {
public:
    explicit TSkinFile(TSkinItem* owner);

    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    TSkinKind Kind() const { return m_kind; }
    void SetKind(TSkinKind v) { m_kind = v; }
    qint32 TransparentColor() const { return m_transparentColor; }
    void SetTransparentColor(qint32 v) { m_transparentColor = v; }
    qint32 Tolerance() const { return m_tolerance; }
    void SetTolerance(qint32 v) { m_tolerance = v; }
    TPicture& Picture() { return m_picture; }
    const TPicture& Picture() const { return m_picture; }
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool v) { m_transparent = v; }
    qint32 TopForm() const { return m_topForm; }
    void SetTopForm(qint32 v) { m_topForm = v; }
    qint32 LeftForm() const { return m_leftForm; }
    void SetLeftForm(qint32 v) { m_leftForm = v; }
    qint32 ColorForm() const { return m_colorForm; }
    void SetColorForm(qint32 v) { m_colorForm = v; }
    qint32 WidthForm() const { return m_widthForm; }
    void SetWidthForm(qint32 v) { m_widthForm = v; }
    qint32 HeightForm() const { return m_heightForm; }
    void SetHeightForm(qint32 v) { m_heightForm = v; }
    TControlItems& Controls() { return m_controls; }
    const TControlItems& Controls() const { return m_controls; }

private:
    TSkinKind m_kind = skBitmap;
    qint32 m_transparentColor = 0x1FFFFFFF;
    qint32 m_tolerance = 0;
    TPicture m_picture;
    bool m_transparent = false;
    qint32 m_topForm = 0;
    qint32 m_leftForm = 0;
    qint32 m_colorForm = 0;
    qint32 m_widthForm = 0;
    qint32 m_heightForm = 0;
    TControlItems m_controls;
};

class TSkinItem : public store::TDataCollectionItem {
public:
    TSkinItem() = default;

    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    QString Nome() const { return m_nome; }
    void SetNome(const QString& v) { m_nome = v; }
    QString Descrizione() const { return m_descrizione; }
    void SetDescrizione(const QString& v) { m_descrizione = v; }
    TSkinFile& SkinFile() { return m_skinFile; }
    const TSkinFile& SkinFile() const { return m_skinFile; }

private:
    QString m_nome;
    QString m_descrizione;
    TSkinFile m_skinFile{this};
};

using TSkinItems = store::TCollectionOf<TSkinItem>;

} // namespace vestrel
