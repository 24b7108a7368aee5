#pragma once

#include "Schema.h"

#include <memory>
#include <vector>

namespace vestrel::store {

class TDataCollection;
class TPersistentComponent;

// One item of a store's ordered list; its published properties are its fields in the file.
class TDataCollectionItem : public TPersistent {
public:
    TDataCollectionItem() = default;
    TDataCollectionItem(const TDataCollectionItem&) = delete;
    TDataCollectionItem& operator=(const TDataCollectionItem&) = delete;

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    TDataCollection* Collection() const { return m_collection; }
    // Position in the collection, -1 when not in one.
    int Index() const;
    // Forwards to the owning store, if any.
    void SetModified(bool value);

protected:
    // The setter pattern of every item: compare, assign, mark the store modified.
    template <class V, class U>
    void assign(V& field, const U& value)
    {
        if (field == value)
            return;
        field = value;
        SetModified(true);
    }

private:
    friend class TDataCollection;
    TDataCollection* m_collection = nullptr;
};

// An ordered list of items of one class, owned by a store (also when nested inside an item of
// another collection: it then reports the owner of that item's collection).
class TDataCollection : public TPersistent {
public:
    using Factory = std::unique_ptr<TDataCollectionItem> (*)();

    TDataCollection(TPersistentComponent* owner, const ClassInfo& itemClass, Factory factory);
    TDataCollection(TDataCollectionItem* parentItem, const ClassInfo& itemClass, Factory factory);
    ~TDataCollection() override;
    TDataCollection(const TDataCollection&) = delete;
    TDataCollection& operator=(const TDataCollection&) = delete;

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
    const ClassInfo& itemClassInfo() const { return m_itemClass; }

    TPersistentComponent* Owner() const;
    int Count() const { return int(m_items.size()); }
    TDataCollectionItem* Items(int index) const { return m_items.at(std::size_t(index)).get(); }
    int IndexOf(const TDataCollectionItem* item) const;

    // Adding does not mark the store modified; the setters called on the new item do.
    TDataCollectionItem* AddItem();
    // Removing an item marks the store modified first.
    void Delete(int index);
    void Remove(TDataCollectionItem* item);
    void Move(int from, int to);
    // Removes every item, then marks the store modified.
    void Clear();
    void Reserve(int count) { m_items.reserve(std::size_t(count)); }

    void BeginUpdate() { ++m_updateCount; }
    void EndUpdate() { --m_updateCount; }
    bool Updating() const { return m_updateCount > 0; }

    // Used by the decoder: drop all items, without marking anything.
    void RemoveAllForLoad();

private:
    void markModified();

    TPersistentComponent* m_owner = nullptr;
    TDataCollectionItem* m_parentItem = nullptr;
    const ClassInfo& m_itemClass;
    Factory m_factory;
    std::vector<std::unique_ptr<TDataCollectionItem>> m_items;
    int m_updateCount = 0;
};

// A collection of items of class Item.
template <class Item>
class TCollectionOf : public TDataCollection {
public:
    explicit TCollectionOf(TPersistentComponent* owner)
        : TDataCollection(owner, Item::staticClassInfo(), &create) {}
    explicit TCollectionOf(TDataCollectionItem* parentItem)
        : TDataCollection(parentItem, Item::staticClassInfo(), &create) {}

    Item* operator[](int index) const { return static_cast<Item*>(Items(index)); }
    Item* Add() { return static_cast<Item*>(AddItem()); }

private:
    static std::unique_ptr<TDataCollectionItem> create() { return std::make_unique<Item>(); }
};

} // namespace vestrel::store
