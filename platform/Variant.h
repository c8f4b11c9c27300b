#pragma once
// Variant: a value of one of a few kinds, as form storage keeps it (stored
// values are written as text and come back as text, which readers convert to
// the number or flag they need). A new variant is unassigned; Null stands for
// "no such value". Unassigned converts to 0, false and the empty text; Null
// converts to nothing (except through VarToStr, which gives ""). A conversion
// that cannot be made raises EVariantError with the text
// "Could not convert variant of type (<from>) into type (<to>)".
// A variant array holds a row of variants (indexes from 0); it converts to
// nothing else.

#include <span>
#include <variant>
#include <vector>

#include "platform/AnsiString.h"
#include "platform/Exceptions.h"

enum TVarType { varEmpty, varNull, varInteger, varDouble, varBoolean, varString, varArray };

class Variant {
public:
    Variant() = default;
    Variant(int v) : v_(v) {}
    Variant(double v) : v_(v) {}
    Variant(bool v) : v_(v) {}
    Variant(const AnsiString& v) : v_(v) {}
    Variant(const char* v) : v_(AnsiString(v)) {}
    static Variant Null();
    // A variant array of copies of the items.
    static Variant Array(std::span<const Variant> items);

    TVarType VarType() const;
    bool IsEmpty() const { return VarType() == varEmpty; }
    bool IsNull() const { return VarType() == varNull; }
    void Clear() {
        v_ = std::monostate{};
        items_.clear();
    }
    bool IsArray() const { return VarType() == varArray; }
    // The items of an array (none for any other kind).
    std::span<const Variant> Items() const;

    // Text: an integer in decimal, a double as FloatToStr, a flag as "True" or "False".
    AnsiString AsString() const;
    // Text is read as StrToInt reads it (decimal, "$"/"0x" hexadecimal); a
    // double is rounded half away from zero; True is 1.
    int AsInteger() const;
    // Text with '.' or ',' as the decimal separator.
    double AsDouble() const;
    // Text "True"/"False" in any letter case, or a number (non-zero is true).
    bool AsBoolean() const;

    operator AnsiString() const { return AsString(); }
    operator int() const { return AsInteger(); }
    operator double() const { return AsDouble(); }
    operator bool() const { return AsBoolean(); }

    // Same kind and same value.
    friend bool operator==(const Variant& a, const Variant& b) { return a.v_ == b.v_ && a.items_ == b.items_; }

private:
    struct NullTag {
        friend bool operator==(NullTag, NullTag) { return true; }
    };
    // The kind of an array; its items are held beside the value, so that the
    // value itself stays a plain union.
    struct ArrayTag {
        friend bool operator==(ArrayTag, ArrayTag) { return true; }
    };
    [[noreturn]] void Fail(TVarType to) const;
    std::variant<std::monostate, NullTag, int, double, bool, AnsiString, ArrayTag> v_;
    std::vector<Variant> items_;
};

bool VarIsNull(const Variant& v);
bool VarIsEmpty(const Variant& v);
bool VarIsArray(const Variant& v);
// The highest index of an array (-1 when empty); EVariantError for a non-array.
int VarArrayHighBound(const Variant& v);
// The text of a variant; "" for Null.
AnsiString VarToStr(const Variant& v);
// "Empty", "Null", "Integer", "Double", "Boolean", "String", "Array".
AnsiString VarTypeName(TVarType type);
