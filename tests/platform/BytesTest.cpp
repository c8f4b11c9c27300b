#include <gtest/gtest.h>

#include "platform/Bytes.h"

namespace {

TEST(Bytes, LittleEndianRecordsRoundTrip) {
    ByteWriter w;
    w.U8(0xAB);
    w.U16(0x1234);
    w.I32(-2);
    w.U32(0x71190625);
    w.SmallString("Тест"_a, 6);
    w.FixedText("Tarvelion", 10);
    w.F64(1.25);
    EXPECT_EQ(w.Size(), 1u + 2 + 4 + 4 + 7 + 10 + 8);
    EXPECT_EQ(w.Data().substr(7, 4), std::string("\x25\x06\x19\x71", 4));
    EXPECT_EQ(w.Data().substr(11, 7), std::string("\x04\xD2\xE5\xF1\xF2\0\0", 7));
    ByteReader r(w.Data());
    EXPECT_EQ(r.U8(), 0xAB);
    EXPECT_EQ(r.U16(), 0x1234);
    EXPECT_EQ(r.I32(), -2);
    EXPECT_EQ(r.U32(), 0x71190625u);
    EXPECT_EQ(r.SmallString(6), "Тест"_a);
    EXPECT_EQ(r.FixedText(10), AnsiString("Tarvelion"));
    EXPECT_DOUBLE_EQ(r.F64(), 1.25);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_THROW(r.U8(), EReadError);
}

TEST(Bytes, LongTextsAreCutAndHostileLengthsClamped) {
    ByteWriter w;
    w.SmallString(AnsiString::StringOfChar('x', 25), 20);
    w.FixedText("abcdef", 4);
    ASSERT_EQ(w.Size(), 21u + 4u);
    EXPECT_EQ(uint8_t(w.Data()[0]), 20);
    EXPECT_EQ(w.Data().substr(21, 4), std::string("abc\0", 4));
    std::string hostile("\xFF" "abc", 4);
    ByteReader r(hostile);
    EXPECT_EQ(r.SmallString(3), AnsiString("abc"));
    ByteReader shortData(std::string_view("\x05" "ab", 3));
    EXPECT_THROW(shortData.SmallString(20), EReadError);
    ByteReader seek(std::string_view("abc"));
    EXPECT_THROW(seek.Seek(4), EReadError);
    EXPECT_THROW(seek.Bytes(4), EReadError);
    ByteWriter p;
    EXPECT_THROW(p.PatchU32(0, 1), EWriteError);
}

} // namespace
