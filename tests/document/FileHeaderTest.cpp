#include <gtest/gtest.h>

#include "common/Printers.h"

#include "document/FileHeader.h"

namespace {

TEST(FileHeader, ByteLayoutOfBothRecords) {
    ByteWriter w;
    FileHeader h;
    h.Name = AnsiString("D:\\") + AnsiString::StringOfChar('n', 50);
    h.Version = 7;
    h.Count = 10;
    h.Write(w);
    ASSERT_EQ(w.Size(), 52u);
    EXPECT_EQ(uint8_t(w.Data()[0]), 40);
    EXPECT_EQ(w.Data().substr(1, 3), std::string("D:\\"));
    EXPECT_EQ(w.Data().substr(41, 3), std::string(3, '\0'));
    EXPECT_EQ(w.Data().substr(44, 8), std::string("\x07\0\0\0\x0A\0\0\0", 8));
    FileSignature s;
    s.MinX = 30;
    s.MinY = -1;
    s.Writer = ClipWriter::StateMachine;
    s.Write(w);
    ASSERT_EQ(w.Size(), 52u + 76u);
    const std::string sig = w.Data().substr(52);
    EXPECT_EQ(sig.substr(0, 14), std::string("\x25\x06\x19\x71Tarvelion\0", 14));
    EXPECT_EQ(sig.substr(14, 22), std::string(22, '\0'));
    EXPECT_EQ(sig.substr(36, 12), std::string("\x1E\0\0\0\xFF\xFF\xFF\xFF\x02\0\0\0", 12));
    EXPECT_EQ(sig.substr(48), std::string(28, '\0'));

    ByteReader r(w.Data());
    FileHeader h2 = FileHeader::Read(r);
    EXPECT_EQ(h2.Name, h.Name.SubString(1, 40));
    EXPECT_EQ(h2.Version, 7);
    EXPECT_EQ(h2.Count, 10);
    FileSignature s2 = FileSignature::Read(r);
    EXPECT_TRUE(s2.IsValid());
    EXPECT_EQ(s2.Maker, AnsiString("Tarvelion"));
    EXPECT_EQ(s2.MinY, -1);
    EXPECT_EQ(s2.Writer, ClipWriter::StateMachine);
    EXPECT_TRUE(r.AtEnd());
}

TEST(FileHeader, TruncatedRecordsAndUnknownWriterMarks) {
    ByteWriter w;
    FileHeader().Write(w);
    FileSignature s;
    s.Magic = 0x12345678;
    s.Write(w);
    std::string bytes = w.Data();
    bytes[52 + 44] = 9; // a writer mark this program does not know
    ByteReader r(bytes);
    FileHeader::Read(r);
    FileSignature back = FileSignature::Read(r);
    EXPECT_FALSE(back.IsValid());
    EXPECT_EQ(back.Writer, ClipWriter::Unknown);
    for (std::size_t cut : {0u, 51u, 52u + 40u, 52u + 75u}) {
        ByteReader t(std::string_view(bytes).substr(0, cut));
        EXPECT_THROW({ FileHeader::Read(t); FileSignature::Read(t); }, EReadError) << cut;
    }
}

} // namespace
