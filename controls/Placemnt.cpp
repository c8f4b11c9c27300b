#include "controls/Placemnt.h"

#include "controls/Strutils.h"

// ---- TStoredValue --------------------------------------------------------------

IStoredValuesStorage* TStoredValue::Storage() const {
    auto* values = dynamic_cast<TStoredValues*>(Collection());
    return values ? values->Storage() : nullptr;
}

void TStoredValue::SetName(const AnsiString& name) {
    if (!name.IsEmpty() && !SameText(name, name_)) {
        if (auto* values = dynamic_cast<TStoredValues*>(Collection()); values && values->IndexOf(name) >= 0)
            throw EStringListError("String list does not allow duplicates");
    }
    name_ = name;
    Changed();
}

void TStoredValue::SetValue(const Variant& value) {
    value_ = value;
    if (IStoredValuesStorage* s = Storage()) s->StoredValueChanged();
    Changed();
}

void TStoredValue::Save() {
    IStoredValuesStorage* storage = Storage();
    if (!storage || name_.IsEmpty()) return;
    Variant saved = value_;
    if (OnSave) OnSave(this, saved);
    AnsiString text = VarToStr(saved);
    if (!KeyString.IsEmpty()) text = XorEncode(KeyString, text);
    storage->WriteString(name_, text);
}

void TStoredValue::Restore() {
    IStoredValuesStorage* storage = Storage();
    if (!storage || name_.IsEmpty()) return;
    AnsiString def = VarToStr(value_);
    if (!KeyString.IsEmpty()) def = XorEncode(KeyString, def);
    AnsiString text = storage->ReadString(name_, def);
    if (!KeyString.IsEmpty()) text = XorDecode(KeyString, text);
    Variant restored(text);
    if (OnRestore) OnRestore(this, restored);
    value_ = restored;
    Changed();
}

void TStoredValue::Clear() { SetValue(Variant()); }

void TStoredValue::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TStoredValue*>(source);
    if (!other) {
        TCollectionItem::Assign(source);
        return;
    }
    if (other->value_.IsEmpty()) Clear();
    else SetValue(other->value_);
    SetName(other->name_);
    KeyString = other->KeyString;
}

AnsiString TStoredValue::DisplayName() const { return name_.IsEmpty() ? TCollectionItem::DisplayName() : name_; }

// ---- TStoredValues -------------------------------------------------------------

TStoredValues::TStoredValues(TPersistent* owner, IStoredValuesStorage* storage)
    : TOwnedCollection(owner, [](TCollection* c) { return new TStoredValue(c); }), storage_(storage) {}

int TStoredValues::IndexOf(const AnsiString& name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(Items(i)->Name(), name)) return i;
    return -1;
}

TStoredValue* TStoredValues::GetValue(const AnsiString& name) const {
    int i = IndexOf(name);
    return i < 0 ? nullptr : Items(i);
}

void TStoredValues::SetValue(const AnsiString& name, TStoredValue* value) {
    if (TStoredValue* item = GetValue(name)) item->Assign(value);
}

Variant TStoredValues::GetStoredValue(const AnsiString& name) const {
    TStoredValue* item = GetValue(name);
    return item ? item->Value() : Variant::Null();
}

Variant TStoredValues::GetStoredValue(const AnsiString& name, const Variant& def) const {
    Variant v = GetStoredValue(name);
    if (v.IsNull() || v.IsEmpty()) return def;
    if (v.VarType() == varString && v.AsString().Trim().IsEmpty()) return def;
    try {
        switch (def.VarType()) {
        case varInteger: return Variant(v.AsInteger());
        case varDouble: return Variant(v.AsDouble());
        case varBoolean: return Variant(v.AsBoolean());
        case varString: return Variant(v.AsString());
        default: return v;
        }
    } catch (const EVariantError&) {
        return def;
    }
}

void TStoredValues::SetStoredValue(const AnsiString& name, const Variant& value) {
    TStoredValue* item = GetValue(name);
    if (!item) {
        item = Add();
        item->SetName(name);
    }
    item->SetValue(value);
}

void TStoredValues::SaveValues() {
    for (int i = 0; i < Count(); ++i) Items(i)->Save();
}

void TStoredValues::RestoreValues() {
    for (int i = 0; i < Count(); ++i) Items(i)->Restore();
}
