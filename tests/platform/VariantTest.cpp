#include <functional>

#include <gtest/gtest.h>

#include "ExpectMessage.h"
#include "platform/Variant.h"

namespace {

TEST(Variant, TextBothWays) {
    struct Case {
        Variant v;
        TVarType type;
        const char* text;
    } cases[] = {
        {Variant(), varEmpty, ""},
        {Variant(80), varInteger, "80"},
        {Variant(-7), varInteger, "-7"},
        {Variant(1.5), varDouble, "1.5"},
        {Variant(true), varBoolean, "True"},
        {Variant(false), varBoolean, "False"},
        {Variant("Текст"_a), varString, "Текст"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.v.VarType(), c.type) << c.text;
        EXPECT_EQ(c.v.AsString(), Utf8ToAnsi(c.text));
        EXPECT_EQ(VarToStr(c.v), Utf8ToAnsi(c.text));
    }
    // A stored value comes back as text; readers convert it.
    Variant restored("80");
    int width = restored;
    EXPECT_EQ(width, 80);
    EXPECT_EQ(Variant("$1F").AsInteger(), 31);
    EXPECT_EQ(Variant(" 2,5 ").AsDouble(), 2.5);
    EXPECT_TRUE(Variant("true").AsBoolean());
    EXPECT_FALSE(Variant("FALSE").AsBoolean());
    EXPECT_TRUE(Variant("-1").AsBoolean());
    EXPECT_FALSE(Variant("0").AsBoolean());
    bool flag = Variant(Variant(true).AsString());
    EXPECT_TRUE(flag);
    EXPECT_EQ(Variant(2.5).AsInteger(), 3);
    EXPECT_EQ(Variant(-2.5).AsInteger(), -3);
    EXPECT_EQ(Variant(true).AsInteger(), 1);
    EXPECT_EQ(Variant().AsInteger(), 0);
    EXPECT_FALSE(Variant().AsBoolean());
}

TEST(Variant, ImpossibleConversionsRaiseWithBothTypeNames) {
    struct Case {
        std::function<void()> convert;
        const char* message;
    } cases[] = {
        {[] { (void)Variant("12abc").AsInteger(); }, "Could not convert variant of type (String) into type (Integer)"},
        {[] { (void)Variant("").AsInteger(); }, "Could not convert variant of type (String) into type (Integer)"},
        {[] { (void)Variant("x").AsDouble(); }, "Could not convert variant of type (String) into type (Double)"},
        {[] { (void)Variant("yes").AsBoolean(); }, "Could not convert variant of type (String) into type (Boolean)"},
        {[] { (void)Variant::Null().AsInteger(); }, "Could not convert variant of type (Null) into type (Integer)"},
        {[] { (void)Variant::Null().AsString(); }, "Could not convert variant of type (Null) into type (String)"},
        {[] { (void)Variant(1e12).AsInteger(); }, "Could not convert variant of type (Double) into type (Integer)"},
    };
    for (const Case& c : cases) ExpectMessage<EVariantError>(c.convert, c.message);
    EXPECT_EQ(VarToStr(Variant::Null()), "");
    EXPECT_TRUE(VarIsNull(Variant::Null()));
    EXPECT_FALSE(VarIsNull(Variant()));
    EXPECT_TRUE(VarIsEmpty(Variant()));
    Variant v(3);
    v.Clear();
    EXPECT_TRUE(v.IsEmpty());
    EXPECT_EQ(Variant("80"), Variant("80"));
    EXPECT_FALSE(Variant("80") == Variant(80));
}

TEST(Variant, ArraysHoldCopiesAndConvertToNothing) {
    Variant items[] = {Variant(1), Variant("два"_a), Variant(2.5)};
    Variant a = Variant::Array(items);
    items[0] = Variant(9); // the array holds copies
    EXPECT_TRUE(VarIsArray(a));
    EXPECT_EQ(a.VarType(), varArray);
    EXPECT_EQ(VarArrayHighBound(a), 2);
    ASSERT_EQ(a.Items().size(), 3u);
    EXPECT_EQ(a.Items()[0], Variant(1));
    EXPECT_EQ(a.Items()[1], Variant("два"_a));
    Variant same[] = {Variant(1), Variant("два"_a), Variant(2.5)};
    EXPECT_EQ(a, Variant::Array(same));
    Variant other[] = {Variant(1), Variant("два"_a)};
    EXPECT_FALSE(a == Variant::Array(other));
    EXPECT_EQ(VarArrayHighBound(Variant::Array({})), -1);
    EXPECT_TRUE(Variant(3).Items().empty());
    ExpectMessage<EVariantError>([&] { (void)a.AsString(); }, "Could not convert variant of type (Array) into type (String)");
    ExpectMessage<EVariantError>([&] { (void)a.AsInteger(); }, "Could not convert variant of type (Array) into type (Integer)");
    ExpectMessage<EVariantError>([] { (void)VarArrayHighBound(Variant(3)); }, "Variant is not an array");
}

} // namespace
