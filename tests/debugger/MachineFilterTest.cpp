// State-machine (type 21) and filter (type 22) records.
#include "EmulatorTestSupport.h"

namespace {

using namespace emutest;
using dbgfile::Bits;
using dbgfile::Builder;
using dbgfile::Inv;
using dbgfile::Machine;
using dbgfile::Op;

const uint16_t A = Op(10, 0), B = Op(10, 1);
const std::vector<uint16_t> kOut = Bits(20, 3);

class MachineTest : public EmulatorTest {
protected:
    // One scan with inputs A and B; returns "state:outputs" (outputs as text, output 0 first).
    std::string Step(int a, int b, int record = 0) {
        SetRaw(vac, A, a);
        SetRaw(vac, B, b);
        vac.Run();
        std::string s = std::to_string(vac.Code()[std::size_t(vac.RecordOffset(record) + 1)]) + ":";
        for (uint16_t q : kOut) s += char('0' + Raw(vac, q));
        return s;
    }
    // Inputs A, B; outputs kOut.
    static Machine Base() {
        Machine m;
        m.Inputs = {A, B};
        m.Outputs = kOut;
        m.StartPattern = "1X";
        m.ResetPattern = "00";
        m.StartState = 1;
        return m;
    }
};

TEST_F(MachineTest, IdleMachineWhoseStartDoesNotMatchClearsItsOutputs) {
    Machine m = Base();
    m.States = {{"111", {}}};
    Builder b;
    b.StateMachine(m);
    LoadOk(b);
    SetValue(vac, kOut, 7);
    EXPECT_EQ(Step(0, 1), "0:000");
    SetValue(vac, kOut, 5);
    EXPECT_EQ(Step(0, 0), "0:000");
    EXPECT_EQ(Step(1, 0), "1:111"); // the start pattern now matches
}

TEST_F(MachineTest, TransitionsTakeEffectInTheirScanOnePerScanEarlierRowFirst) {
    Machine m = Base();
    m.StartPattern = "XX";
    m.States = {
        {"100", {{"1X", 2}, {"X1", 3}}}, // both rows match 11: the first wins
        {"010", {{"XX", 3}}},
        {"001", {}},
    };
    Builder b;
    b.StateMachine(m);
    LoadOk(b);
    EXPECT_EQ(Step(1, 1), "1:100"); // all-X start: first scan
    EXPECT_EQ(Step(1, 1), "2:010");
    EXPECT_EQ(Step(1, 1), "3:001"); // the new state's rows are tried only in the next scan
    EXPECT_EQ(Step(0, 0), "3:001"); // no row: stays with its own outputs
}

TEST_F(MachineTest, ResetBeatsTheRowsAndIsNotUsedWhileIdle) {
    Machine m = Base();
    m.ResetPattern = "11";
    m.ResetState = 3;
    m.StartPattern = "X0";
    m.States = {{"100", {{"1X", 2}}}, {"010", {{"0X", 1}}}, {"001", {{"XX", 1}}}};
    Builder b;
    b.StateMachine(m);
    LoadOk(b);
    EXPECT_EQ(Step(1, 1), "0:000"); // idle: only the start pattern counts
    EXPECT_EQ(Step(0, 0), "1:100");
    EXPECT_EQ(Step(1, 1), "3:001"); // reset and row 1 match: reset wins
    EXPECT_EQ(Step(0, 1), "1:100");
    EXPECT_EQ(Step(1, 0), "2:010");
}

TEST_F(MachineTest, ResetStateZeroMeansNoReset) {
    Machine m = Base();
    m.ResetPattern = "XX";
    m.ResetState = 0;
    m.States = {{"100", {{"X1", 2}}}, {"010", {}}};
    Builder b;
    b.StateMachine(m);
    LoadOk(b);
    EXPECT_EQ(Step(1, 0), "1:100");
    EXPECT_EQ(Step(1, 1), "2:010");
}

TEST_F(MachineTest, WithoutInputsEveryPatternMatches) {
    Machine m;
    m.Outputs = kOut;
    m.StartState = 2;
    m.States = {{"100", {{"", 3}}}, {"010", {{"", 1}}}, {"001", {{"", 2}}}};
    Builder b;
    b.StateMachine(m);
    LoadOk(b);
    EXPECT_EQ(Step(0, 0), "2:010");
    EXPECT_EQ(Step(0, 0), "1:100");
    EXPECT_EQ(Step(0, 0), "3:001");
    EXPECT_EQ(Step(0, 0), "2:010");
}

TEST_F(MachineTest, ARowToStateZeroMakesItIdleWithTheFirstBlocksOutputs) {
    Machine m = Base();
    m.States = {{"110", {}}, {"011", {{"X1", 0}}}};
    m.StartState = 2;
    Builder b;
    b.StateMachine(m);
    LoadOk(b);
    EXPECT_EQ(Step(1, 0), "2:011");
    EXPECT_EQ(Step(0, 1), "0:110");
    EXPECT_EQ(Step(0, 1), "0:000");
}

TEST_F(MachineTest, InvertedInputsAndAStateWrittenByTheProducer) {
    Machine m = Base();
    m.Inputs = {Inv(A), B};
    m.Initial = 2;
    m.States = {{"100", {}}, {"010", {{"1X", 1}}}};
    Builder b;
    b.StateMachine(m);
    LoadOk(b);
    EXPECT_EQ(Step(1, 0), "2:010"); // A = 1 reads 0 through the inversion
    EXPECT_EQ(Step(0, 0), "1:100");
    vac.ClearImages(); // the state lives in the code
    EXPECT_EQ(Step(0, 0), "1:100");
}

TEST_F(MachineTest, SeventyInputsUseTheHighPatternBits) {
    Machine m;
    m.Inputs = Bits(100, 70);
    m.Outputs = Bits(20, 70);
    m.StartPattern = std::string(70, 'X');
    std::string row(70, 'X');
    row[66] = '1';
    std::string outs(70, '0');
    outs[0] = '1';
    std::string outs2(70, '0');
    outs2[69] = '1';
    outs2[64] = '1';
    m.States = {{outs, {{row, 2}}}, {outs2, {}}};
    Builder b;
    b.StateMachine(m);
    LoadOk(b);
    vac.Run();
    EXPECT_EQ(vac.GetBit(20, 0), 1);
    vac.Run();
    EXPECT_EQ(vac.Code()[1], 1);
    vac.SetBit(100 + 66 / 8, 66 % 8, 1);
    vac.Run();
    EXPECT_EQ(vac.Code()[1], 2);
    EXPECT_EQ(vac.GetBit(20, 0), 0);
    EXPECT_TRUE(vac.GetBit(20 + 69 / 8, 69 % 8));
    EXPECT_TRUE(vac.GetBit(20 + 64 / 8, 64 % 8));
}

// A machine record can end at an odd byte: the records after it, and a jump
// over it, still work.
TEST_F(MachineTest, RecordsAfterAnOddSizedMachineRunUnaligned) {
    Machine m = Base();
    m.StartPattern = "XX";
    m.States = {{"101", {}}};
    Builder b;
    b.IfGoto(Op(12, 0), 1);
    b.StateMachine(m);
    b.And({A, B}, {Op(21, 0)});
    b.Timers = 1;
    b.Timer(A, Op(12, 1), 0, 0, {Op(21, 1)});
    LoadOk(b);
    ASSERT_EQ(vac.RecordOffset(2) % 2, 1);
    EXPECT_EQ(Step(1, 1, 1), "1:101");
    EXPECT_EQ(vac.GetBit(21, 0), 1);
    EXPECT_EQ(vac.GetBit(21, 1), 2);
    vac.SetBit(12, 0, 1);
    SetValue(vac, kOut, 0);
    EXPECT_EQ(Step(0, 1, 1), "1:000"); // skipped
    EXPECT_EQ(vac.GetBit(21, 0), 0);
}

class FilterTest : public EmulatorTest {
protected:
    const std::vector<uint16_t> value = Bits(10, 14), out = Bits(20, 12);
    const uint16_t hold = Op(12, 7);
    void LoadFilter(int16_t offset) {
        Builder b;
        b.Filter(value, hold, offset, out);
        LoadOk(b);
    }
    int Step(int v, int h) {
        SetValue(vac, value, v);
        SetRaw(vac, hold, h);
        vac.Run();
        return RawValue(vac, out);
    }
    int16_t Offset() {
        std::size_t at = std::size_t(vac.RecordOffset(0) + 6 + 2 * 15);
        return int16_t(vac.Code()[at] | vac.Code()[at + 1] << 8);
    }
};

TEST_F(FilterTest, WithoutHoldTheOutputsShowTheValueModulo4001) {
    LoadFilter(0);
    const int cases[][2] = {{0, 0}, {1, 1}, {4000, 4000}, {4001, 0}, {4002, 1}, {8001, 4000}};
    for (const auto& c : cases) EXPECT_EQ(Step(c[0], 0), c[1]) << c[0];
}

TEST_F(FilterTest, HoldFreezesTheOutputsAndReleasingItFollowsFromThere) {
    LoadFilter(0);
    EXPECT_EQ(Step(1000, 0), 1000);
    EXPECT_EQ(Step(1100, 1), 1000);
    EXPECT_EQ(Offset(), 100);
    EXPECT_EQ(Step(1100, 0), 1000);
    EXPECT_EQ(Step(1200, 0), 1100);
    // A jump of more than 2000 while held is taken the short way round 4001.
    EXPECT_EQ(Step(100, 0), 0);
    EXPECT_EQ(Step(3000, 1), 0);
    EXPECT_EQ(Offset(), 100 - 1101);
}

TEST_F(FilterTest, AStoredOffsetOutsideTheRangeIsBroughtBack) {
    LoadFilter(-5000);
    EXPECT_EQ(Step(0, 0), 999);
    EXPECT_EQ(Offset(), -999);
    LoadFilter(5000);
    EXPECT_EQ(Step(0, 0), 3002);
    EXPECT_EQ(Offset(), 999);
}

} // namespace
