#include "platform/List.h"

#include <algorithm>

void TList::Check(int index) const {
    if (index < 0 || index >= Count()) throw EListError(FormatRaw("List index out of bounds (%d)", index));
}

void* TList::Items(int index) const {
    Check(index);
    return items_[std::size_t(index)];
}

void TList::SetItem(int index, void* item) {
    Check(index);
    items_[std::size_t(index)] = item;
}

int TList::Add(void* item) {
    items_.push_back(item);
    return Count() - 1;
}

void TList::Insert(int index, void* item) {
    if (index < 0 || index > Count()) throw EListError(FormatRaw("List index out of bounds (%d)", index));
    items_.insert(items_.begin() + index, item);
}

void TList::Delete(int index) {
    Check(index);
    items_.erase(items_.begin() + index);
}

int TList::Remove(void* item) {
    int i = IndexOf(item);
    if (i >= 0) Delete(i);
    return i;
}

int TList::IndexOf(void* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : int(it - items_.begin());
}

void TList::Exchange(int a, int b) {
    Check(a);
    Check(b);
    std::swap(items_[std::size_t(a)], items_[std::size_t(b)]);
}

void TList::Move(int from, int to) {
    if (from == to) return;
    Check(from);
    Check(to);
    void* p = items_[std::size_t(from)];
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, p);
}

void TList::Pack() { items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end()); }

void TList::Sort(const std::function<int(void*, void*)>& compare) {
    std::stable_sort(items_.begin(), items_.end(), [&](void* a, void* b) { return compare(a, b) < 0; });
}

void TList::SetCapacity(int n) {
    if (n > Count()) items_.reserve(std::size_t(n));
}
