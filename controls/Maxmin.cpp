#include "controls/Maxmin.h"

#include <utility>

#include "controls/Strutils.h"

namespace {

// The first strictly larger (wantLarger) or smaller element wins.
template <class T, class Less>
T Extreme(std::span<const T> values, bool wantLarger, Less less, T empty) {
    if (values.empty()) return empty;
    T result = values[0];
    for (const T& v : values)
        if (wantLarger ? less(result, v) : less(v, result)) result = v;
    return result;
}

template <class T>
T Extreme(std::span<const T> values, bool wantLarger) {
    return Extreme(values, wantLarger, [](const T& a, const T& b) { return a < b; }, T(0));
}

bool AsNumber(const Variant& v, double& out) {
    switch (v.VarType()) {
    case varInteger:
    case varDouble:
    case varBoolean: out = v.AsDouble(); return true;
    case varString: return TryStrToFloat(v.AsString(), out);
    default: return false;
    }
}

} // namespace

int Max(int a, int b) { return a > b ? a : b; }
int Min(int a, int b) { return a < b ? a : b; }
void SwapInt(int& a, int& b) { std::swap(a, b); }
void SwapLong(int& a, int& b) { std::swap(a, b); }
void SwapInt64(std::int64_t& a, std::int64_t& b) { std::swap(a, b); }

int MaxInteger(std::span<const int> values) { return Extreme(values, true); }
int MinInteger(std::span<const int> values) { return Extreme(values, false); }
std::int64_t MaxInt64(std::span<const std::int64_t> values) { return Extreme(values, true); }
std::int64_t MinInt64(std::span<const std::int64_t> values) { return Extreme(values, false); }
double MaxFloat(std::span<const double> values) { return Extreme(values, true); }
double MinFloat(std::span<const double> values) { return Extreme(values, false); }
TDateTime MaxDateTime(std::span<const TDateTime> values) { return Extreme(values, true); }
TDateTime MinDateTime(std::span<const TDateTime> values) { return Extreme(values, false); }

int VarCompare(const Variant& a, const Variant& b) {
    bool aNone = a.IsNull() || a.IsEmpty();
    bool bNone = b.IsNull() || b.IsEmpty();
    if (aNone || bNone) return aNone == bNone ? 0 : (aNone ? -1 : 1);
    double x, y;
    if (AsNumber(a, x) && AsNumber(b, y)) return x < y ? -1 : (x > y ? 1 : 0);
    return CompStr(a.AsString(), b.AsString());
}

Variant MaxOf(std::span<const Variant> values) {
    return Extreme(values, true, [](const Variant& a, const Variant& b) { return VarCompare(a, b) < 0; }, Variant(0));
}

Variant MinOf(std::span<const Variant> values) {
    return Extreme(values, false, [](const Variant& a, const Variant& b) { return VarCompare(a, b) < 0; }, Variant(0));
}
