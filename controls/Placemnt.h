#pragma once
// Stored values: named values that a form storage keeps in its section
// between runs (the frame's column widths and check-box states). A value with
// a key string is stored scrambled (XorEncode) and read back unscrambled; one
// without is stored as plain text. A restored value is always text: readers
// use the typed reads, which give the default for an absent or unreadable
// value. The form placement and form storage components themselves are in
// controls/gui/Placemnt.h.

#include <functional>

#include "controls/Collection.h"
#include "platform/Variant.h"

// Where stored values are written: the form storage's section.
class IStoredValuesStorage {
public:
    virtual ~IStoredValuesStorage() = default;
    virtual AnsiString ReadString(const AnsiString& ident, const AnsiString& def) = 0;
    virtual void WriteString(const AnsiString& ident, const AnsiString& value) = 0;
    // A value changed after it was stored (the storage must save again).
    virtual void StoredValueChanged() {}
};

class TStoredValue;
using TStoredValueEvent = std::function<void(TStoredValue* Sender, Variant& Value)>;

class TStoredValue : public TCollectionItem {
public:
    explicit TStoredValue(TCollection* collection) : TCollectionItem(collection) {}

    const AnsiString& Name() const { return name_; }
    // Unique in the collection (letter case ignored): another item's name
    // raises EStringListError "String list does not allow duplicates".
    void SetName(const AnsiString& name);
    const Variant& Value() const { return value_; }
    void SetValue(const Variant& value);
    AnsiString KeyString;
    TStoredValueEvent OnSave;
    TStoredValueEvent OnRestore;

    // Writes the value under its name (scrambled with a key string).
    void Save();
    // Reads it back as text; the current value is the default.
    void Restore();
    // Makes the value unassigned.
    void Clear();
    // Copies value, name and key string.
    void Assign(TPersistent* source) override;
    AnsiString DisplayName() const override;

private:
    IStoredValuesStorage* Storage() const;
    AnsiString name_;
    Variant value_;
};

class TStoredValues : public TOwnedCollection {
public:
    TStoredValues(TPersistent* owner, IStoredValuesStorage* storage);

    IStoredValuesStorage* Storage() const { return storage_; }
    TStoredValue* Items(int index) const { return static_cast<TStoredValue*>(TCollection::Items(index)); }
    TStoredValue* Add() { return static_cast<TStoredValue*>(TCollection::Add()); }
    // The first item of that name (letter case ignored), or -1 / null.
    int IndexOf(const AnsiString& name) const;
    TStoredValue* GetValue(const AnsiString& name) const;
    // Assigns the item to the item of that name, when there is one.
    void SetValue(const AnsiString& name, TStoredValue* value);
    // The value of that name; Null when there is no such item.
    Variant GetStoredValue(const AnsiString& name) const;
    // The value as def's type: def when the item is missing, its value is
    // unassigned, Null or empty text, or it does not convert. Flags read
    // "True"/"False" and numbers (0 false, any other true).
    Variant GetStoredValue(const AnsiString& name, const Variant& def) const;
    // Sets the value, adding the item first when there is none.
    void SetStoredValue(const AnsiString& name, const Variant& value);
    void SaveValues();
    void RestoreValues();

private:
    IStoredValuesStorage* storage_;
};
