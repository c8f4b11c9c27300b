#include <gtest/gtest.h>

#include "common/Printers.h"

#include <vector>

#include "controls/Maxmin.h"

namespace {

TEST(Maxmin, PairsArraysAndSwaps) {
    EXPECT_EQ(Max(3, 3), 3);
    EXPECT_EQ(Max(-1, 2), 2);
    EXPECT_EQ(Min(-1, 2), -1);
    std::vector<int> ints = {2, 7, 7, -3};
    EXPECT_EQ(MaxInteger(ints), 7);
    EXPECT_EQ(MinInteger(ints), -3);
    std::vector<std::int64_t> big = {1LL << 40, -(1LL << 41)};
    EXPECT_EQ(MaxInt64(big), 1LL << 40);
    EXPECT_EQ(MinInt64(big), -(1LL << 41));
    std::vector<double> one = {2.5};
    EXPECT_EQ(MinFloat(one), 2.5);
    std::vector<TDateTime> dates = {45000.5, 44000.25};
    EXPECT_EQ(MaxDateTime(dates), 45000.5);
    EXPECT_EQ(MinDateTime(dates), 44000.25);
    int a = 1, b = 2;
    SwapInt(a, b);
    EXPECT_EQ(a, 2);
    SwapLong(a, b);
    EXPECT_EQ(a, 1);
    std::int64_t x = 5, y = 6;
    SwapInt64(x, y);
    EXPECT_EQ(x, 6);
}

TEST(Maxmin, EmptyArraysGiveZero) {
    EXPECT_EQ(MaxInteger({}), 0);
    EXPECT_EQ(MinInt64({}), 0);
    EXPECT_EQ(MaxFloat({}), 0.0);
    EXPECT_EQ(MinDateTime({}), 0.0);
    EXPECT_EQ(MaxOf({}).AsInteger(), 0);
}

TEST(Maxmin, VariantsCompareAsNumbersOrTexts) {
    std::vector<Variant> numbers = {Variant(3), Variant("10"), Variant(2.5)};
    EXPECT_EQ(MaxOf(numbers).AsString(), AnsiString("10")); // "10" as a number, not as text
    EXPECT_EQ(MinOf(numbers).AsDouble(), 2.5);
    std::vector<Variant> texts = {Variant("b"), Variant("A"), Variant("a")};
    EXPECT_EQ(MinOf(texts).AsString(), AnsiString("a")); // lower case sorts before upper case
    EXPECT_EQ(MaxOf(texts).AsString(), AnsiString("b"));
    std::vector<Variant> withNull = {Variant::Null(), Variant(1)};
    EXPECT_TRUE(MinOf(withNull).IsNull());
    EXPECT_EQ(VarCompare(Variant(), Variant::Null()), 0);
    std::vector<Variant> equal = {Variant(1), Variant("1")};
    EXPECT_EQ(MaxOf(equal).VarType(), varInteger); // the first of equal extremes
}

} // namespace
