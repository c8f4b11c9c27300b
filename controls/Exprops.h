#pragma once
// Property storage: chosen published properties of components written into a
// key-value store as text and read back. The store is reached through three
// callbacks (read, write, erase a section); TFormStorage uses this for its
// StoredProps lines ("Splitter1.Left").
//
// Published properties: a class publishes the properties that may be stored
// (PublishProperties), each with its name, kind and accessors; an object has
// the properties of every published class it is an instance of.

#include <functional>
#include <memory>
#include <typeinfo>
#include <vector>

#include "platform/StringList.h"
#include "platform/Variant.h"

// The name of an object's class as written in its source ("TMainForm").
AnsiString ClassNameOf(const TObject* object);
// The same of a type.
AnsiString ClassNameOfType(const std::type_info& type);

// A class reference: a class known without an object of it. It knows its
// name, whether an object is of the class (or of a class derived from it),
// and whether the class derives from another class reference.
class TClassRef {
public:
    const AnsiString& ClassName() const { return name_; }
    bool IsInstance(TObject* object) const { return object && isInstance_(object); }
    // The class itself counts as derived from itself.
    bool InheritsFrom(const TClassRef& base) const { return base.catches_(throwNull_); }
    friend bool operator==(const TClassRef& a, const TClassRef& b) { return *a.type_ == *b.type_; }

private:
    template <class T>
    friend TClassRef ClassRefOf();
    AnsiString name_;
    const std::type_info* type_ = nullptr;
    bool (*isInstance_)(TObject*) = nullptr;
    // Derivation without objects: a null pointer of the class is thrown and
    // offered to the other class's handler, which takes it only when the
    // class derives from its own.
    void (*throwNull_)() = nullptr;
    bool (*catches_)(void (*thrower)()) = nullptr;
};

template <class T>
TClassRef ClassRefOf() {
    TClassRef r;
    r.name_ = ClassNameOfType(typeid(T));
    r.type_ = &typeid(T);
    r.isInstance_ = [](TObject* o) { return dynamic_cast<T*>(o) != nullptr; };
    r.throwNull_ = [] { throw static_cast<T*>(nullptr); };
    r.catches_ = [](void (*thrower)()) {
        try {
            thrower();
        } catch (T*) {
            return true;
        } catch (...) {
            return false;
        }
        return false;
    };
    return r;
}

enum TTypeKind {
    tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkMethod,
    tkWChar, tkLString, tkWString, tkVariant, tkInt64,
};
using TTypeKinds = unsigned; // set of TTypeKind: bit (1 << kind)
constexpr TTypeKinds TypeKinds(std::initializer_list<TTypeKind> kinds) {
    TTypeKinds r = 0;
    for (TTypeKind k : kinds) r |= 1u << k;
    return r;
}
// Every kind but methods and the undefined kind: what the storage handles.
constexpr TTypeKinds tkProperties = ~(TypeKinds({tkUnknown, tkMethod}));

enum TFloatType { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

// One published property: name, kind and access.
struct TPropInfo {
    AnsiString Name;
    TTypeKind Kind = tkUnknown;
    AnsiString TypeName;                 // properties of one type share it
    TFloatType FloatType = ftDouble;
    std::vector<AnsiString> Identifiers; // enumeration values / set members, by ordinal
    // Ordinal kinds (integer, char, enumeration, set as a bit mask, 64-bit integer).
    std::function<long long(TObject*)> GetOrd;
    std::function<void(TObject*, long long)> SetOrd;
    std::function<double(TObject*)> GetFloat;
    std::function<void(TObject*, double)> SetFloat;
    std::function<AnsiString(TObject*)> GetString;
    std::function<void(TObject*, const AnsiString&)> SetString;
    std::function<Variant(TObject*)> GetVariant;
    std::function<void(TObject*, const Variant&)> SetVariant;
    // Class kind: the held object; a component reference names another component.
    bool ComponentReference = false;
    std::function<TObject*(TObject*)> GetObject;
    std::function<void(TObject*, TObject*)> SetObject;
};

// Registers the published properties of class T (objects of classes derived
// from T have them too). A later registration of a name replaces an earlier
// one for the objects it applies to.
void RegisterPublished(std::function<bool(TObject*)> isInstance, std::vector<TPropInfo> props);
template <class T>
void PublishProperties(std::vector<TPropInfo> props) {
    RegisterPublished([](TObject* o) { return dynamic_cast<T*>(o) != nullptr; }, std::move(props));
}

// Property makers for PublishProperties.
template <class T>
TPropInfo IntegerProperty(const char* name, std::function<int(T&)> get, std::function<void(T&, int)> set) {
    TPropInfo p;
    p.Name = name;
    p.Kind = tkInteger;
    p.TypeName = "Integer";
    p.GetOrd = [get](TObject* o) { return (long long)get(dynamic_cast<T&>(*o)); };
    p.SetOrd = [set](TObject* o, long long v) { set(dynamic_cast<T&>(*o), int(v)); };
    return p;
}
template <class T>
TPropInfo BooleanProperty(const char* name, std::function<bool(T&)> get, std::function<void(T&, bool)> set) {
    TPropInfo p;
    p.Name = name;
    p.Kind = tkEnumeration;
    p.TypeName = "Boolean";
    p.Identifiers = {"False", "True"};
    p.GetOrd = [get](TObject* o) { return (long long)get(dynamic_cast<T&>(*o)); };
    p.SetOrd = [set](TObject* o, long long v) { set(dynamic_cast<T&>(*o), v != 0); };
    return p;
}
template <class T>
TPropInfo StringProperty(const char* name, std::function<AnsiString(T&)> get,
                         std::function<void(T&, const AnsiString&)> set) {
    TPropInfo p;
    p.Name = name;
    p.Kind = tkLString;
    p.TypeName = "AnsiString";
    p.GetString = [get](TObject* o) { return get(dynamic_cast<T&>(*o)); };
    p.SetString = [set](TObject* o, const AnsiString& v) { set(dynamic_cast<T&>(*o), v); };
    return p;
}

// The published properties of an object whose kind is in a set.
class TPropInfoList : public TObject {
public:
    TPropInfoList(TObject* object, TTypeKinds filter);
    int Count() const { return int(list_.size()); }
    const TPropInfo* Items(int index) const { return list_.at(std::size_t(index)); }
    // The first property of that name (letter case ignored), or null.
    const TPropInfo* Find(const AnsiString& name) const;
    // One of the same type and name.
    bool Contains(const TPropInfo* p) const;
    void Delete(int index);
    // Keeps only the properties that the other list contains.
    void Intersect(const TPropInfoList* list);

private:
    std::vector<const TPropInfo*> list_;
};

// "Component.Property"; empty when either part is empty.
AnsiString CreateStoredItem(const AnsiString& comp, const AnsiString& prop);
// Splits at the first point, both parts trimmed; true when both are non-empty.
bool ParseStoredItem(const AnsiString& item, AnsiString& compName, AnsiString& propName);

inline constexpr const char* sPropNameDelimiter = "_";

using TReadStrEvent = std::function<AnsiString(const AnsiString& section, const AnsiString& item, const AnsiString& def)>;
using TWriteStrEvent = std::function<void(const AnsiString& section, const AnsiString& item, const AnsiString& value)>;
using TEraseSectEvent = std::function<void(const AnsiString& section)>;

// Looks up a form or data module by name for component references that
// name their owner ("Form2.Button1"); set by the window layer.
extern std::function<TComponent*(const AnsiString& name)> FindGlobalComponent;

// Stored texts of properties, by kind:
//   integer, 64-bit integer   decimal
//   character                 the character
//   enumeration               the value's identifier ("True", "bkStandard")
//   floating point            general format with '.' (7/15/18/18/19 digits by type)
//   string, variant           the text
//   set                       "[a,b]" of the member identifiers
//   string list               subsection "<section>.<key>": Count, Item0 ...
//   collection                subsection, each item's properties as "Item<n>_<prop>"
//   component reference       its name, "<owner>.<name>" for another owner, "(null)"
//   any other object          its properties as "<key><prop>"
// A stored text that does not convert (damaged, or naming a value, member or
// component that does not exist) leaves the property as it was.
class TPropsStorage : public TObject {
public:
    TObject* AObject = nullptr;
    TComponent* OwnerComponent = nullptr;
    AnsiString Prefix;
    AnsiString Section;
    TReadStrEvent OnReadString;
    TWriteStrEvent OnWriteString;
    TEraseSectEvent OnEraseSection;

    AnsiString ReadString(const AnsiString& section, const AnsiString& item, const AnsiString& def);
    void WriteString(const AnsiString& section, const AnsiString& item, const AnsiString& value);
    void EraseSection(const AnsiString& section);

    void StoreAnyProperty(const TPropInfo* propInfo);
    // Every exception is swallowed: the property keeps what it had.
    void LoadAnyProperty(const TPropInfo* propInfo);
    void StoreProperties(TStrings* propList);
    void LoadProperties(TStrings* propList);
    // Lines "Component.Property" of the component's children.
    void StoreObjectsProps(TComponent* aComponent, TStrings* storedList);
    void LoadObjectsProps(TComponent* aComponent, TStrings* storedList);

protected:
    // The storage used for nested objects.
    virtual std::unique_ptr<TPropsStorage> CreateStorage();
    AnsiString GetItemName(const AnsiString& propName) const { return Prefix + propName; }

private:
    AnsiString PropertyText(const TPropInfo* p);
    void ApplyText(const TPropInfo* p, const AnsiString& text);
    std::unique_ptr<TPropsStorage> Nested(TObject* object, const AnsiString& section, const AnsiString& prefix);
    void StoreClass(const TPropInfo* p);
    void LoadClass(const TPropInfo* p);
    void ObjectsProps(TComponent* aComponent, TStrings* storedList, bool load);
};

// Walks the lines from the last to the first: lines that do not parse are
// deleted. fromForm: each line is bound to the form's component of that name
// (its object slot), or deleted when there is none. Otherwise each bound line
// is rewritten with its component's current name, and unbound lines are deleted.
void UpdateStoredList(TComponent* form, TStrings* storedList, bool fromForm);
