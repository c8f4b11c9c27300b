#pragma once
// TList: an ordered list of untyped pointers that owns nothing.

#include <functional>
#include <vector>

#include "platform/Classes.h"

class TList : public TObject {
public:
    int Count() const { return int(items_.size()); }
    void* Items(int index) const;
    void* operator[](int index) const { return Items(index); }
    void SetItem(int index, void* item);
    int Add(void* item);
    void Insert(int index, void* item);
    void Delete(int index);
    int Remove(void* item); // index it had, -1 when absent
    int IndexOf(void* item) const;
    void Exchange(int a, int b);
    void Move(int from, int to);
    void Clear() { items_.clear(); }
    void Pack(); // drops null entries
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }
    void Sort(const std::function<int(void*, void*)>& compare); // stable
    int Capacity() const { return int(items_.capacity()); }
    void SetCapacity(int n);
    const std::vector<void*>& Raw() const { return items_; }

private:
    void Check(int index) const;
    std::vector<void*> items_;
};
