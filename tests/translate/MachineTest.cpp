// State-machine blocks: the transition-table text becomes the machine record,
// byte for byte, and the record runs with the meaning the machine was drawn with.
#include "TranslateTestSupport.h"
#include "debugger/Vac.h"
#include "platform/Bytes.h"

namespace {

using namespace trtest;

// The worked example: 2 inputs (I0 = signal 0, I1 = signal 1), 1 output;
// the initial transition to S1 on XX, the reset to S1 on 1X, S1 (output 0)
// to S2 on 01, S2 (output 1) to S1 on 00.
std::vector<AnsiString> ExampleBlock() {
    return {"M fsm",
            In("I0"),
            In("I1"),
            Out("Q0"),
            "%~2 2 ",
            "%%00000000-11111111=00000001;",
            "%%00000010-11111101=00000001;",
            "%~1 ",
            "%%00000000;00000001-11111100=00000010;",
            "%~1 ",
            "%%00000001;00000000-11111100=00000001;"};
}

std::string Bytes(std::initializer_list<int> v) {
    std::string s;
    for (int b : v) s += char(b);
    return s;
}

TEST_F(TranslateTest, WorkedStateMachineBecomesItsRecord) {
    work.Block(ExampleBlock());
    ASSERT_EQ(Generate(), kTranslateOk);
    const std::vector<Record> r = Records();
    ASSERT_EQ(r.size(), 1u);
    ByteWriter w;
    for (uint16_t x : {uint16_t(21), uint16_t(2), uint16_t(1), I(0), I(1)}) w.U16(x);
    w.U16(2); // states
    w.U16(2); // rows of all states
    w.Bytes(Bytes({0x00, 0xFF, 1}));             // start: any input, to state 1
    w.Bytes(Bytes({0x02, 0xFD, 1}));             // reset: input 1 set, to state 1
    w.Bytes(Bytes({1, 0, 0x00, 0x01, 0xFC, 2})); // state 1: one row, output 0; I0 = 1, I1 = 0 -> 2
    w.Bytes(Bytes({1, 0, 0x01, 0x00, 0xFC, 1})); // state 2: one row, output 1; I0 = I1 = 0 -> 1
    w.U16(Q(0));
    EXPECT_EQ(r[0].Bytes, w.Data());
}

TEST_F(TranslateTest, WorkedStateMachineRunsAsDrawn) {
    work.Block(ExampleBlock());
    ASSERT_EQ(Generate(), kTranslateOk);
    TVAC vac;
    vac.FileName = DataPath();
    ASSERT_EQ(vac.Load(), kLoadOk);
    auto q = [&] { return vac.GetBit(2, 0) ? 1 : 0; };
    auto state = [&] { return int(vac.Code()[1]); };
    vac.Run(); // idle: the start pattern takes any input
    EXPECT_EQ(state(), 1);
    EXPECT_EQ(q(), 0);
    vac.SetBit(0, 1, 1); // I1 alone: the reset row, back to 1
    vac.Run();
    EXPECT_EQ(state(), 1);
    vac.SetBit(0, 1, 0);
    vac.SetBit(0, 0, 1); // I0 alone: condition 01 (the last signal first)
    vac.Run();
    EXPECT_EQ(state(), 2);
    EXPECT_EQ(q(), 1);
    vac.Run(); // 00 is needed to go back
    EXPECT_EQ(state(), 2);
    vac.SetBit(0, 0, 0);
    vac.Run();
    EXPECT_EQ(state(), 1);
    EXPECT_EQ(q(), 0);
}

TEST_F(TranslateTest, StateMachineTableForms) {
    struct Case {
        const char* name;
        std::vector<AnsiString> block;
        std::string middle; // the record between the input and the output operands
    };
    std::vector<AnsiString> five = {"M fsm", In("I0"), In("I1"), Out("Q0"), "%~1 5 ",
                                    "%%00000000-11111111=00000001;", "%%00000000-11111111=00000000;", "%~5 "};
    // A state with five transitions: four items fill the first row to 119
    // characters, the fifth starts a continuation row.
    AnsiString row = "%%00000000;";
    for (int k = 0; k < 4; ++k) row += "00000011-11111100=00000001;";
    five.push_back(row);
    five.push_back("%%00000000-11111111=00000001;");
    const std::vector<Case> cases = {
        {"no reset transition",
         {"M fsm", In("I0"), In("I1"), Out("Q0"), "%~1 0 ", "%%00000000-11111111=00000001;",
          "%%00000000-11111111=00000000;", "%~0 ", "%%00000001;"},
         Bytes({1, 0, 0, 0, 0x00, 0xFF, 1, 0x00, 0xFF, 0, 0, 0, 0x01})},
        {"continuation row", five,
         Bytes({1, 0, 5, 0, 0x00, 0xFF, 1, 0x00, 0xFF, 0, 5, 0, 0x00, 3, 0xFC, 1, 3, 0xFC, 1, 3, 0xFC, 1, 3, 0xFC, 1,
                0x00, 0xFF, 1})},
        {"no inputs", {"M fsm", Out("Q0"), "%~1 1 ", "%%-=00000001;", "%%-=00000000;", "%~1 ", "%%00000001;-=00000001;"},
         Bytes({1, 0, 1, 0, 1, 0, 1, 0, 0x01, 1})},
        {"nine inputs: two bytes, big-endian",
         {"M fsm", In("I0"), In("I1"), In("I2"), In("I3"), In("I4"), In("I5"), In("I6"), In("I7"), In("I8"),
          Out("Q0"), "%~1 1 ", "%%0000000000000000-1111111111111111=00000001;",
          "%%0000000000000000-1111111111111111=00000000;", "%~1 ", "%%00000000;0000000100000000-1111111011111111=00000001;"},
         Bytes({1, 0, 1, 0, 0, 0, 0xFF, 0xFF, 1, 0, 0, 0xFF, 0xFF, 0, 1, 0, 0, 0x01, 0x00, 0xFE, 0xFF, 1})},
        {"an X in an output counts as 0",
         {"M fsm", In("I0"), Out("Q0"), Out("Q1"), "%~1 0 ", "%%00000000-11111111=00000001;",
          "%%00000000-11111111=00000000;", "%~0 ", "%%000000X1;"},
         Bytes({1, 0, 0, 0, 0, 0xFF, 1, 0, 0xFF, 0, 0, 0, 0x01})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        work = Work::Standard();
        work.Block(c.block);
        ASSERT_EQ(Generate(), kTranslateOk) << (Log().empty() ? "" : Log()[0].str());
        const std::vector<Record> r = Records();
        ASSERT_EQ(r.size(), 1u);
        const int inputs = r[0].Bytes[2], outputs = r[0].Bytes[4];
        const std::size_t from = 6 + 2 * std::size_t(inputs);
        EXPECT_EQ(r[0].Bytes.substr(from, r[0].Bytes.size() - from - 2 * std::size_t(outputs)), c.middle);
    }
}

} // namespace
