#include "controls/MRUList.h"

#include <algorithm>

namespace {

// Runs an update bracket that is closed on every path.
struct UpdateBracket {
    TStrings* list;
    explicit UpdateBracket(TStrings* l) : list(l) { list->BeginUpdate(); }
    ~UpdateBracket() { list->EndUpdate(); }
};

} // namespace

void TRecentStrings::SetMaxSize(int value) {
    maxSize_ = std::max(1, value);
    DeleteExceed();
}

int TRecentStrings::Add(const AnsiString& s) {
    int index = IndexOf(s);
    if (index < 0) {
        UpdateBracket bracket(this);
        InsertObject(Mode == rmInsert ? 0 : Count(), s, nullptr);
        DeleteExceed();
    } else {
        Move(index, Mode == rmInsert ? 0 : Count() - 1);
    }
    return Mode == rmInsert ? 0 : Count() - 1;
}

int TRecentStrings::AddObject(const AnsiString& s, TObject* obj) {
    int index = Add(s);
    PutObject(index, obj);
    return index;
}

void TRecentStrings::AddStrings(const TStrings* strings) {
    if (!strings) return;
    UpdateBracket bracket(this);
    int n = std::min(strings->Count(), maxSize_);
    if (Mode == rmAppend) {
        for (int i = 0; i < n; ++i) AddObject(strings->Get(i), strings->GetObject(i));
    } else {
        for (int i = n - 1; i >= 0; --i) AddObject(strings->Get(i), strings->GetObject(i));
    }
    DeleteExceed();
}

void TRecentStrings::Remove(const AnsiString& s) {
    int index = IndexOf(s);
    if (index >= 0) Delete(index);
}

void TRecentStrings::DeleteExceed() {
    if (Count() <= maxSize_) return;
    UpdateBracket bracket(this);
    while (Count() > maxSize_) Delete(Mode == rmInsert ? Count() - 1 : 0);
}
