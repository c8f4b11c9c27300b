#include "controls/Collection.h"

#include <algorithm>

#include "platform/ScopeGuard.h"

TCollectionItem::TCollectionItem(TCollection* collection) : collection_(collection) {
    if (collection_) {
        collection_->items_.push_back(this);
        collection_->Changed(nullptr);
    }
}

TCollectionItem::~TCollectionItem() {
    if (collection_ && !collection_->clearing_) {
        auto& items = collection_->items_;
        items.erase(std::remove(items.begin(), items.end(), this), items.end());
        collection_->Changed(nullptr);
    }
}

int TCollectionItem::Index() const {
    if (!collection_) return -1;
    const auto& items = collection_->items_;
    auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : int(it - items.begin());
}

AnsiString TCollectionItem::DisplayName() const { return "TCollectionItem"; }

void TCollectionItem::Changed() {
    if (collection_) collection_->Changed(this);
}

TCollection::TCollection(TItemFactory factory) : factory_(std::move(factory)) {}

TCollection::~TCollection() { Clear(); }

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
    return items_[std::size_t(index)];
}

TCollectionItem* TCollection::Add() {
    TCollectionItem* item = factory_ ? factory_(this) : new TCollectionItem(this);
    if (item->collection_ != this) { // a factory that made a free item
        item->collection_ = this;
        items_.push_back(item);
        Changed(nullptr);
    }
    return item;
}

void TCollection::Delete(int index) { delete Items(index); }

void TCollection::Clear() {
    if (items_.empty()) return;
    clearing_ = true;
    std::vector<TCollectionItem*> items;
    items.swap(items_);
    for (auto it = items.rbegin(); it != items.rend(); ++it) delete *it;
    clearing_ = false;
    Changed(nullptr);
}

void TCollection::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) Changed(nullptr);
}

void TCollection::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TCollection*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this) return;
    BeginUpdate();
    TScopeGuard endUpdate([this] { EndUpdate(); });
    Clear();
    for (TCollectionItem* item : other->items_) Add()->Assign(item);
}

void TCollection::Changed(TCollectionItem* item) {
    if (updateCount_ == 0) Update(item);
}
