// The whole way from the work files of a project to a running program: input
// driver DI with A and B, output driver DO with Y and Z; scheme s1: AND(A, B)
// -> Y and a 1,000 ms timer started by A -> connector X; scheme s2: OR(X, B)
// -> Z. The work files are written as the translator writes them; the
// library is loaded by name and called as the translator calls it; the
// debugging copy runs on the emulator and through vacrun.
#include "TranslateTestSupport.h"
#include "common/Spawn.h"
#include "debugger/Vac.h"
#include "platform/DynamicLibrary.h"

namespace {

using namespace trtest;

class EndToEndTest : public TranslateTest {
protected:
    void SetUp() override {
        work.Types = {"DIN 1", "DOUT 2"};
        work.Drivers = {"DI in DIN 00000100 8 0", "DO out DOUT 00000200 8 0"};
        // s1's driver pins and connector, then s2's (lines already there are not repeated)
        work.Signals = {DriverPin("A", "DI", 0), DriverPin("B", "DI", 1), DriverPin("Y", "DO", 0), Connector("X"),
                        DriverPin("Z", "DO", 1)};
        work.Elements = {"AND1 and", Out("Y"), In("A"), In("B"), "",
                         // a timer of 1,000 ms at 50 ms per tick; its unconnected stop input
                         "TIMER1 timer 20", In("A"), In("_null_in_", true), Out("X"), "", "",
                         "OR1 or", Out("Z"), In("X"), In("B"), ""};
        work.Comments = {"0;A;DI;Кнопка A"_a, "1;B;DI;Кнопка B"_a, "0;Y;DO;Лампа Y"_a, "1;Z;DO;Лампа Z"_a,
                         "0;X;_VAR_Driver_;Связь s1 - s2"_a};
    }

    // The translator's paths: its directory ends in "\", and the data files are
    // the project directory + "\" + the name ("\Debu" + the name for the copy).
    AnsiString Directory() const { return FromFsPath(dir.Path()) + "\\"; }
    AnsiString Controller() const { return Directory() + "\\tvca.dat"; }
    AnsiString Debugging() const { return Directory() + "\\Debutvca.dat"; }
};

// The bit of a named signal of the loaded program.
int Get(const TVAC& vac, const char* name) {
    const int line = vac.SignalIndex().IndexOfName(name);
    EXPECT_GE(line, 0) << name;
    if (line < 0) return -1;
    const AnsiString entry = vac.SignalIndex()[line];
    const SignalsStr& s = vac.Signals().at(std::size_t(entry.SubString(entry.Pos("=") + 1, 9).ToInt()));
    return vac.GetBit(s.ByteAddress, s.Bit) ? 1 : 0;
}
void Set(TVAC& vac, const char* name, int v) {
    const AnsiString entry = vac.SignalIndex()[vac.SignalIndex().IndexOfName(name)];
    const SignalsStr& s = vac.Signals().at(std::size_t(entry.SubString(entry.Pos("=") + 1, 9).ToInt()));
    vac.SetBit(s.ByteAddress, s.Bit, v);
}

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
    EXPECT_EQ(vac.Header().TimerCount, 1);
    Set(vac, "A", 1);
    Set(vac, "B", 1);
    vac.Run();
    EXPECT_EQ(Get(vac, "Y"), 1);
    EXPECT_EQ(Get(vac, "X"), 1); // the timer started on A's edge
    EXPECT_EQ(Get(vac, "Z"), 1);
    Set(vac, "B", 0); // Z now follows the timer alone, Y goes off
    vac.Run();
    EXPECT_EQ(Get(vac, "Y"), 0);
    for (int tick = 1; tick <= 19; ++tick) {
        vac.Tick();
        vac.Run();
        ASSERT_EQ(Get(vac, "X"), 1) << tick;
        ASSERT_EQ(Get(vac, "Z"), 1) << tick;
    }
    vac.Tick();
    vac.Run();
    EXPECT_EQ(Get(vac, "X"), 0); // 20 ticks of 50 ms
    EXPECT_EQ(Get(vac, "Z"), 0);
    EXPECT_EQ(Get(vac, "_null_in_"), 0);
}

testenv::ProcessResult RunVacrun(const testenv::TempDir& dir, const AnsiString& dataFile, const std::string& commands) {
    return testenv::RunProgram(VACRUN_PATH, {ToFsPath(dataFile).string()}, commands, dir);
}

TEST_F(EndToEndTest, ProjectRunsThroughVacrun) {
    ASSERT_EQ(Generate(0, 1, Debugging()), kTranslateOk);
    const testenv::ProcessResult r = RunVacrun(dir, Debugging(),
                                "set a 1\nset B 1\nscan\nget Y X Z\n"
                                "set B 0\nscan\nrun 19\nget Y X Z\nrun 1\nget X Z\ndump\n");
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "Y=1\nX=1\nZ=1\n"
              "Y=0\nX=1\nZ=1\n"
              "X=0\nZ=0\n"
              "_null_in_=0\n_null_out_=0\nA=1\nB=0\nY=0\nX=0\nZ=0\n");
}

} // namespace
