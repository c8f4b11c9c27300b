#pragma once
// TCollection: an owned, ordered list of items of one kind, made by the
// collection itself (Add), as the component model keeps lists of settings
// (stored values). An item knows its collection and its index; freeing an
// item takes it out of its collection.

#include <functional>
#include <vector>

#include "platform/Classes.h"

class TCollection;

class TCollectionItem : public TPersistent {
public:
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;
    TCollection* Collection() const { return collection_; }
    int Index() const;
    // The name shown for the item: "T<class>" style default of the framework.
    virtual AnsiString DisplayName() const;

protected:
    // Tells the collection that the item changed.
    void Changed();

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
};

class TCollection : public TPersistent {
public:
    // Makes one new item inside the given collection.
    using TItemFactory = std::function<TCollectionItem*(TCollection*)>;
    explicit TCollection(TItemFactory factory);
    ~TCollection() override;

    int Count() const { return int(items_.size()); }
    TCollectionItem* Items(int index) const;
    TCollectionItem* Add();
    void Delete(int index);
    void Clear();
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    // Copies the items of another collection (same count, each item assigned).
    void Assign(TPersistent* source) override;
    // The component that holds the collection (null for a free collection).
    virtual TPersistent* Owner() const { return nullptr; }

protected:
    // An item changed (null: the list itself changed); not during an update.
    virtual void Update(TCollectionItem* item) { (void)item; }

private:
    friend class TCollectionItem;
    void Changed(TCollectionItem* item);
    TItemFactory factory_;
    std::vector<TCollectionItem*> items_;
    int updateCount_ = 0;
    bool clearing_ = false;
};

// A collection with an owner.
class TOwnedCollection : public TCollection {
public:
    TOwnedCollection(TPersistent* owner, TItemFactory factory) : TCollection(std::move(factory)), owner_(owner) {}
    TPersistent* Owner() const override { return owner_; }

private:
    TPersistent* owner_;
};
