#include "TranslateTestSupport.h"

#include <cstdio>

#include "common/Spawn.h"
#include "debugger/Vac.h"
#include "platform/StringList.h"

namespace trtest {

Work Work::Standard() {
    Work w;
    w.Types = {"DIN 1", "DOUT 2"};
    w.Drivers = {"DI in DIN 00000100 16 0", "DO out DOUT 00000200 16 0"};
    for (int k = 0; k < 16; ++k) w.Signals.push_back(DriverPin("I" + IntToStr(k), "DI", k));
    for (int k = 0; k < 16; ++k) w.Signals.push_back(DriverPin("Q" + IntToStr(k), "DO", k));
    for (int k = 1; k <= 8; ++k) w.Signals.push_back(Connector("N" + IntToStr(k)));
    return w;
}

void Work::Block(const std::vector<AnsiString>& lines) {
    Elements.insert(Elements.end(), lines.begin(), lines.end());
    Elements.push_back(AnsiString());
}

void WriteLines(const AnsiString& path, const std::vector<AnsiString>& lines) {
    std::string bytes;
    for (const AnsiString& l : lines) bytes += l.str() + "\r\n";
    testenv::WriteBytes(ToFsPath(path), bytes);
}

void TranslateTest::WriteWork() const {
    WriteLines(Path("1.$$$"), work.Types);
    WriteLines(Path("2.$$$"), work.Drivers);
    WriteLines(Path("3.$$$"), work.Signals);
    WriteLines(Path("4.$$$"), work.Elements);
    WriteLines(Path("5.$$$"), work.Comments);
}

int TranslateTest::Generate(int32_t copyFlag, uint16_t iterations, const AnsiString& data) {
    WriteWork();
    const AnsiString out = data.IsEmpty() ? DataPath() : data;
    return _GenerateDatFile(Path("1.$$$").c_str(), Path("2.$$$").c_str(), Path("3.$$$").c_str(),
                            Path("5.$$$").c_str(), Path("4.$$$").c_str(), out.c_str(), LogPath().c_str(), iterations,
                            copyFlag);
}

std::vector<AnsiString> TranslateTest::Log() const {
    std::string bytes;
    if (!ReadWholeFile(LogPath(), bytes)) return {};
    TStringList list;
    list.SetText(AnsiString(bytes));
    std::vector<AnsiString> lines;
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list[i]);
    return lines;
}

DebugDataFile TranslateTest::Parsed() const {
    DebugDataFile f;
    EXPECT_EQ(ReadDebugDataFile(DataBytes(), f), kLoadOk);
    return f;
}

std::vector<Record> TranslateTest::Records() const {
    const DebugDataFile f = Parsed();
    return SplitRecords(f.Code, f.Header.RecordCount);
}

std::vector<Record> SplitRecords(const std::vector<uint8_t>& code, int count) {
    std::vector<Record> records;
    std::size_t pos = 0;
    auto w = [&](std::size_t at) { return uint16_t(code.at(at) | code.at(at + 1) << 8); };
    for (int i = 0; i < count; ++i) {
        const int type = w(pos) & 0xFF, w1 = w(pos + 2), w2 = w(pos + 4);
        std::size_t size = 0;
        if (type == 21) {
            const std::size_t ib = std::size_t(w1 + 7) / 8, ob = std::size_t(w2 + 7) / 8;
            std::size_t q = pos + 6 + 2 * std::size_t(w1);
            const int states = w(q);
            q += 4 + 2 * (2 * ib + 1);
            for (int s = 0; s < states; ++s) q += 2 + ob + std::size_t(w(q)) * (2 * ib + 1);
            size = q + 2 * std::size_t(w2) - pos;
        } else {
            size = 2 * std::size_t(3 + (type == 3 ? 4 : w1) + w2);
        }
        Record r;
        r.Bytes.assign(code.begin() + std::ptrdiff_t(pos), code.begin() + std::ptrdiff_t(pos + size));
        for (std::size_t k = 0; k + 1 < size && type != 21; k += 2) r.Words.push_back(w(pos + k));
        records.push_back(r);
        pos += size;
    }
    EXPECT_EQ(pos, code.size());
    return records;
}

std::string Hex(const std::vector<uint16_t>& words) {
    std::string s;
    char buf[8];
    for (uint16_t v : words) {
        std::snprintf(buf, sizeof buf, "%04X ", v);
        s += buf;
    }
    return s;
}

// ---- the two-scheme project ---------------------------------------------------------------

Work TwoSchemeWork() {
    Work w;
    w.Types = {"DIN 1", "DOUT 2"};
    w.Drivers = {"DI in DIN 00000100 8 0", "DO out DOUT 00000200 8 0"};
    // s1's driver pins and connector, then s2's (lines already there are not repeated)
    w.Signals = {DriverPin("A", "DI", 0), DriverPin("B", "DI", 1), DriverPin("Y", "DO", 0), Connector("X"),
                 DriverPin("Z", "DO", 1)};
    w.Elements = {"AND1 and", Out("Y"), In("A"), In("B"), "",
                  // a timer of 1,000 ms at 50 ms per tick; its unconnected stop input
                  "TIMER1 timer 20", In("A"), In("_null_in_", true), Out("X"), "", "",
                  "OR1 or", Out("Z"), In("X"), In("B"), ""};
    // the driver bits in the signal table's order, then the connectors
    w.Comments = {"0;A;DI;Кнопка A"_a, "1;B;DI;Кнопка B"_a, "0;Y;DO;Лампа Y"_a, "1;Z;DO;Лампа Z"_a,
                  "0;X;_VAR_Driver_;Связь s1 - s2"_a};
    return w;
}

const SignalsStr* FindSignal(const TVAC& vac, const char* name) {
    const int line = vac.SignalIndex().IndexOfName(name);
    if (line < 0) return nullptr;
    const AnsiString entry = vac.SignalIndex()[line];
    return &vac.Signals().at(std::size_t(entry.SubString(entry.Pos("=") + 1, 9).ToInt()));
}

int SignalBit(const TVAC& vac, const char* name) {
    const SignalsStr* s = FindSignal(vac, name);
    EXPECT_NE(s, nullptr) << name;
    return s ? (vac.GetBit(s->ByteAddress, s->Bit) ? 1 : 0) : -1;
}

void SetSignal(TVAC& vac, const char* name, int value) {
    const SignalsStr* s = FindSignal(vac, name);
    ASSERT_NE(s, nullptr) << name;
    vac.SetBit(s->ByteAddress, s->Bit, value);
}

void CheckTwoSchemeRun(TVAC& vac) {
    ASSERT_TRUE(vac.Loaded());
    EXPECT_EQ(vac.Header().TimerCount, 1);
    SetSignal(vac, "A", 1);
    SetSignal(vac, "B", 1);
    vac.Run();
    EXPECT_EQ(SignalBit(vac, "Y"), 1);
    EXPECT_EQ(SignalBit(vac, "X"), 1); // the timer started on A's edge
    EXPECT_EQ(SignalBit(vac, "Z"), 1);
    SetSignal(vac, "B", 0); // Z now follows the timer alone, Y goes off
    vac.Run();
    EXPECT_EQ(SignalBit(vac, "Y"), 0);
    for (int tick = 1; tick <= 19; ++tick) {
        vac.Tick();
        vac.Run();
        ASSERT_EQ(SignalBit(vac, "X"), 1) << tick;
        ASSERT_EQ(SignalBit(vac, "Z"), 1) << tick;
    }
    vac.Tick();
    vac.Run();
    EXPECT_EQ(SignalBit(vac, "X"), 0); // 20 ticks of 50 ms
    EXPECT_EQ(SignalBit(vac, "Z"), 0);
    EXPECT_EQ(SignalBit(vac, "_null_in_"), 0);
}

void CheckTwoSchemeVacrun(const testenv::TempDir& dir, const AnsiString& dataFile) {
    const testenv::ProcessResult r =
        testenv::RunProgram(VACRUN_PATH, {ToFsPath(dataFile).string()},
                            "set a 1\nset B 1\nscan\nget Y X Z\n"
                            "set B 0\nscan\nrun 19\nget Y X Z\nrun 1\nget X Z\ndump\n",
                            dir);
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "Y=1\nX=1\nZ=1\n"
              "Y=0\nX=1\nZ=1\n"
              "X=0\nZ=0\n"
              "_null_in_=0\n_null_out_=0\nA=1\nB=0\nY=0\nX=0\nZ=0\n");
}

} // namespace trtest
