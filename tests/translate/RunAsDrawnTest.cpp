// Counters with an output left unconnected, translated from their work files
// and run on the emulator as the user drew them.
#include "TranslateTestSupport.h"
#include "debugger/Vac.h"

namespace {

using namespace trtest;

AnsiString Name(const char* prefix, int k) { return prefix + IntToStr(k); }

class RunAsDrawnTest : public TranslateTest {
protected:
    TVAC vac;

    void LoadProgram() {
        ASSERT_EQ(Generate(), kTranslateOk);
        vac.FileName = DataPath();
        ASSERT_EQ(vac.Load(), kLoadOk);
    }
    void Edge(const char* input) {
        SetSignal(vac, input, 0);
        vac.Run();
        SetSignal(vac, input, 1);
        vac.Run();
    }
};

// A counter of three outputs with its middle output unconnected, and after it
// an element whose own unconnected output writes 0 in every scan: the count
// runs as if the middle output were wired.
TEST_F(RunAsDrawnTest, ACounterWithAnOpenOutputCountsAsIfItWereWired) {
    struct Case {
        const char* what;
        std::vector<AnsiString> block; // count input I0
        std::vector<std::pair<const char*, int>> levels;
        int step; // +1 or -1 per edge
    };
    const AnsiString open = Out("_null_out_", true); // as the writer marks an unconnected, not inverted pin
    std::vector<AnsiString> d8 = {"D1 d8rscnt"};
    for (int k = 3; k < 11; ++k) d8.push_back(In(Name("I", k)));
    d8.insert(d8.end(), {In("I1"), In("I2"), In("I0"), Out("Q0"), open, Out("Q2")}); // load, reset, count
    const Case cases[] = {
        {"cnt", {"CNT1 cnt", In("I0"), In("I1"), Out("Q0"), open, Out("Q2")}, {}, 1},
        {"rcnt up", {"R1 rcnt", In("I0"), In("I1"), In("I2"), Out("Q0"), open, Out("Q2")}, {{"I2", 1}}, 1},
        {"rcnt down", {"R1 rcnt", In("I0"), In("I1"), In("I2"), Out("Q0"), open, Out("Q2")}, {{"I2", 0}}, -1},
        {"d8rscnt", d8, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        work = Work::Standard();
        work.Block(c.block);
        work.Block({"OR1 or", In("I15"), Out("_null_out_", true)});
        LoadProgram();
        for (auto [name, v] : c.levels) SetSignal(vac, name, v);
        for (int edge = 1; edge <= 5; ++edge) {
            Edge("I0");
            const int value = (8 + c.step * edge) % 8;
            EXPECT_EQ(SignalBit(vac, "Q0"), value & 1) << edge;
            EXPECT_EQ(SignalBit(vac, "Q2"), value >> 2) << edge;
        }
    }
}

// The bit an open output of a counter gets is its own and has no name; other
// open outputs keep writing the common bit.
TEST_F(RunAsDrawnTest, AnOpenCounterOutputGetsAnUnnamedBitAfterTheSignals) {
    const AnsiString open = Out("_null_out_", true);
    work.Block({"CNT1 cnt", In("I0"), In("I1"), open, Out("Q1"), open});
    work.Block({"CNT2 cnt", In("I0"), In("I1"), open});
    work.Block({"OR1 or", In("I15"), open});
    ASSERT_EQ(Generate(), kTranslateOk);
    const std::vector<Record> r = Records();
    ASSERT_EQ(r.size(), 3u);
    // The connectors N1 to N8 take internal bits 2 to 9: the counters' bits follow.
    const uint16_t own[] = {N(9), N(10), N(11)};
    EXPECT_EQ(r[0].Words, (std::vector<uint16_t>{6, 2, 3, I(0), I(1), own[0], Q(1), own[1]}));
    EXPECT_EQ(r[1].Words, (std::vector<uint16_t>{6, 2, 1, I(0), I(1), own[2]}));
    EXPECT_EQ(r[2].Words, (std::vector<uint16_t>{1, 1, 1, I(15), kNullOut}));
    const DebugDataFile file = Parsed();
    ASSERT_EQ(file.Names.size(), 42u); // the null pins, I0-I15, Q0-Q15, N1-N8
    EXPECT_EQ(file.Names.back().Name, "N8");
    EXPECT_EQ(file.Names.back().Operand, N(8));
}

} // namespace
