#pragma once
// TRecentStrings: the list behind the recent-file menu. A name added again
// (letter case ignored) moves to the top (rmInsert) or the bottom (rmAppend)
// and keeps the text it was first stored with; the list never holds more than
// MaxSize names. Each name's object slot carries an integer of user data.
// The menu manager itself (TMRUManager) is in controls/gui/MRUList.h.

#include <cstdint>

#include "platform/StringList.h"

enum TRecentMode { rmInsert, rmAppend };

class TRecentStrings : public TStringList {
public:
    TRecentStrings() = default;

    int MaxSize() const { return maxSize_; }
    // At least 1; trims the list at once.
    void SetMaxSize(int value);
    TRecentMode Mode = rmInsert;

    // Adds or moves the name; answers its index (0, or the last for rmAppend).
    int Add(const AnsiString& s) override;
    int AddObject(const AnsiString& s, TObject* obj) override;
    // The first min(count, MaxSize) names of the source, keeping their order.
    void AddStrings(const TStrings* strings);
    // Removes the name (letter case ignored); nothing when absent.
    void Remove(const AnsiString& s);
    // Deletes names beyond MaxSize: from the bottom (rmInsert) or the top (rmAppend).
    void DeleteExceed();

    // The user data of an entry, carried in its object slot.
    int UserData(int index) const { return int(reinterpret_cast<std::intptr_t>(GetObject(index))); }
    void SetUserData(int index, int data) { PutObject(index, reinterpret_cast<TObject*>(std::intptr_t(data))); }
    static TObject* DataObject(int data) { return reinterpret_cast<TObject*>(std::intptr_t(data)); }

private:
    int maxSize_ = 10;
};
