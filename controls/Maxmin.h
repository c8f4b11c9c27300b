#pragma once
// The larger or smaller of two values, the extreme of an array, and swaps.
// The array functions return the first of equal extremes; an empty array
// gives 0 (a zero value of the element type).

#include <cstdint>
#include <span>

#include "platform/DateTime.h"
#include "platform/Variant.h"

int Max(int a, int b);
int Min(int a, int b);
void SwapInt(int& a, int& b);
void SwapLong(int& a, int& b);
void SwapInt64(std::int64_t& a, std::int64_t& b);

int MaxInteger(std::span<const int> values);
int MinInteger(std::span<const int> values);
std::int64_t MaxInt64(std::span<const std::int64_t> values);
std::int64_t MinInt64(std::span<const std::int64_t> values);
double MaxFloat(std::span<const double> values);
double MinFloat(std::span<const double> values);
TDateTime MaxDateTime(std::span<const TDateTime> values);
TDateTime MinDateTime(std::span<const TDateTime> values);
// Variants compare as numbers when both are numbers (or number texts), else
// as texts in the locale order; Null and unassigned values are the smallest.
Variant MaxOf(std::span<const Variant> values);
Variant MinOf(std::span<const Variant> values);
// -1, 0 or 1 by the rule above.
int VarCompare(const Variant& a, const Variant& b);
