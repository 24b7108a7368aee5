#include "DataCollection.h"

#include "PersistentComponent.h"

#include <algorithm>

namespace vestrel::store {

const ClassInfo& TDataCollectionItem::staticClassInfo()
{
    static const ClassInfo info("TDataCollectionItem", nullptr, {}, {});
    return info;
}

int TDataCollectionItem::Index() const
{
    return m_collection ? m_collection->IndexOf(this) : -1;
}

void TDataCollectionItem::SetModified(bool value)
{
    if (!m_collection)
        return;
    if (TPersistentComponent* owner = m_collection->Owner())
        owner->SetModified(value);
}

const ClassInfo& TDataCollection::staticClassInfo()
{
    static const ClassInfo info("TDataCollection", nullptr, {}, {});
    return info;
}

TDataCollection::TDataCollection(TPersistentComponent* owner, const ClassInfo& itemClass,
                                 Factory factory)
    : m_owner(owner), m_itemClass(itemClass), m_factory(factory)
{
}

TDataCollection::TDataCollection(TDataCollectionItem* parentItem, const ClassInfo& itemClass,
                                 Factory factory)
    : m_parentItem(parentItem), m_itemClass(itemClass), m_factory(factory)
{
}

TDataCollection::~TDataCollection() = default;

TPersistentComponent* TDataCollection::Owner() const
{
    if (m_parentItem)
        return m_parentItem->Collection() ? m_parentItem->Collection()->Owner() : nullptr;
    return m_owner;
}

int TDataCollection::IndexOf(const TDataCollectionItem* item) const
{
    const auto it = std::find_if(m_items.begin(), m_items.end(),
                                 [item](const auto& p) { return p.get() == item; });
    return it == m_items.end() ? -1 : int(it - m_items.begin());
}

TDataCollectionItem* TDataCollection::AddItem()
{
    m_items.push_back(m_factory());
    m_items.back()->m_collection = this;
    return m_items.back().get();
}

void TDataCollection::markModified()
{
    if (TPersistentComponent* owner = Owner())
        owner->SetModified(true);
}

void TDataCollection::Delete(int index)
{
    markModified();
    m_items.erase(m_items.begin() + index);
}

void TDataCollection::Remove(TDataCollectionItem* item)
{
    const int index = IndexOf(item);
    if (index >= 0)
        Delete(index);
}

void TDataCollection::Move(int from, int to)
{
    if (from == to)
        return;
    auto item = std::move(m_items[std::size_t(from)]);
    m_items.erase(m_items.begin() + from);
    m_items.insert(m_items.begin() + to, std::move(item));
    markModified();
}

void TDataCollection::Clear()
{
    m_items.clear();
    markModified();
}

void TDataCollection::RemoveAllForLoad()
{
    m_items.clear();
}

} // namespace vestrel::store
