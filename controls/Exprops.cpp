#include "controls/Exprops.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <deque>
#include <map>
#include <typeinfo>

#include "controls/Collection.h"
#include "controls/Strutils.h"
#include "platform/ScopeGuard.h"

std::function<TComponent*(const AnsiString& name)> FindGlobalComponent;

namespace {

// A stored list or collection larger than this is taken for damaged data.
constexpr int kMaxStoredItems = 65536;

struct Published {
    std::function<bool(TObject*)> isInstance;
    std::vector<TPropInfo> props;
};

std::deque<Published>& Registry() {
    static std::deque<Published> registry;
    return registry;
}

bool IsStringKind(TTypeKind k) { return k == tkString || k == tkLString; }

// The property must be written even when its text is empty.
bool WritesEmpty(TTypeKind k) { return k == tkString || k == tkWChar || k == tkLString; }

bool ParseInt64(const AnsiString& text, long long& out) {
    std::string t = text.Trim().str();
    if (t.empty()) return false;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(t.c_str(), &end, 10);
    if (errno == ERANGE || end != t.c_str() + t.size()) return false;
    out = v;
    return true;
}

int FloatDigits(TFloatType t) {
    switch (t) {
    case ftSingle: return 7;
    case ftDouble: return 15;
    case ftExtended:
    case ftComp: return 18;
    case ftCurr: return 19;
    }
    return 15;
}

// The index of an identifier (letter case ignored), or -1.
int IdentifierIndex(const TPropInfo* p, const AnsiString& word) {
    for (std::size_t i = 0; i < p->Identifiers.size(); ++i)
        if (SameText(p->Identifiers[i], word)) return int(i);
    return -1;
}

} // namespace

AnsiString ClassNameOf(const TObject* object) {
    if (!object) return AnsiString();
    return ClassNameOfType(typeid(*object));
}

AnsiString ClassNameOfType(const std::type_info& type) {
    const char* mangled = type.name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : mangled;
    std::free(demangled);
    std::size_t colon = name.rfind("::");
    if (colon != std::string::npos) name = name.substr(colon + 2);
    return AnsiString(name);
}

void RegisterPublished(std::function<bool(TObject*)> isInstance, std::vector<TPropInfo> props) {
    Registry().push_back({std::move(isInstance), std::move(props)});
}

// ---- TPropInfoList -------------------------------------------------------------

TPropInfoList::TPropInfoList(TObject* object, TTypeKinds filter) {
    if (!object) return;
    for (const Published& cls : Registry()) {
        if (!cls.isInstance(object)) continue;
        for (const TPropInfo& p : cls.props) {
            if (!(filter & (1u << p.Kind))) continue;
            auto same = std::find_if(list_.begin(), list_.end(),
                                     [&](const TPropInfo* q) { return SameText(q->Name, p.Name); });
            if (same != list_.end()) *same = &p;
            else list_.push_back(&p);
        }
    }
}

const TPropInfo* TPropInfoList::Find(const AnsiString& name) const {
    for (const TPropInfo* p : list_)
        if (SameText(p->Name, name)) return p;
    return nullptr;
}

bool TPropInfoList::Contains(const TPropInfo* p) const {
    if (!p) return false;
    for (const TPropInfo* q : list_)
        if (q->TypeName == p->TypeName && SameText(q->Name, p->Name)) return true;
    return false;
}

void TPropInfoList::Delete(int index) {
    if (index >= 0 && index < Count()) list_.erase(list_.begin() + index);
}

void TPropInfoList::Intersect(const TPropInfoList* list) {
    for (int i = Count() - 1; i >= 0; --i)
        if (!list || !list->Contains(list_[std::size_t(i)])) Delete(i);
}

// ---- stored items ----------------------------------------------------------------

AnsiString CreateStoredItem(const AnsiString& comp, const AnsiString& prop) {
    if (comp.IsEmpty() || prop.IsEmpty()) return AnsiString();
    return comp + "." + prop;
}

bool ParseStoredItem(const AnsiString& item, AnsiString& compName, AnsiString& propName) {
    int dot = item.Pos(".");
    if (dot == 0) return false;
    compName = item.SubString(1, dot - 1).Trim();
    propName = item.SubString(dot + 1, item.Length()).Trim();
    return !compName.IsEmpty() && !propName.IsEmpty();
}

void UpdateStoredList(TComponent* form, TStrings* storedList, bool fromForm) {
    if (!storedList) return;
    for (int i = storedList->Count() - 1; i >= 0; --i) {
        AnsiString compName, propName;
        if (!ParseStoredItem(storedList->Get(i), compName, propName)) {
            storedList->Delete(i);
            continue;
        }
        if (fromForm) {
            TComponent* comp = form ? form->FindComponent(compName) : nullptr;
            if (comp) storedList->PutObject(i, comp);
            else storedList->Delete(i);
        } else if (auto* comp = dynamic_cast<TComponent*>(storedList->GetObject(i))) {
            TObject* bound = comp;
            storedList->Put(i, CreateStoredItem(comp->Name(), propName));
            storedList->PutObject(i, bound);
        } else {
            storedList->Delete(i);
        }
    }
}

// ---- TPropsStorage ----------------------------------------------------------------

AnsiString TPropsStorage::ReadString(const AnsiString& section, const AnsiString& item, const AnsiString& def) {
    return OnReadString ? OnReadString(section, item, def) : AnsiString();
}

void TPropsStorage::WriteString(const AnsiString& section, const AnsiString& item, const AnsiString& value) {
    if (OnWriteString) OnWriteString(section, item, value);
}

void TPropsStorage::EraseSection(const AnsiString& section) {
    if (OnEraseSection) OnEraseSection(section);
}

std::unique_ptr<TPropsStorage> TPropsStorage::CreateStorage() { return std::make_unique<TPropsStorage>(); }

std::unique_ptr<TPropsStorage> TPropsStorage::Nested(TObject* object, const AnsiString& section,
                                                     const AnsiString& prefix) {
    std::unique_ptr<TPropsStorage> s = CreateStorage();
    s->AObject = object;
    s->OwnerComponent = OwnerComponent;
    s->Section = section;
    s->Prefix = prefix;
    s->OnReadString = OnReadString;
    s->OnWriteString = OnWriteString;
    s->OnEraseSection = OnEraseSection;
    return s;
}

AnsiString TPropsStorage::PropertyText(const TPropInfo* p) {
    TObject* o = AObject;
    switch (p->Kind) {
    case tkInteger:
    case tkInt64: return IntToStr(p->GetOrd(o));
    case tkChar:
    case tkWChar: return AnsiString(char(p->GetOrd(o)));
    case tkEnumeration: {
        long long v = p->GetOrd(o);
        return v >= 0 && v < (long long)p->Identifiers.size() ? p->Identifiers[std::size_t(v)] : IntToStr(v);
    }
    case tkFloat: return FloatToGeneral(p->GetFloat(o), FloatDigits(p->FloatType));
    case tkString:
    case tkLString: return p->GetString(o);
    case tkVariant: return VarToStr(p->GetVariant(o));
    case tkSet: {
        long long bits = p->GetOrd(o);
        AnsiString text = "[";
        bool first = true;
        for (int i = 0; i < 32 && i < int(p->Identifiers.size()); ++i) {
            if (!(bits & (1ll << i))) continue;
            if (!first) text += ",";
            text += p->Identifiers[std::size_t(i)];
            first = false;
        }
        return text + "]";
    }
    default: return AnsiString();
    }
}

void TPropsStorage::ApplyText(const TPropInfo* p, const AnsiString& text) {
    TObject* o = AObject;
    switch (p->Kind) {
    case tkInteger: {
        int v;
        if (TryStrToInt(text, v)) p->SetOrd(o, v);
        break;
    }
    case tkInt64: {
        long long v;
        if (ParseInt64(text, v)) p->SetOrd(o, v);
        break;
    }
    case tkChar:
    case tkWChar:
        if (!text.IsEmpty()) p->SetOrd(o, static_cast<unsigned char>(text[1]));
        break;
    case tkEnumeration: {
        int index = IdentifierIndex(p, text);
        if (index >= 0) p->SetOrd(o, index);
        break;
    }
    case tkFloat: {
        double v;
        if (TryStrToFloat(text, v)) p->SetFloat(o, v);
        break;
    }
    case tkString:
    case tkLString: p->SetString(o, text); break;
    case tkVariant: p->SetVariant(o, Variant(text)); break;
    case tkSet: {
        static const TCharSet delims = {' ', ',', '[', ']'};
        long long bits = 0;
        for (int i = 1, n = WordCount(text, delims); i <= n; ++i) {
            int index = IdentifierIndex(p, ExtractWord(i, text, delims));
            if (index < 0 || index > 31) return; // a member this set does not have: damaged
            bits |= 1ll << index;
        }
        p->SetOrd(o, bits);
        break;
    }
    default: break;
    }
}

void TPropsStorage::StoreAnyProperty(const TPropInfo* propInfo) {
    if (!propInfo || !AObject) return;
    if (propInfo->Kind == tkClass) {
        StoreClass(propInfo);
        return;
    }
    if (propInfo->Kind == tkWString || propInfo->Kind == tkMethod || propInfo->Kind == tkUnknown) return;
    AnsiString text = PropertyText(propInfo).Trim();
    if (!text.IsEmpty() || WritesEmpty(propInfo->Kind)) WriteString(Section, GetItemName(propInfo->Name), text);
}

void TPropsStorage::LoadAnyProperty(const TPropInfo* propInfo) {
    if (!propInfo || !AObject) return;
    try {
        if (propInfo->Kind == tkClass) {
            LoadClass(propInfo);
            return;
        }
        if (propInfo->Kind == tkWString || propInfo->Kind == tkMethod || propInfo->Kind == tkUnknown) return;
        AnsiString def = PropertyText(propInfo);
        AnsiString text;
        if (!def.IsEmpty() || IsStringKind(propInfo->Kind) || propInfo->Kind == tkWChar)
            text = ReadString(Section, GetItemName(propInfo->Name), def).Trim();
        ApplyText(propInfo, text);
    } catch (const Exception&) {
        // A property whose setter refuses the stored value keeps what it had.
    }
}

void TPropsStorage::StoreClass(const TPropInfo* p) {
    AnsiString key = GetItemName(p->Name);
    TObject* obj = p->GetObject ? p->GetObject(AObject) : nullptr;
    if (p->ComponentReference) {
        auto* comp = dynamic_cast<TComponent*>(obj);
        AnsiString text = "(null)";
        if (comp) {
            text = comp->Name();
            TComponent* owner = comp->Owner();
            if (owner && owner != OwnerComponent) {
                AnsiString ownerName = owner->Name();
                if (ownerName.IsEmpty()) {
                    ownerName = ClassNameOf(owner);
                    if (ownerName.Length() > 1 && (ownerName[1] == 'T' || ownerName[1] == 't'))
                        ownerName = ownerName.SubString(2, ownerName.Length());
                }
                text = ownerName + "." + comp->Name();
            }
        }
        WriteString(Section, key, text);
        return;
    }
    if (!obj) return;
    AnsiString sub = Section + "." + key;
    if (auto* strings = dynamic_cast<TStrings*>(obj)) {
        EraseSection(sub);
        if (strings->Count() > 0) {
            WriteString(sub, "Count", IntToStr(strings->Count()));
            for (int i = 0; i < strings->Count(); ++i) WriteString(sub, "Item" + IntToStr(i), strings->Get(i));
        }
    } else if (auto* coll = dynamic_cast<TCollection*>(obj)) {
        EraseSection(sub);
        WriteString(Section, key + ".Count", IntToStr(coll->Count()));
        for (int i = 0; i < coll->Count(); ++i) {
            auto nested = Nested(coll->Items(i), sub, "Item" + IntToStr(i) + sPropNameDelimiter);
            TPropInfoList props(coll->Items(i), tkProperties);
            for (int k = 0; k < props.Count(); ++k) nested->StoreAnyProperty(props.Items(k));
        }
    } else {
        auto nested = Nested(obj, Section, key);
        TPropInfoList props(obj, tkProperties);
        for (int k = 0; k < props.Count(); ++k) nested->StoreAnyProperty(props.Items(k));
    }
}

void TPropsStorage::LoadClass(const TPropInfo* p) {
    AnsiString key = GetItemName(p->Name);
    TObject* obj = p->GetObject ? p->GetObject(AObject) : nullptr;
    if (p->ComponentReference) {
        AnsiString text = ReadString(Section, key, "").Trim();
        if (text.IsEmpty()) return;
        if (!p->SetObject) return;
        if (SameText(text, "(null)")) {
            p->SetObject(AObject, nullptr);
            return;
        }
        TComponent* owner = OwnerComponent;
        AnsiString name = text;
        if (int dot = text.Pos(".")) {
            AnsiString ownerName = text.SubString(1, dot - 1).Trim();
            name = text.SubString(dot + 1, text.Length()).Trim();
            owner = FindGlobalComponent ? FindGlobalComponent(ownerName) : nullptr;
        }
        TComponent* found = owner ? owner->FindComponent(name) : nullptr;
        if (found) p->SetObject(AObject, found);
        return;
    }
    if (!obj) return;
    AnsiString sub = Section + "." + key;
    if (auto* strings = dynamic_cast<TStrings*>(obj)) {
        int count = StrToIntDef(ReadString(sub, "Count", "0"), 0);
        if (count <= 0 || count > kMaxStoredItems) return;
        std::vector<AnsiString> lines;
        for (int i = 0; i < count; ++i) lines.push_back(ReadString(sub, "Item" + IntToStr(i), ""));
        strings->BeginUpdate();
        TScopeGuard endUpdate([strings] { strings->EndUpdate(); });
        strings->Clear();
        for (const AnsiString& line : lines) strings->Add(line);
    } else if (auto* coll = dynamic_cast<TCollection*>(obj)) {
        int count = StrToIntDef(ReadString(Section, key + ".Count", IntToStr(coll->Count())), coll->Count());
        if (count < 0 || count > kMaxStoredItems) count = coll->Count();
        coll->BeginUpdate();
        TScopeGuard endUpdate([coll] { coll->EndUpdate(); });
        if (count != coll->Count()) {
            coll->Clear();
            for (int i = 0; i < count; ++i) coll->Add();
        }
        for (int i = 0; i < coll->Count(); ++i) {
            auto nested = Nested(coll->Items(i), sub, "Item" + IntToStr(i) + sPropNameDelimiter);
            TPropInfoList props(coll->Items(i), tkProperties);
            for (int k = 0; k < props.Count(); ++k) nested->LoadAnyProperty(props.Items(k));
        }
    } else {
        auto nested = Nested(obj, Section, key);
        TPropInfoList props(obj, tkProperties);
        for (int k = 0; k < props.Count(); ++k) nested->LoadAnyProperty(props.Items(k));
    }
}

void TPropsStorage::StoreProperties(TStrings* propList) {
    TPropInfoList props(AObject, tkProperties);
    for (int i = 0; propList && i < propList->Count(); ++i) StoreAnyProperty(props.Find(propList->Get(i)));
}

void TPropsStorage::LoadProperties(TStrings* propList) {
    TPropInfoList props(AObject, tkProperties);
    for (int i = 0; propList && i < propList->Count(); ++i) LoadAnyProperty(props.Find(propList->Get(i)));
}

void TPropsStorage::ObjectsProps(TComponent* aComponent, TStrings* storedList, bool load) {
    if (!storedList) return;
    UpdateStoredList(aComponent, storedList, false);
    std::map<TObject*, std::unique_ptr<TPropInfoList>> lists;
    for (int i = 0; i < storedList->Count(); ++i) {
        TObject* obj = storedList->GetObject(i);
        if (!lists.count(obj)) lists[obj] = std::make_unique<TPropInfoList>(obj, tkProperties);
    }
    OwnerComponent = aComponent;
    TScopeGuard noOwner([this] { OwnerComponent = nullptr; });
    for (int i = 0; i < storedList->Count(); ++i) {
        AnsiString compName, propName;
        if (!ParseStoredItem(storedList->Get(i), compName, propName)) continue;
        auto* comp = dynamic_cast<TComponent*>(storedList->GetObject(i));
        if (!comp) continue;
        AObject = comp;
        Prefix = comp->Name() + sPropNameDelimiter;
        const TPropInfo* p = lists[comp]->Find(propName);
        if (load) LoadAnyProperty(p);
        else StoreAnyProperty(p);
    }
}

void TPropsStorage::StoreObjectsProps(TComponent* aComponent, TStrings* storedList) {
    ObjectsProps(aComponent, storedList, false);
}

void TPropsStorage::LoadObjectsProps(TComponent* aComponent, TStrings* storedList) {
    ObjectsProps(aComponent, storedList, true);
}
