#include "platform/StringList.h"

#include <algorithm>

#include "platform/FileIO.h"

// ---- TStrings -------------------------------------------------------------------

void TStrings::IndexError(int index) const {
    throw EStringListError(FormatRaw("List index out of bounds (%d)", index));
}

void TStrings::Put(int index, const AnsiString& s) {
    TObject* obj = GetObject(index);
    Delete(index);
    InsertObject(index, s, obj);
}

TObject* TStrings::GetObject(int index) const {
    (void)index;
    return nullptr;
}

void TStrings::PutObject(int index, TObject* obj) {
    (void)index;
    (void)obj;
}

void TStrings::InsertObject(int index, const AnsiString& s, TObject* obj) {
    Insert(index, s);
    PutObject(index, obj);
}

int TStrings::Add(const AnsiString& s) {
    int n = Count();
    Insert(n, s);
    return n;
}

int TStrings::AddObject(const AnsiString& s, TObject* obj) {
    int n = Add(s);
    PutObject(n, obj);
    return n;
}

void TStrings::Exchange(int a, int b) {
    BeginUpdate();
    AnsiString sa = Get(a);
    TObject* oa = GetObject(a);
    Put(a, Get(b));
    PutObject(a, GetObject(b));
    Put(b, sa);
    PutObject(b, oa);
    EndUpdate();
}

void TStrings::Move(int from, int to) {
    if (from == to) return;
    BeginUpdate();
    AnsiString s = Get(from);
    TObject* o = GetObject(from);
    Delete(from);
    InsertObject(to, s, o);
    EndUpdate();
}

int TStrings::IndexOf(const AnsiString& s) const {
    for (int i = 0, n = Count(); i < n; ++i)
        if (AnsiCompareText(Get(i), s) == 0) return i;
    return -1;
}

int TStrings::IndexOfName(const AnsiString& name) const {
    for (int i = 0, n = Count(); i < n; ++i) {
        AnsiString line = Get(i);
        int p = line.Pos("=");
        if (p > 0 && AnsiCompareText(line.SubString(1, p - 1), name) == 0) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(TObject* obj) const {
    for (int i = 0, n = Count(); i < n; ++i)
        if (GetObject(i) == obj) return i;
    return -1;
}

AnsiString TStrings::Names(int index) const {
    AnsiString line = Get(index);
    int p = line.Pos("=");
    return p > 0 ? line.SubString(1, p - 1) : AnsiString();
}

AnsiString TStrings::Values(const AnsiString& name) const {
    int i = IndexOfName(name);
    if (i < 0) return {};
    AnsiString line = Get(i);
    return line.SubString(line.Pos("=") + 1, line.Length());
}

void TStrings::SetValue(const AnsiString& name, const AnsiString& value) {
    int i = IndexOfName(name);
    if (value.IsEmpty()) {
        if (i >= 0) Delete(i);
        return;
    }
    if (i < 0) Add(name + "=" + value);
    else Put(i, name + "=" + value);
}

AnsiString TStrings::Text() const {
    std::string r;
    for (int i = 0, n = Count(); i < n; ++i) {
        r += Get(i).str();
        r += "\r\n";
    }
    return AnsiString(std::move(r));
}

void TStrings::SetText(const AnsiString& text) {
    BeginUpdate();
    Clear();
    const std::string& t = text.str();
    std::size_t i = 0, start = 0;
    while (i < t.size()) {
        if (t[i] == '\r' || t[i] == '\n') {
            Add(AnsiString(t.substr(start, i - start)));
            if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < t.size()) Add(AnsiString(t.substr(start)));
    EndUpdate();
}

AnsiString TStrings::CommaText() const {
    int n = Count();
    if (n == 1 && Get(0).IsEmpty()) return "\"\"";
    std::string r;
    for (int i = 0; i < n; ++i) {
        const AnsiString item = Get(i);
        const std::string& s = item.str();
        bool quote = false;
        for (char c : s)
            if (static_cast<unsigned char>(c) <= ' ' || c == ',' || c == '"') quote = true;
        if (i) r += ',';
        if (quote) {
            r += '"';
            for (char c : s) {
                if (c == '"') r += '"';
                r += c;
            }
            r += '"';
        } else {
            r += s;
        }
    }
    return AnsiString(std::move(r));
}

void TStrings::SetCommaText(const AnsiString& text) {
    BeginUpdate();
    Clear();
    const std::string& t = text.str();
    auto blank = [](char c) { return c != 0 && static_cast<unsigned char>(c) <= ' '; };
    std::size_t i = 0;
    while (i < t.size() && blank(t[i])) ++i;
    while (i < t.size()) {
        std::string item;
        if (t[i] == '"') {
            ++i;
            while (i < t.size()) {
                if (t[i] == '"') {
                    if (i + 1 < t.size() && t[i + 1] == '"') { item += '"'; i += 2; continue; }
                    ++i;
                    break;
                }
                item += t[i++];
            }
        } else {
            while (i < t.size() && !blank(t[i]) && t[i] != ',') item += t[i++];
        }
        Add(AnsiString(item));
        while (i < t.size() && blank(t[i])) ++i;
        if (i < t.size() && t[i] == ',') {
            ++i;
            while (i < t.size() && blank(t[i])) ++i;
        }
    }
    EndUpdate();
}

void TStrings::BeginUpdate() {
    if (updateCount_ == 0) SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

void TStrings::Assign(TPersistent* source) {
    auto* src = dynamic_cast<TStrings*>(source);
    if (!src) {
        TPersistent::Assign(source);
        return;
    }
    if (src == this) return;
    BeginUpdate();
    Clear();
    AddStrings(src);
    EndUpdate();
}

void TStrings::AddStrings(const TStrings* strings) {
    if (!strings) return;
    BeginUpdate();
    for (int i = 0, n = strings->Count(); i < n; ++i) AddObject(strings->Get(i), strings->GetObject(i));
    EndUpdate();
}

bool TStrings::Equals(const TStrings* other) const {
    if (!other || other->Count() != Count()) return false;
    for (int i = 0, n = Count(); i < n; ++i)
        if (Get(i) != other->Get(i)) return false;
    return true;
}

void TStrings::LoadFromFile(const AnsiString& fileName) {
    std::string bytes;
    if (!ReadWholeFile(fileName, bytes)) throw EFOpenError("Cannot open file \"" + fileName + "\"");
    SetText(AnsiString(std::move(bytes)));
}

void TStrings::SaveToFile(const AnsiString& fileName) const {
    if (!WriteFileAtomic(fileName, Text().str())) throw EFCreateError("Cannot create file \"" + fileName + "\"");
}

// ---- TStringList ------------------------------------------------------------------

AnsiString TStringList::Get(int index) const {
    if (index < 0 || index >= Count()) IndexError(index);
    return items_[std::size_t(index)].first;
}

void TStringList::Put(int index, const AnsiString& s) {
    if (sorted_) throw EStringListError("Operation not allowed on sorted string list");
    if (index < 0 || index >= Count()) IndexError(index);
    Changing();
    items_[std::size_t(index)].first = s;
    Changed();
}

TObject* TStringList::GetObject(int index) const {
    if (index < 0 || index >= Count()) IndexError(index);
    return items_[std::size_t(index)].second;
}

void TStringList::PutObject(int index, TObject* obj) {
    if (index < 0 || index >= Count()) IndexError(index);
    Changing();
    items_[std::size_t(index)].second = obj;
    Changed();
}

void TStringList::Insert(int index, const AnsiString& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const AnsiString& s, TObject* obj) {
    if (sorted_) throw EStringListError("Operation not allowed on sorted string list");
    if (index < 0 || index > Count()) IndexError(index);
    InsertItem(index, s, obj);
}

int TStringList::Add(const AnsiString& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const AnsiString& s, TObject* obj) {
    int index;
    if (!sorted_) {
        index = Count();
    } else if (Find(s, index)) {
        if (Duplicates == dupIgnore) return index;
        if (Duplicates == dupError) throw EStringListError("String list does not allow duplicates");
        while (index < Count() && CompareStrings(items_[std::size_t(index)].first, s) == 0) ++index;
    }
    InsertItem(index, s, obj);
    return index;
}

void TStringList::InsertItem(int index, const AnsiString& s, TObject* obj) {
    Changing();
    items_.insert(items_.begin() + index, {s, obj});
    Changed();
}

void TStringList::Delete(int index) {
    if (index < 0 || index >= Count()) IndexError(index);
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    items_.clear();
    Changed();
}

void TStringList::Exchange(int a, int b) {
    if (a < 0 || a >= Count()) IndexError(a);
    if (b < 0 || b >= Count()) IndexError(b);
    Changing();
    std::swap(items_[std::size_t(a)], items_[std::size_t(b)]);
    Changed();
}

int TStringList::CompareStrings(const AnsiString& a, const AnsiString& b) const {
    return caseSensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

int TStringList::IndexOf(const AnsiString& s) const {
    if (sorted_) {
        int i;
        return Find(s, i) ? i : -1;
    }
    for (int i = 0, n = Count(); i < n; ++i)
        if (CompareStrings(items_[std::size_t(i)].first, s) == 0) return i;
    return -1;
}

bool TStringList::Find(const AnsiString& s, int& index) const {
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        int c = CompareStrings(items_[std::size_t(mid)].first, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (Duplicates != dupAccept) lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

void TStringList::Sort() {
    Changing();
    std::stable_sort(items_.begin(), items_.end(),
                     [this](const auto& a, const auto& b) { return CompareStrings(a.first, b.first) < 0; });
    Changed();
}

void TStringList::CustomSort(const std::function<int(TStringList*, int, int)>& compare) {
    if (sorted_ || Count() < 2) return;
    Changing();
    // Sort a permutation through the caller's index-based comparison.
    std::vector<int> order(items_.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(this, a, b) < 0; });
    std::vector<std::pair<AnsiString, TObject*>> sortedItems;
    sortedItems.reserve(items_.size());
    for (int i : order) sortedItems.push_back(items_[std::size_t(i)]);
    items_ = std::move(sortedItems);
    Changed();
}

void TStringList::SetSorted(bool v) {
    if (v == sorted_) return;
    if (v) Sort();
    sorted_ = v;
}

void TStringList::SetCaseSensitive(bool v) {
    if (v == caseSensitive_) return;
    caseSensitive_ = v;
    if (sorted_) Sort();
}

void TStringList::SetUpdateState(bool updating) {
    if (updating) Changing();
    else Changed();
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}
