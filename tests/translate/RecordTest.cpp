// The record every element keyword becomes: its words, byte for byte, for a
// small block of each kind; null pins, inversion, timers and jumps.
#include <tuple>

#include "TranslateTestSupport.h"
#include "platform/Bytes.h"

namespace {

using namespace trtest;

std::vector<uint16_t> Cat(std::initializer_list<std::vector<uint16_t>> parts) {
    std::vector<uint16_t> v;
    for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
    return v;
}
std::vector<AnsiString> Ins(const char* prefix, int from, int n) {
    std::vector<AnsiString> v;
    for (int k = 0; k < n; ++k) v.push_back(In(AnsiString(prefix) + IntToStr(from + k)));
    return v;
}
std::vector<AnsiString> Outs(int from, int n) {
    std::vector<AnsiString> v;
    for (int k = 0; k < n; ++k) v.push_back(Out("Q" + IntToStr(from + k)));
    return v;
}
std::vector<uint16_t> IOps(int from, int n) {
    std::vector<uint16_t> v;
    for (int k = 0; k < n; ++k) v.push_back(I(from + k));
    return v;
}
std::vector<uint16_t> QOps(int from, int n) {
    std::vector<uint16_t> v;
    for (int k = 0; k < n; ++k) v.push_back(Q(from + k));
    return v;
}
std::vector<AnsiString> Lines(std::initializer_list<std::vector<AnsiString>> parts) {
    std::vector<AnsiString> v;
    for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
    return v;
}

struct KeywordCase {
    const char* name;
    std::vector<AnsiString> block;
    std::vector<uint16_t> words;
};

TEST_F(TranslateTest, EveryKeywordGivesItsRecord) {
    const std::vector<KeywordCase> cases = {
        {"and", {"G and", Out("Q0"), In("I0"), In("I1", true)}, {0, 2, 1, I(0), Inv(I(1)), Q(0)}},
        {"or", {"G or", Out("Q0", true), In("I0"), In("I1"), In("N1")}, {1, 3, 1, I(0), I(1), N(1), Inv(Q(0))}},
        {"xor", {"G xor ", Out("Q0"), In("I0"), In("I1")}, {12, 2, 1, I(0), I(1), Q(0)}},
        {"trigger", {"G trigger", In("I0"), In("I1"), Out("Q0"), Out("Q1", true)},
         {2, 2, 2, I(0), I(1), Q(0), Inv(Q(1))}},
        {"timer", {"G timer 20", In("I0"), In("_null_in_", true), Out("Q0")}, {3, 4, 1, I(0), kNullIn, 20, 0, Q(0)}},
        {"dtrigger", {"G dtrigger", In("I0"), In("I1"), Out("Q0"), Out("Q1")}, {5, 2, 2, I(0), I(1), Q(0), Q(1)}},
        {"cnt", Lines({{"G cnt", In("I0"), In("I1")}, Outs(0, 3)}), Cat({{6, 2, 3, I(0), I(1)}, QOps(0, 3)})},
        {"dcd", Lines({{"G dcd"}, Ins("I", 0, 2), Outs(0, 4)}), Cat({{7, 2, 4}, IOps(0, 2), QOps(0, 4)})},
        {"drstrigger", Lines({{"G drstrigger"}, Ins("I", 0, 4), {Out("Q0")}}), Cat({{8, 4, 1}, IOps(0, 4), {Q(0)}})},
        {"d8trigger", Lines({{"G d8trigger"}, Ins("I", 0, 10), Outs(0, 8)}), Cat({{9, 10, 8}, IOps(0, 10), QOps(0, 8)})},
        {"d8rscnt", Lines({{"G d8rscnt"}, Ins("I", 0, 11), Outs(0, 8)}), Cat({{10, 11, 8}, IOps(0, 11), QOps(0, 8)})},
        {"cbyte", Lines({{"G cbyte"}, Ins("I", 0, 16), Outs(0, 3)}), Cat({{11, 16, 3}, IOps(0, 16), QOps(0, 3)})},
        {"predtimer", {"G predtimer 7", In("I0"), In("I1"), Out("Q0"), In("I2"), In("I3")},
         {13, 6, 1, I(0), I(1), I(2), I(3), 7, 0, Q(0)}},
        {"cdec", Lines({{"G cdec", "%%3 5", "%%7 9", "%%* 1"}, Ins("I", 0, 8), Outs(0, 2)}),
         Cat({{14, 13, 2}, IOps(0, 8), {3, 5, 7, 9, 1}, QOps(0, 2)})},
        {"rcnt", Lines({{"G rcnt"}, Ins("I", 0, 3), Outs(0, 2)}), Cat({{15, 3, 2}, IOps(0, 3), QOps(0, 2)})},
        {"cdec16", Lines({{"G cdec16", "%%40000 65535", "%%* 0"}, Ins("I", 0, 16), Outs(0, 16)}),
         Cat({{17, 19, 16}, IOps(0, 16), {40000, 65535, 0}, QOps(0, 16)})},
        {"cMask", Lines({{"G cMask", "%%5 15 9", "%%6 255 10", "%%3 4", "%%* 2"}, Ins("I", 0, 16), Outs(0, 4)}),
         Cat({{18, 27, 4}, IOps(0, 16), {1, 2, 5, 15, 9, 6, 255, 10, 3, 4, 2}, QOps(0, 4)})},
        {"cDiap", Lines({{"G cDiap", "%%10 5", "%%20 30"}, Ins("I", 0, 16), Outs(0, 3)}),
         Cat({{19, 20, 3}, IOps(0, 16), {10, 5, 20, 30}, QOps(0, 3)})},
        {"commut", Lines({{"G commut"}, Ins("I", 0, 5), Outs(0, 2)}), Cat({{20, 5, 2}, IOps(0, 5), QOps(0, 2)})},
        {"filter", Lines({{"G filter"}, Ins("I", 0, 4), Outs(0, 3)}), Cat({{22, 5, 3}, IOps(0, 4), {0}, QOps(0, 3)})},
        {"null pins", {"G and", Out("_null_out_", true), In("_null_in_", true), In("_null_in_")},
         {0, 2, 1, kNullIn, Inv(kNullIn), kNullOut}},
        {"names ignore case", {"G and", Out("q0"), In("i0"), In("n1")}, {0, 2, 1, I(0), N(1), Q(0)}},
    };
    for (const KeywordCase& c : cases) {
        SCOPED_TRACE(c.name);
        work = Work::Standard();
        work.Block(c.block);
        ASSERT_EQ(Generate(), kTranslateOk);
        EXPECT_TRUE(Log().empty());
        const std::vector<Record> r = Records();
        ASSERT_EQ(r.size(), 1u);
        EXPECT_EQ(r[0].Words, c.words) << Hex(r[0].Words) << "\n" << Hex(c.words);
    }
}

TEST_F(TranslateTest, TimersGetIndexesInBlockOrder) {
    work.Block({"T1 timer 1048575", In("I0"), In("I1"), Out("Q0")});
    work.Block({"P1 predtimer 3", In("I0"), In("I1"), Out("Q1"), In("I2")});
    work.Block({"T2 timer 0", In("I0"), In("I1"), Out("Q2")});
    ASSERT_EQ(Generate(), kTranslateOk);
    const std::vector<Record> r = Records();
    ASSERT_EQ(r.size(), 3u);
    // bits 0-19 the preset, 20-30 the counter index, 31 running (clear)
    EXPECT_EQ(r[0].Words, (std::vector<uint16_t>{3, 4, 1, I(0), I(1), 0xFFFF, 0x000F, Q(0)}));
    EXPECT_EQ(r[1].Words, (std::vector<uint16_t>{13, 5, 1, I(0), I(1), I(2), 3, 0x0010, Q(1)}));
    EXPECT_EQ(r[2].Words, (std::vector<uint16_t>{3, 4, 1, I(0), I(1), 0, 0x0020, Q(2)}));
    EXPECT_EQ(Parsed().Header.TimerCount, 3);
}

TEST_F(TranslateTest, JumpSkipsTheBlocksUpToItsTarget) {
    work.Block({"J ifgoto s2.tvs E", In("I0", true)});
    work.Block({"A and", Out("Q0"), In("I1")});                              // 10 bytes
    work.Block(Lines({{"B cdec", "%%1 1"}, Ins("I", 0, 8), {Out("Q1")}})); // 30 bytes
    work.Block({"e or", Out("Q2"), In("I1")});  // names match ignoring case: J's target
    work.Block({"J2 ifgoto s2.tvs E", In("I2")}); // the first E after J2 follows it at once
    work.Block({"E and", Out("Q3"), In("I1")});
    ASSERT_EQ(Generate(), kTranslateOk);
    const std::vector<Record> r = Records();
    ASSERT_EQ(r.size(), 6u);
    // condition, u32 D, u16 N; no outputs
    EXPECT_EQ(r[0].Words, (std::vector<uint16_t>{16, 4, 0, Inv(I(0)), 40, 0, 2}));
    EXPECT_EQ(r[4].Words, (std::vector<uint16_t>{16, 4, 0, I(2), 0, 0, 0}));
}

TEST_F(TranslateTest, HeaderAndDriverRecordsAsWritten) {
    // type names may hold blanks (any number of them) and match ignoring case
    work.Types = {"Дискретный  вход\t7"_a, "DOUT -3"};
    work.Drivers = {"DO out dout 00000200 9 1", "DI in Дискретный вход 00000100 16 0"_a, "DX out DOUT 0000ABCD 0 2",
                    "DY in Дискретный вход 00000100 1 0"_a};
    work.Signals = {DriverPin("Y", "DO", 8), DriverPin("A", "DI", 15), DriverPin("B", "DY", 0)};
    work.Block({"G and", Out("Y"), In("A"), In("B")});
    ASSERT_EQ(Generate(0, 5), kTranslateOk);
    const std::string bytes = DataBytes();
    ByteWriter h;
    h.U16(2); // inputs DI, DY
    h.U16(2); // outputs DO, DX
    h.U16(12);
    h.U16(1);
    h.U16(0);
    h.U16(5); // iterations
    h.U16(1); // version
    h.U16(0); // debugging copy
    h.Zeros(8);
    h.U16(1); // names follow
    h.Zeros(6);
    // driver areas in drivers-file order: DO 0-1, DI 2-3, DX none at 4, DY 4
    for (auto [type, first, count] : {std::tuple{7, 2, 2}, {7, 4, 1}, {-3, 0, 2}, {-3, 4, 0}}) {
        h.I16(int16_t(type));
        h.Zeros(4);
        h.U16(uint16_t(first));
        h.U16(uint16_t(count));
        h.Zeros(6);
    }
    for (uint16_t w : {uint16_t(0), uint16_t(2), uint16_t(1), Op(3, 7), Op(4, 0), Op(1, 0)}) h.U16(w);
    h.U32(0);
    ASSERT_GE(bytes.size(), h.Size());
    EXPECT_EQ(bytes.substr(0, h.Size()), h.Data());
}

} // namespace
