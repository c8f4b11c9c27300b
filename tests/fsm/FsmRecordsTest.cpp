// Byte layout of the ".fsm" headers and record bodies.

#include <gtest/gtest.h>

#include "fsm/FsmRecords.h"

using namespace fsmfile;

namespace {

int32_t I32At(const std::string& b, std::size_t off) {
    return int32_t(uint32_t(uint8_t(b[off])) | uint32_t(uint8_t(b[off + 1])) << 8 | uint32_t(uint8_t(b[off + 2])) << 16 |
                   uint32_t(uint8_t(b[off + 3])) << 24);
}

bool ZeroRange(const std::string& b, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        if (b[i] != '\0') return false;
    return true;
}

TEST(FsmRecords, PinHeaderHoldsTheCountsAt84And88) {
    ByteWriter w;
    PinHeader h;
    h.Inputs = 3;
    h.Outputs = 120;
    h.Write(w);
    const std::string b = w.Data();
    ASSERT_EQ(b.size(), 100u);
    EXPECT_TRUE(ZeroRange(b, 0, 84));
    EXPECT_EQ(I32At(b, 84), 3);
    EXPECT_EQ(I32At(b, 88), 120);
    EXPECT_TRUE(ZeroRange(b, 92, 100));
    ByteReader r(b);
    const PinHeader back = PinHeader::Read(r);
    EXPECT_EQ(back.Inputs, 3);
    EXPECT_EQ(back.Outputs, 120);
    EXPECT_TRUE(r.AtEnd());
}

TEST(FsmRecords, StateBodyIs136BytesWithTheNameAt12) {
    ByteWriter w;
    StateRecord s;
    s.Number = 7;
    s.X = -5;
    s.Y = 300;
    s.Name = "Ожидание"_a;
    s.Write(w);
    const std::string b = w.Data();
    ASSERT_EQ(b.size(), std::size_t(kStateBodySize));
    EXPECT_EQ(I32At(b, 0), 7);
    EXPECT_EQ(I32At(b, 4), -5);
    EXPECT_EQ(I32At(b, 8), 300);
    EXPECT_EQ(uint8_t(b[12]), 8);
    EXPECT_EQ(b.substr(13, 8), ("Ожидание"_a).str());
    EXPECT_TRUE(ZeroRange(b, 21, 136));

    // A name of 81 characters keeps its first 80.
    s.Name = AnsiString::StringOfChar('n', 80) + "z";
    ByteWriter w2;
    s.Write(w2);
    EXPECT_EQ(uint8_t(w2.Data()[12]), 80);
    EXPECT_EQ(w2.Data().substr(13, 80), std::string(80, 'n'));
    ByteReader r(w2.Data());
    EXPECT_EQ(StateRecord::Read(r).Name, AnsiString(std::string(80, 'n')));
    EXPECT_TRUE(r.AtEnd());
}

TEST(FsmRecords, TransitionBodyIs88BytesWithPointsIdsAndStraightFlag) {
    TransitionRecord t;
    t.Number = 4;
    for (int i = 0; i < 4; ++i) {
        t.X[i] = 10 * i + 1;
        t.Y[i] = -(10 * i + 2);
    }
    t.Source = 9;
    t.Target = 11;
    t.Straight = 1;
    ByteWriter w;
    t.Write(w);
    const std::string b = w.Data();
    ASSERT_EQ(b.size(), std::size_t(kTransitionBodySize));
    EXPECT_EQ(I32At(b, 0), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(I32At(b, 4 + 8 * std::size_t(i)), 10 * i + 1);
        EXPECT_EQ(I32At(b, 8 + 8 * std::size_t(i)), -(10 * i + 2));
    }
    EXPECT_EQ(I32At(b, 36), 9);
    EXPECT_EQ(I32At(b, 40), 11);
    EXPECT_EQ(uint8_t(b[44]), 1);
    EXPECT_TRUE(ZeroRange(b, 45, 88));
}

TEST(FsmRecords, ConditionBodyIs152BytesWithTextAt20AndOwnerAt104) {
    ConditionRecord c;
    c.Id = 12;
    c.X = 100;
    c.Y = 101;
    c.AnchorX = 50;
    c.AnchorY = 60;
    c.Text = "1X0";
    c.Owner = 3;
    c.OwnerIsTransition = 1;
    ByteWriter w;
    c.Write(w);
    const std::string b = w.Data();
    ASSERT_EQ(b.size(), std::size_t(kConditionBodySize));
    EXPECT_EQ(I32At(b, 0), 12);
    EXPECT_EQ(I32At(b, 4), 100);
    EXPECT_EQ(I32At(b, 8), 101);
    EXPECT_EQ(I32At(b, 12), 50);
    EXPECT_EQ(I32At(b, 16), 60);
    EXPECT_EQ(uint8_t(b[20]), 3);
    EXPECT_EQ(b.substr(21, 3), "1X0");
    EXPECT_TRUE(ZeroRange(b, 24, 104));
    EXPECT_EQ(I32At(b, 104), 3);
    EXPECT_EQ(uint8_t(b[108]), 1);
    EXPECT_TRUE(ZeroRange(b, 109, 152));
}

TEST(FsmRecords, HostileBodiesAreClampedOrRefused) {
    // A stored length above the field's capacity reads as the capacity.
    ConditionRecord c;
    ByteWriter w;
    c.Write(w);
    std::string b = w.Data();
    b[20] = char(200);
    for (int i = 0; i < 80; ++i) b[21 + std::size_t(i)] = '1';
    ByteReader r(b);
    EXPECT_EQ(ConditionRecord::Read(r).Text.Length(), 80);

    // Coordinates far out are kept within reach of arithmetic.
    TransitionRecord t;
    t.X[0] = INT32_MIN;
    t.Y[3] = INT32_MAX;
    ByteWriter w2;
    t.Write(w2);
    ByteReader r2(w2.Data());
    const TransitionRecord back = TransitionRecord::Read(r2);
    EXPECT_EQ(back.X[0], -kCoordLimit);
    EXPECT_EQ(back.Y[3], kCoordLimit);

    // A body cut short is never half read.
    for (int size : {kStateBodySize, kTransitionBodySize, kConditionBodySize}) {
        std::string cut(std::size_t(size - 1), '\0');
        ByteReader rc(cut);
        if (size == kStateBodySize) {
            EXPECT_THROW(StateRecord::Read(rc), EReadError);
        } else if (size == kTransitionBodySize) {
            EXPECT_THROW(TransitionRecord::Read(rc), EReadError);
        } else {
            EXPECT_THROW(ConditionRecord::Read(rc), EReadError);
        }
        EXPECT_EQ(rc.Position(), 0u);
    }
    EXPECT_EQ(BodySize(kTagTransition), 88);
    EXPECT_EQ(BodySize(kTagState), 136);
    EXPECT_EQ(BodySize(kTagCondition), 152);
    EXPECT_EQ(BodySize(kTagReset), 88);
    EXPECT_EQ(BodySize(4), 0);
    EXPECT_EQ(BodySize(255), 0);
}

} // namespace
