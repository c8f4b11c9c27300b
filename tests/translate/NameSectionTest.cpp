// The debugging copy's name section (Windows-1251 names and comments, byte
// for byte), the controller copy beside it, and the check of a written file.
#include "TranslateTestSupport.h"
#include "debugger/Vac.h"
#include "platform/Bytes.h"

namespace {

using namespace trtest;

class NameSectionTest : public TranslateTest {
protected:
    void SetUp() override {
        work.Types = {"ВХОД 1"_a, "ВЫХОД 2"_a};
        work.Drivers = {"ДВ in ВХОД 00000000 8 0"_a, "ДВЫХ out ВЫХОД 00000008 8 0"_a};
        work.Signals = {DriverPin("Пуск"_a, "ДВ"_a, 0),
                        DriverPin("Стоп"_a, "ДВ"_a, 1),
                        DriverPin("Мотор"_a, "ДВЫХ"_a, 0),
                        Connector("Связь"_a),
                        "_var1",
                        "_varG1",
                        "Цепь_Ж"_a};
        work.Comments = {"0;Пуск;ДВ;Кнопка «Пуск»"_a, "1;Стоп;ДВ;"_a, "0;Мотор;ДВЫХ;Мотор насоса; левый"_a,
                         "0;пуск;ДВ;второй"_a, "0;Связь;_VAR_Driver_;Связь со схемой s2"_a,
                         "0;Цепь_Ж;_VAR_Driver_;"_a};
        work.Block({"G and", Out("_var1"), In("Пуск"_a), In("Стоп"_a, true)});
        work.Block({"G1 trigger", In("_var1"), In("Связь"_a), Out("_varG1")});
        work.Block({"_varG1 and", Out("Мотор"_a), Out("Цепь_Ж"_a), In("_varG1")});
    }
};

void Name(ByteWriter& w, uint16_t op, const AnsiString& name, const AnsiString& comment) {
    w.U16(op);
    w.Bytes(name.view());
    w.U8(0);
    w.Bytes(comment.view());
    w.U8(0);
    w.U16(0);
}

TEST_F(NameSectionTest, NamesAndCommentsAreByteExact) {
    ASSERT_EQ(Generate(0), kTranslateOk) << AnsiToUtf8(Log().empty() ? AnsiString() : Log()[0]);
    const DebugDataFile f = Parsed();
    ByteWriter w;
    Name(w, Op(3072, 0), "_null_in_", "");
    Name(w, Op(3072, 1), "_null_out_", "");
    Name(w, Op(0, 0), "Пуск"_a, "Кнопка «Пуск»"_a); // the first comment of a name counts
    Name(w, Op(0, 1), "Стоп"_a, "");
    Name(w, Op(1, 0), "Мотор"_a, "Мотор насоса; левый"_a);
    Name(w, Op(3072, 2), "Связь"_a, "Связь со схемой s2"_a);
    // _var1 (3072.3) and _varG1 (3072.4) are the translation's own names
    Name(w, Op(3072, 5), "Цепь_Ж"_a, "");
    std::string expected = w.Take();
    expected.resize(expected.size() - 2); // the last record ends inside its two trailing bytes
    const std::string bytes = DataBytes();
    const std::size_t names = 32 + 2 * 16 + f.Code.size() + 4;
    ASSERT_GE(bytes.size(), names);
    EXPECT_EQ(bytes.substr(names), expected);
    EXPECT_EQ(f.Header.NamesFlag, 1);
}

TEST_F(NameSectionTest, TheEmulatorShowsTheNamesAndComments) {
    ASSERT_EQ(Generate(0), kTranslateOk);
    TVAC vac;
    vac.FileName = DataPath();
    ASSERT_EQ(vac.Load(), kLoadOk);
    ASSERT_EQ(vac.Signals().size(), 7u);
    EXPECT_EQ(vac.Signals()[2].Name, "Пуск"_a);
    EXPECT_EQ(vac.Signals()[2].Comment, "Кнопка «Пуск»"_a);
    EXPECT_EQ(vac.Signals()[2].Side, 0);
    EXPECT_EQ(vac.Signals()[4].Name, "Мотор"_a);
    EXPECT_EQ(vac.Signals()[4].Side, 1);
    EXPECT_EQ(vac.Signals()[4].Offset, 0);
    EXPECT_EQ(vac.Signals()[5].Name, "Связь"_a);
    EXPECT_EQ(vac.Signals()[5].DriverIndex, 0); // no driver: "нет драйвера"
    EXPECT_EQ(vac.Signals()[5].Offset, 0);
    EXPECT_EQ(vac.Signals()[5].Bit, 2);
    EXPECT_EQ(vac.Signals()[6].Name, "Цепь_Ж"_a);
}

TEST_F(NameSectionTest, BothCopiesHaveTheSameCode) {
    const AnsiString controller = Path("tvca.dat");
    ASSERT_EQ(Generate(1, 3, controller), kTranslateOk);
    ASSERT_EQ(Generate(0, 3), kTranslateOk);
    const std::string c = testenv::ReadBytes(ToFsPath(controller)), d = DataBytes();
    DebugDataFile fc, fd;
    ASSERT_EQ(ReadDebugDataFile(c, fc), kLoadOk);
    ASSERT_EQ(ReadDebugDataFile(d, fd), kLoadOk);
    EXPECT_EQ(fc.Code, fd.Code);
    EXPECT_EQ(fc.Header.RecordCount, 3);
    EXPECT_FALSE(fc.HasNames);
    EXPECT_TRUE(fd.HasNames);
    // The controller copy ends with the 32-bit word after the code.
    const std::size_t end = 32 + 2 * 16 + fc.Code.size() + 4;
    ASSERT_EQ(c.size(), end);
    EXPECT_EQ(c.substr(32, end - 32), d.substr(32, end - 32));
    // Headers differ in the copy flag (14) and the names flag (24) only.
    std::string hc = c.substr(0, 32), hd = d.substr(0, 32);
    EXPECT_EQ(hc.substr(10, 4), std::string("\x03\x00\x01\x00", 4)); // iterations, version
    EXPECT_EQ(hc[14], 1);
    EXPECT_EQ(hd[14], 0);
    EXPECT_EQ(hc[24], 0);
    EXPECT_EQ(hd[24], 1);
    hc[14] = hd[14] = hc[24] = hd[24] = 0;
    EXPECT_EQ(hc, hd);
}

TEST_F(NameSectionTest, ConvertChecksAWrittenFile) {
    const AnsiString controller = Path("tvca.dat");
    ASSERT_EQ(Generate(1, 1, controller), kTranslateOk);
    EXPECT_EQ(_ConvertDatFile(controller.c_str()), kConvertOk);
    const std::string good = testenv::ReadBytes(ToFsPath(controller));
    std::string damaged = good;
    damaged[32 + 2 * 16 + 2] = 99; // the first record's word 1: the record runs past the code
    testenv::WriteBytes(ToFsPath(controller), damaged);
    EXPECT_EQ(_ConvertDatFile(controller.c_str()), kConvertDamaged);
    testenv::WriteBytes(ToFsPath(controller), good.substr(0, good.size() - 3)); // the 32-bit word is cut
    EXPECT_EQ(_ConvertDatFile(controller.c_str()), kConvertDamaged);
    EXPECT_EQ(_ConvertDatFile(Path("missing.dat").c_str()), kConvertUnreadable);
}

} // namespace
