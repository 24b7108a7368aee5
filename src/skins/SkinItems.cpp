#include "SkinItems.h"

#include "DataSkins.h"
#include "SkinRegion.h"

#include "store/IdentMaps.h"

namespace vestrel {

using namespace store;

namespace {

const EnumNames& skinKindNames() {
    static const EnumNames names = {"skBitmap", "skForm"};
    return names;
}

} // namespace

const ClassInfo& TSkinFileEx::staticClassInfo() {
    using T = TSkinFileEx;
    static const ClassInfo info =
        ClassBuilder<T>("TSkinFileEx", nullptr)
            .enumeration("Kind", &T::Kind, &T::SetKind, skinKindNames())
            .integer("TransparentColor", &T::TransparentColor, &T::SetTransparentColor,
                     &ColorIdents())
            .integer("Tolerance", &T::Tolerance, &T::SetTolerance, &ColorIdents())
            .boolean("Transparent", &T::Transparent, &T::SetTransparent)
            .integer("TopForm", &T::TopForm, &T::SetTopForm)
            .integer("LeftForm", &T::LeftForm, &T::SetLeftForm)
            .integer("ColorForm", &T::ColorForm, &T::SetColorForm, &ColorIdents())
            .integer("WidthForm", &T::WidthForm, &T::SetWidthForm)
            .integer("HeightForm", &T::HeightForm, &T::SetHeightForm)
            .binary(
                "Data", [](const T& f) { return !f.Data().isEmpty(); }, &T::Data, &T::SetData)
            .build();
    return info;
}

void TSkinFileEx::markModified() {
    if (m_owner)
        m_owner->SetModified(true);
}

void TSkinFileEx::SetTransparent(bool v) {
    m_region.reset();
    assign(m_transparent, v);
}

void TSkinFileEx::SetData(const QByteArray& v) {
    if (m_data == v)
        return;
    m_data = v;
    markModified();
}

void TSkinFileEx::Unpack() {
    if (m_component)
        return;
    m_component = TSkinComponent::Unpack(m_data);
    m_region.reset();
}

void TSkinFileEx::Pack() {
    if (m_component)
        SetData(m_component->Pack());
}

void TSkinFileEx::Release() {
    m_component.reset();
    m_region.reset();
}

const QRegion& TSkinFileEx::OutlineRegion() {
    if (!m_region)
        m_region = m_component ? vestrel::OutlineRegion(m_component->Picture().Image()) : QRegion();
    return *m_region;
}

TSkinItemEx::~TSkinItemEx() {
    if (TDataCollection* items = Collection())
        if (auto* skins = dynamic_cast<TDataSkins*>(items->Owner()))
            skins->ForgetSkin(this);
}

const ClassInfo& TSkinItemEx::staticClassInfo() {
    using T = TSkinItemEx;
    static const ClassInfo info =
        ClassBuilder<T>("TSkinItemEx", &TDataCollectionItem::staticClassInfo())
            .string("Nome", &T::Nome, &T::SetNome)
            .string("Descrizione", &T::Descrizione, &T::SetDescrizione)
            .nested("SkinFileEx", [](T& s) -> TSkinFileEx& { return s.SkinFileEx(); })
            .build();
    return info;
}

TSkinFile::TSkinFile(TSkinItem* owner)
    : m_controls(owner) {}

const ClassInfo& TSkinFile::staticClassInfo() {
    using T = TSkinFile;
    static const ClassInfo info =
        ClassBuilder<T>("TSkinFile", nullptr)
            .enumeration("Kind", &T::Kind, &T::SetKind, skinKindNames())
            .integer("TransparentColor", &T::TransparentColor, &T::SetTransparentColor,
                     &ColorIdents())
            .integer("Tolerance", &T::Tolerance, &T::SetTolerance, &ColorIdents())
            .nested("Picture", [](T& f) -> TPicture& { return f.Picture(); })
            .boolean("Transparent", &T::Transparent, &T::SetTransparent)
            .integer("TopForm", &T::TopForm, &T::SetTopForm)
            .integer("LeftForm", &T::LeftForm, &T::SetLeftForm)
            .integer("ColorForm", &T::ColorForm, &T::SetColorForm, &ColorIdents())
            .integer("WidthForm", &T::WidthForm, &T::SetWidthForm)
            .integer("HeightForm", &T::HeightForm, &T::SetHeightForm)
            .collection("Controls", [](T& f) -> TControlItems& { return f.Controls(); })
            .build();
    return info;
}

const ClassInfo& TSkinItem::staticClassInfo() {
    using T = TSkinItem;
    static const ClassInfo info =
        ClassBuilder<T>("TSkinItem", &TDataCollectionItem::staticClassInfo())
            .string("Nome", &T::Nome, &T::SetNome)
            .string("Descrizione", &T::Descrizione, &T::SetDescrizione)
            .nested("SkinFile", [](T& s) -> TSkinFile& { return s.SkinFile(); })
            .build();
    return info;
}

} // namespace vestrel
