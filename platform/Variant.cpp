#include "platform/Variant.h"

#include <cmath>
#include <limits>

Variant Variant::Null() {
    Variant v;
    v.v_ = NullTag{};
    return v;
}

TVarType Variant::VarType() const {
    switch (v_.index()) {
    case 0: return varEmpty;
    case 1: return varNull;
    case 2: return varInteger;
    case 3: return varDouble;
    case 4: return varBoolean;
    case 5: return varString;
    default: return varArray;
    }
}

Variant Variant::Array(std::span<const Variant> items) {
    Variant v;
    v.v_ = ArrayTag{};
    v.items_.assign(items.begin(), items.end());
    return v;
}

std::span<const Variant> Variant::Items() const {
    if (!IsArray()) return {};
    return items_;
}

AnsiString VarTypeName(TVarType type) {
    static const char* const names[] = {"Empty", "Null", "Integer", "Double", "Boolean", "String", "Array"};
    return names[type];
}

void Variant::Fail(TVarType to) const {
    throw EVariantError("Could not convert variant of type (" + VarTypeName(VarType()) + ") into type (" +
                        VarTypeName(to) + ")");
}

AnsiString Variant::AsString() const {
    switch (VarType()) {
    case varEmpty: return AnsiString();
    case varNull: Fail(varString);
    case varInteger: return IntToStr(std::get<int>(v_));
    case varDouble: return FloatToStr(std::get<double>(v_));
    case varBoolean: return std::get<bool>(v_) ? "True" : "False";
    case varString: break;
    case varArray: Fail(varString);
    }
    return std::get<AnsiString>(v_);
}

int Variant::AsInteger() const {
    switch (VarType()) {
    case varEmpty: return 0;
    case varNull: break;
    case varInteger: return std::get<int>(v_);
    case varDouble: {
        double d = std::round(std::get<double>(v_));
        if (std::isfinite(d) && d >= std::numeric_limits<int>::min() && d <= std::numeric_limits<int>::max())
            return int(d);
        break;
    }
    case varBoolean: return std::get<bool>(v_) ? 1 : 0;
    case varString: {
        int v;
        if (TryStrToInt(std::get<AnsiString>(v_), v)) return v;
        break;
    }
    case varArray: break;
    }
    Fail(varInteger);
}

double Variant::AsDouble() const {
    switch (VarType()) {
    case varEmpty: return 0;
    case varNull: break;
    case varInteger: return std::get<int>(v_);
    case varDouble: return std::get<double>(v_);
    case varBoolean: return std::get<bool>(v_) ? 1 : 0;
    case varString: {
        double v;
        if (TryStrToFloat(std::get<AnsiString>(v_), v)) return v;
        break;
    }
    case varArray: break;
    }
    Fail(varDouble);
}

bool Variant::AsBoolean() const {
    switch (VarType()) {
    case varEmpty: return false;
    case varNull: break;
    case varInteger: return std::get<int>(v_) != 0;
    case varDouble: return std::get<double>(v_) != 0;
    case varBoolean: return std::get<bool>(v_);
    case varString: {
        const AnsiString& s = std::get<AnsiString>(v_);
        if (SameText(s.Trim(), "True")) return true;
        if (SameText(s.Trim(), "False")) return false;
        double d;
        if (TryStrToFloat(s, d)) return d != 0;
        break;
    }
    case varArray: break;
    }
    Fail(varBoolean);
}

bool VarIsNull(const Variant& v) { return v.IsNull(); }
bool VarIsEmpty(const Variant& v) { return v.IsEmpty(); }
bool VarIsArray(const Variant& v) { return v.IsArray(); }

int VarArrayHighBound(const Variant& v) {
    if (!v.IsArray()) throw EVariantError("Variant is not an array");
    return int(v.Items().size()) - 1;
}
AnsiString VarToStr(const Variant& v) { return v.IsNull() ? AnsiString() : v.AsString(); }
