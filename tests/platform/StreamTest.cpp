#include <cstring>
#include <filesystem>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "ExpectMessage.h"
#include "common/TestEnv.h"
#include "platform/FileStream.h"
#include "platform/MemoryStream.h"

namespace {

TEST(FileStream, ReadBufferThrowsOnAShortFile) {
    testenv::TempDir t;
    testenv::WriteBytes(t.Path() / "short.bin", std::string("\x01\x02\x03\x04\x05", 5));
    TFileStream f(t.File("short.bin"), fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(f.Size(), 5);
    unsigned char rec[4];
    f.ReadBuffer(rec, 4);
    EXPECT_EQ(rec[3], 4);
    EXPECT_EQ(f.Position(), 4);
    ExpectMessage<EReadError>([&] { f.ReadBuffer(rec, 4); }, "Stream read error");
    EXPECT_EQ(f.Seek(0, soFromBeginning), 0);
    EXPECT_EQ(f.Read(rec, 4), 4);
    EXPECT_EQ(f.Read(rec, 4), 1);
    EXPECT_EQ(f.Read(rec, 4), 0);
    EXPECT_THROW(f.WriteBuffer(rec, 1), EWriteError);  // opened for reading
}

TEST(FileStream, OpenModesAndSeek) {
    testenv::TempDir t;
    AnsiString name = t.File("файл.bin"_a);
    {
        TFileStream f(name, fmCreate);
        f.WriteBuffer("0123456789", 10);
        EXPECT_EQ(f.Seek(-3, soFromEnd), 7);
        f.WriteBuffer("AB", 2);
        EXPECT_EQ(f.Seek(-1, soFromCurrent), 8);
        EXPECT_EQ(f.Seek(-100, soFromCurrent), -1);
        EXPECT_EQ(f.Position(), 8);
        f.SetSize(9);
        EXPECT_EQ(f.Size(), 9);
    }
    EXPECT_EQ(testenv::ReadBytes(t.Path() / "файл.bin"), "0123456AB");
    {
        TFileStream f(name, fmOpenReadWrite | fmShareExclusive);
        f.SetPosition(2);
        f.WriteBuffer("xy", 2);
        char c;
        f.ReadBuffer(&c, 1);
        EXPECT_EQ(c, '4');
    }
    {
        TFileStream f(name, fmOpenWrite);
        f.WriteBuffer("Z", 1);
    }
    EXPECT_EQ(testenv::ReadBytes(t.Path() / "файл.bin"), "Z1xy456AB");
    { TFileStream f(name, fmCreate | fmShareDenyNone); }
    EXPECT_EQ(testenv::ReadBytes(t.Path() / "файл.bin"), "");
}

TEST(FileStream, FailuresNameTheFileAndTheReason) {
    testenv::TempDir t;
    std::filesystem::create_directory(t.Path() / "folder");
    struct Case {
        AnsiString name;
        unsigned mode;
        bool create;
        const char* reason;
    } cases[] = {
        {t.File("missing.bin"), fmOpenRead, false, "The system cannot find the file specified"},
        {t.File("folder"), fmOpenRead, false, "Access is denied"},
        {t.File("folder"), fmCreate, true, "Access is denied"},
        {t.File("no/such/x.bin"), fmCreate, true, "The system cannot find the file specified"},
    };
    for (const Case& c : cases) {
        auto open = [&] { TFileStream f(c.name, c.mode); };
        AnsiString tail = "\"" + c.name + "\". " + c.reason;
        if (c.create) ExpectMessage<EFCreateError>(open, "Cannot create file " + tail);
        else ExpectMessage<EFOpenError>(open, "Cannot open file " + tail);
    }
}

TEST(MemoryStream, GrowsSeeksAndCopies) {
    TMemoryStream m;
    m.WriteBuffer("abc", 3);
    m.SetPosition(5);
    m.WriteBuffer("Z", 1);
    EXPECT_EQ(m.Bytes(), std::string("abc\0\0Z", 6));
    EXPECT_EQ(m.Seek(-2, soFromEnd), 4);
    char buf[8] = {};
    EXPECT_EQ(m.Read(buf, 8), 2);
    EXPECT_EQ(m.Seek(-1, soFromBeginning), -1);
    EXPECT_EQ(m.Position(), 6);
    m.SetSize(2);
    EXPECT_EQ(m.Position(), 2);
    EXPECT_EQ(std::memcmp(m.Memory(), "ab", 2), 0);

    TMemoryStream src;
    src.WriteBuffer("0123456789", 10);
    src.SetPosition(4);
    TMemoryStream dst;
    EXPECT_EQ(dst.CopyFrom(&src, 3), 3);
    EXPECT_EQ(dst.Bytes(), "456");
    EXPECT_EQ(dst.CopyFrom(&src, 0), 10);  // the whole source from its start
    EXPECT_EQ(dst.Bytes(), "4560123456789");
    src.SetPosition(8);
    EXPECT_THROW(dst.CopyFrom(&src, 5), EReadError);
    dst.Clear();
    EXPECT_EQ(dst.Size(), 0);
    EXPECT_EQ(dst.Position(), 0);
}

TEST(MemoryStream, SaveToFileIsAtomic) {
    testenv::TempDir t;
    AnsiString name = t.File("doc.fsm");
    testenv::WriteBytes(t.Path() / "doc.fsm", "old contents");
    TMemoryStream m;
    std::string all;
    for (int b = 0; b < 256; ++b) all += char(b);
    m.WriteBuffer(all.data(), int(all.size()));

    auto blocker = t.Path() / ("doc.fsm.tmp~" + std::to_string(::getpid()));
    std::filesystem::create_directory(blocker);
    ExpectMessage<EFCreateError>([&] { m.SaveToFile(name); }, "Cannot create file \"" + name + "\"");
    EXPECT_EQ(testenv::ReadBytes(t.Path() / "doc.fsm"), "old contents");
    std::filesystem::remove(blocker);

    m.SaveToFile(name);
    EXPECT_EQ(testenv::ReadBytes(t.Path() / "doc.fsm"), all);
    TMemoryStream back;
    back.LoadFromFile(name);
    EXPECT_EQ(back.Bytes(), all);
    EXPECT_EQ(back.Position(), 0);
    EXPECT_THROW(back.LoadFromFile(t.File("missing")), EFOpenError);

    // Records written through a file stream land in the same bytes.
    TFileStream f(t.File("copy.fsm"), fmCreate);
    back.SaveToStream(&f);
    EXPECT_EQ(f.Size(), 256);
}

} // namespace
