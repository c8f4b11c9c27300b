// The whole way from the work files of a project to a running program: the
// two-scheme project of TwoSchemeWork, its work files written as the
// translator writes them; the library is loaded by name and called as the
// translator calls it; the debugging copy runs on the emulator and through
// vacrun. (ProjectEndToEndTest.cpp goes the same way from documents built in
// code through the translator's project run.)
#include "TranslateTestSupport.h"
#include "debugger/Vac.h"
#include "platform/DynamicLibrary.h"

namespace {

using namespace trtest;

class EndToEndTest : public TranslateTest {
protected:
    void SetUp() override { work = TwoSchemeWork(); }

    // The translator's paths: its directory ends in "\", and the data files are
    // the project directory + "\" + the name ("\Debu" + the name for the copy).
    AnsiString Directory() const { return FromFsPath(dir.Path()) + "\\"; }
    AnsiString Controller() const { return Directory() + "\\tvca.dat"; }
    AnsiString Debugging() const { return Directory() + "\\Debutvca.dat"; }
};

TEST_F(EndToEndTest, ProjectRunsOnTheEmulator) {
    WriteWork();
    const AnsiString log = Directory() + "err.log";
    const std::string saved = ("Схема s1.tvs\r\nОк\r\nСхема s2.tvs\r\nОк\r\n"_a).str();
    testenv::WriteBytes(ToFsPath(log), saved);

    HMODULE library = LoadLibraryA("translate.dll");
    ASSERT_NE(library, nullptr) << AnsiToUtf8(LastLibraryError());
    auto generate = reinterpret_cast<TGenerateDatFileProc>(GetProcAddress(library, "_GenerateDatFile"));
    auto convert = reinterpret_cast<TConvertDatFileProc>(GetProcAddress(library, "_ConvertDatFile"));
    ASSERT_NE(generate, nullptr);
    ASSERT_NE(convert, nullptr);
    const AnsiString d = Directory();
    const AnsiString files[5] = {d + "1.$$$", d + "2.$$$", d + "3.$$$", d + "5.$$$", d + "4.$$$"};
    EXPECT_EQ(generate(files[0].c_str(), files[1].c_str(), files[2].c_str(), files[3].c_str(), files[4].c_str(),
                       Controller().c_str(), log.c_str(), 1, 1),
              kTranslateOk);
    EXPECT_EQ(generate(files[0].c_str(), files[1].c_str(), files[2].c_str(), files[3].c_str(), files[4].c_str(),
                       Debugging().c_str(), log.c_str(), 1, 0),
              kTranslateOk);
    EXPECT_EQ(convert(Controller().c_str()), kConvertOk);
    EXPECT_TRUE(FreeLibrary(library));
    EXPECT_TRUE(std::filesystem::exists(ToFsPath(Controller())));
    EXPECT_EQ(testenv::ReadBytes(ToFsPath(log)), saved); // a clean run adds no line

    TVAC vac;
    vac.FileName = Debugging();
    ASSERT_EQ(vac.Load(), kLoadOk);
    CheckTwoSchemeRun(vac);
}

TEST_F(EndToEndTest, ProjectRunsThroughVacrun) {
    ASSERT_EQ(Generate(0, 1, Debugging()), kTranslateOk);
    CheckTwoSchemeVacrun(dir, Debugging());
}

} // namespace
