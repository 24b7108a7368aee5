#include "SkinComponent.h"

#include "store/StoreStream.h"

#include <QBuffer>

namespace vestrel {

using namespace store;

namespace {

char16_t asciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

} // namespace

bool SameSkinName(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (asciiLower(a[i].unicode()) != asciiLower(b[i].unicode()))
            return false;
    return true;
}

const ClassInfo& TControlItem::staticClassInfo() {
    using T = TControlItem;
    static const ClassInfo info =
        ClassBuilder<T>("TControlItem", &TDataCollectionItem::staticClassInfo())
            .string("Name", &T::Name, &T::SetName)
            .integer("Top", &T::Top, &T::SetTop)
            .integer("Left", &T::Left, &T::SetLeft)
            .nested("Font", [](T& c) -> TFont& { return c.Font(); })
            .nested("Glyph", [](T& c) -> TPicture& { return c.Glyph(); })
            .build();
    return info;
}

void TControlItem::Assign(const TControlItem& other) {
    SetName(other.Name());
    SetTop(other.Top());
    SetLeft(other.Left());
    m_font.SetCharset(other.m_font.Charset());
    m_font.SetColor(other.m_font.Color());
    m_font.SetHeight(other.m_font.Height());
    m_font.SetName(other.m_font.Name());
    m_font.SetPitch(other.m_font.Pitch());
    m_font.SetStyle(other.m_font.Style());
    m_glyph.Assign(other.m_glyph);
}

TControlItem* TControlItems::Find(const QString& name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameSkinName((*this)[i]->Name(), name))
            return (*this)[i];
    return nullptr;
}

TControlItem* TControlItems::FindOrAdd(const QString& name) {
    if (TControlItem* item = Find(name))
        return item;
    TControlItem* item = Add();
    item->SetName(name);
    return item;
}

const ClassInfo& TSkinComponent::staticClassInfo() {
    using T = TSkinComponent;
    static const ClassInfo info =
        ClassBuilder<T>("TSkinComponent", nullptr)
            .nested("Picture", [](T& s) -> TPicture& { return s.Picture(); })
            .collection("Controls", [](T& s) -> TControlItems& { return s.Controls(); })
            .build();
    return info;
}

QByteArray TSkinComponent::Pack() const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteObject(buffer, *this, QString());
    return bytes;
}

std::unique_ptr<TSkinComponent> TSkinComponent::Unpack(const QByteArray& bytes) {
    auto component = std::make_unique<TSkinComponent>();
    if (bytes.isEmpty())
        return component;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    ReadObject(buffer, *component);
    return component;
}

} // namespace vestrel
