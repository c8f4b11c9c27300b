// Element records of types 0 to 20, each run scan by scan over the bit image.
#include <functional>
#include <set>

#include "EmulatorTestSupport.h"

namespace {

using namespace emutest;
using dbgfile::Bits;
using dbgfile::Builder;
using dbgfile::Inv;
using dbgfile::Machine;
using dbgfile::Op;

class ElementTest : public EmulatorTest {
protected:
    // Sets bits (raw), then runs one scan.
    void Scan(std::initializer_list<std::pair<uint16_t, int>> bits = {}) {
        for (auto [op, v] : bits) SetRaw(vac, op, v);
        vac.Run();
    }
    // The state byte a record keeps in its word 0.
    int StateByte(int record = 0) { return vac.Code()[std::size_t(vac.RecordOffset(record) + 1)]; }
};

const uint16_t A = Op(10, 0), B = Op(10, 1), C = Op(10, 2), D = Op(10, 3), Q = Op(20, 0), Q2 = Op(20, 1);

TEST_F(ElementTest, AndOrXorOverEveryInputPattern) {
    struct Case {
        int type;
        std::vector<int> in;
        int out;
    };
    const Case cases[] = {
        {0, {}, 1},      {0, {1, 1, 1}, 1}, {0, {1, 0, 1}, 0},    {1, {}, 0},         {1, {0, 0}, 0},
        {1, {0, 1}, 1},  {12, {1}, 1},      {12, {1, 1}, 0},      {12, {0, 1, 0}, 1}, {12, {0, 0, 0}, 0},
        {12, {1, 1, 1}, 0}, {12, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.type) + " inputs " + std::to_string(c.in.size()));
        Builder b;
        std::vector<uint16_t> in = Bits(10, int(c.in.size()));
        b.Record(c.type, in, {Q, Inv(Q2)});
        LoadOk(b);
        for (std::size_t j = 0; j < c.in.size(); ++j) SetRaw(vac, in[j], c.in[j]);
        vac.Run();
        EXPECT_EQ(Raw(vac, Q), c.out);
        EXPECT_EQ(Raw(vac, Q2), 1 - c.out); // an inverted output stores the negated value
    }
}

TEST_F(ElementTest, InvertedInputReadsOneFromAClearedBit) {
    Builder b;
    b.And({Inv(A)}, {Q});
    b.Or({Inv(B)}, {Inv(Q2)});
    LoadOk(b);
    SetRaw(vac, Q2, 1);
    Scan();
    EXPECT_EQ(Raw(vac, Q), 1);
    EXPECT_EQ(Raw(vac, Q2), 0); // 1 written through an inverted output clears the bit
    Scan({{A, 1}, {B, 1}});
    EXPECT_EQ(Raw(vac, Q), 0);
    EXPECT_EQ(Raw(vac, Q2), 1);
}

TEST_F(ElementTest, FlipFlopsKeepTheirStateInTheCode) {
    struct Step {
        std::vector<int> in; // trigger: S R; dtrigger: D C; drstrigger: S D C R
        int out;
    };
    struct Case {
        int type;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {2, {{{0, 0}, 0}, {{1, 0}, 1}, {{0, 0}, 1}, {{1, 1}, 0}, {{0, 0}, 0}, {{1, 0}, 1}, {{0, 1}, 0}}},
        {5, {{{1, 0}, 0}, {{1, 1}, 1}, {{0, 1}, 1}, {{0, 0}, 1}, {{0, 1}, 0}, {{1, 1}, 0}, {{1, 0}, 0}, {{1, 1}, 1}}},
        {8,
         {{{0, 0, 0, 0}, 0},
          {{1, 0, 0, 0}, 1},
          {{0, 0, 0, 0}, 1},
          {{1, 0, 1, 0}, 0}, // clock edge with D = 0 resets, even with S = 1
          {{0, 1, 0, 0}, 0},
          {{0, 1, 1, 0}, 1}, // clock edge with D = 1 sets
          {{1, 1, 1, 1}, 0}, // R wins
          {{1, 0, 1, 0}, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.type));
        Builder b;
        std::vector<uint16_t> in = Bits(10, int(c.steps[0].in.size()));
        b.Record(c.type, in, {Q, Inv(Q2)});
        LoadOk(b);
        int n = 0;
        for (const Step& s : c.steps) {
            SCOPED_TRACE("step " + std::to_string(n++));
            for (std::size_t j = 0; j < in.size(); ++j) SetRaw(vac, in[j], s.in[j]);
            vac.Run();
            EXPECT_EQ(Raw(vac, Q), s.out);
            EXPECT_EQ(Raw(vac, Q2), 1 - s.out);
            EXPECT_EQ(StateByte(), s.out ? 0x80 : 0);
        }
    }
}

TEST_F(ElementTest, AStateWrittenByTheProducerCountsAsSet) {
    Builder b;
    b.Record(2, {A, B}, {Q}, 0x01);
    LoadOk(b);
    Scan();
    EXPECT_EQ(Raw(vac, Q), 1);
    vac.ClearImages(); // clearing the images does not reset states held in the code
    Scan();
    EXPECT_EQ(Raw(vac, Q), 1);
}

TEST_F(ElementTest, CntCountsRisingEdgesAndWrapsThroughInvertedOutputs) {
    Builder b;
    const std::vector<uint16_t> q = {Inv(Op(20, 0)), Inv(Op(20, 1)), Inv(Op(20, 2))};
    b.Record(6, {A, B}, q); // count, reset
    LoadOk(b);
    auto value = [&] { return 7 - RawValue(vac, q); }; // the outputs' value, inversion applied
    EXPECT_EQ(value(), 7);                              // cleared bits read 111
    Scan({{A, 1}});
    EXPECT_EQ(value(), 0); // 111 + 1 wraps to 000
    EXPECT_EQ(RawValue(vac, q), 7);
    Scan();
    EXPECT_EQ(value(), 0); // a held count input is no edge
    for (int expected = 1; expected <= 3; ++expected) {
        Scan({{A, 0}});
        Scan({{A, 1}});
        EXPECT_EQ(value(), expected);
    }
    Scan({{A, 0}, {B, 1}});
    EXPECT_EQ(value(), 0);
    Scan({{A, 1}, {B, 1}}); // reset wins over an edge
    EXPECT_EQ(value(), 0);
}

TEST_F(ElementTest, RcntPresetsAndCountsBothWays) {
    Builder b;
    const std::vector<uint16_t> q = Bits(20, 3);
    const std::vector<uint16_t> qi = {Inv(Op(21, 0)), Inv(Op(21, 1)), Inv(Op(21, 2))};
    b.Record(15, {A, B, C}, q);  // count, preset, direction
    b.Record(15, {A, B, C}, qi); // the same through inverted outputs
    LoadOk(b);
    auto inverted = [&] { return 7 - RawValue(vac, qi); };
    Scan({{C, 0}, {A, 1}}); // direction 0: down from 000
    EXPECT_EQ(RawValue(vac, q), 7);
    EXPECT_EQ(inverted(), 6); // inverted outputs started at 111
    Scan({{A, 0}});
    Scan({{A, 1}, {C, 1}}); // up
    EXPECT_EQ(RawValue(vac, q), 0);
    EXPECT_EQ(inverted(), 7);
    Scan({{B, 1}, {C, 0}}); // preset, direction 0: all 1
    EXPECT_EQ(RawValue(vac, q), 7);
    EXPECT_EQ(inverted(), 7);
    Scan({{B, 1}, {C, 1}}); // preset, direction 1: all 0
    EXPECT_EQ(RawValue(vac, q), 0);
    EXPECT_EQ(inverted(), 0);
    Scan({{B, 0}, {A, 0}});
    Scan({{A, 1}, {C, 0}});
    EXPECT_EQ(RawValue(vac, q), 7);
}

TEST_F(ElementTest, DcdRaisesTheOutputOfTheInputValue) {
    Builder b;
    const std::vector<uint16_t> q = Bits(20, 4);
    b.Record(7, {A, B, C}, q);
    LoadOk(b);
    const int expected[8] = {1, 2, 4, 8, 0, 0, 0, 0};
    for (int v = 0; v < 8; ++v) {
        SetValue(vac, {A, B, C}, v);
        vac.Run();
        EXPECT_EQ(RawValue(vac, q), expected[v]) << v;
    }
}

TEST_F(ElementTest, D8TriggerLatchesOnTheClockAndOtherwiseRestoresThePreviousImage) {
    Builder b;
    const std::vector<uint16_t> data = Bits(10, 8), q = Bits(20, 8);
    const uint16_t clock = Op(11, 0), reset = Op(11, 1);
    std::vector<uint16_t> in = data;
    in.insert(in.end(), {clock, reset});
    b.Record(9, in, q);
    LoadOk(b);
    SetValue(vac, data, 0xA5);
    Scan();
    EXPECT_EQ(RawValue(vac, q), 0);
    Scan({{clock, 1}});
    EXPECT_EQ(RawValue(vac, q), 0xA5);
    SetValue(vac, data, 0x11);
    vac.SetBit(20, 1, 1); // an outside change of an output
    Scan();
    EXPECT_EQ(RawValue(vac, q), 0xA5);
    Scan({{reset, 1}, {clock, 0}});
    EXPECT_EQ(RawValue(vac, q), 0);
}

TEST_F(ElementTest, D8RsCntLoadsCountsAndResets) {
    Builder b;
    const std::vector<uint16_t> data = Bits(10, 8), q = Bits(20, 8);
    const uint16_t load = Op(11, 0), reset = Op(11, 1), count = Op(11, 2);
    std::vector<uint16_t> in = data;
    in.insert(in.end(), {load, reset, count});
    b.Record(10, in, q);
    LoadOk(b);
    SetValue(vac, data, 0x0F);
    Scan({{load, 1}});
    EXPECT_EQ(RawValue(vac, q), 0x0F);
    Scan({{count, 1}});
    EXPECT_EQ(RawValue(vac, q), 0x10);
    SetValue(vac, data, 0xFE);
    Scan({{load, 0}, {count, 0}});
    Scan({{load, 1}, {count, 1}}); // both edges: the load wins
    EXPECT_EQ(RawValue(vac, q), 0xFE);
    Scan({{count, 0}});
    Scan({{count, 1}});
    Scan({{count, 0}});
    Scan({{count, 1}});
    EXPECT_EQ(RawValue(vac, q), 0x00); // 0xFF + 1 wraps
    Scan({{reset, 1}, {load, 0}});
    Scan({{load, 1}});
    EXPECT_EQ(RawValue(vac, q), 0);
}

TEST_F(ElementTest, CbyteComparesTwoBytes) {
    Builder b;
    std::vector<uint16_t> in = Bits(10, 16);
    const std::vector<uint16_t> q = Bits(20, 3);
    b.Record(11, in, q);
    LoadOk(b);
    const int cases[][3] = {{5, 3, 1}, {3, 3, 2}, {3, 200, 4}, {255, 0, 1}};
    for (const auto& c : cases) {
        SetValue(vac, in, c[0] | c[1] << 8);
        vac.Run();
        EXPECT_EQ(RawValue(vac, q), c[2]) << c[0] << " " << c[1];
    }
}

TEST_F(ElementTest, TimerStartsOnAnEdgeRunsUntilItsCounterEndsAndIsNotRestarted) {
    Builder b;
    b.Timers = 8;
    b.Timer(A, B, 3, 5, {Q, Inv(Q2)});
    LoadOk(b);
    const std::size_t running = std::size_t(vac.RecordOffset(0) + 6 + 4 + 3);
    Scan();
    EXPECT_EQ(Raw(vac, Q), 0);
    Scan({{A, 1}});
    EXPECT_EQ(Raw(vac, Q), 1);
    EXPECT_EQ(Raw(vac, Q2), 0);
    EXPECT_EQ(vac.TimerCounter(5), 3);
    EXPECT_EQ(vac.Code()[running] & 0x80, 0x80);
    vac.Tick();
    vac.Tick();
    Scan({{A, 0}});
    Scan({{A, 1}}); // a start edge while running does not restart
    EXPECT_EQ(vac.TimerCounter(5), 1);
    EXPECT_EQ(Raw(vac, Q), 1);
    vac.Tick();
    vac.Tick(); // a counter at 0 stays 0
    EXPECT_EQ(vac.TimerCounter(5), 0);
    Scan();
    EXPECT_EQ(Raw(vac, Q), 0);
    EXPECT_EQ(vac.Code()[running] & 0x80, 0);
    Scan();
    EXPECT_EQ(Raw(vac, Q), 0); // no new edge
    Scan({{A, 0}});
    Scan({{A, 1}});
    EXPECT_EQ(Raw(vac, Q), 1);
    Scan({{B, 1}}); // stop while running
    EXPECT_EQ(Raw(vac, Q), 0);
    Scan({{A, 0}});
    Scan({{A, 1}}); // an edge while stopped does not start
    EXPECT_EQ(Raw(vac, Q), 0);
    EXPECT_EQ(vac.Code()[running] & 0x80, 0);
}

TEST_F(ElementTest, TimerWithPresetZeroGivesOneScanOfOne) {
    Builder b;
    b.Timers = 1;
    b.Timer(A, B, 0, 0, {Q});
    LoadOk(b);
    Scan({{A, 1}});
    EXPECT_EQ(Raw(vac, Q), 1);
    Scan();
    EXPECT_EQ(Raw(vac, Q), 0);
}

TEST_F(ElementTest, PredTimerMultipliesItsPresetByTheFactorInputs) {
    Builder b;
    b.Timers = 2;
    const uint16_t f0 = Op(11, 0), f1 = Op(11, 1);
    b.PredTimer(A, B, {f0, f1}, 2, 1, {Q});
    LoadOk(b);
    Scan({{A, 1}, {f0, 1}, {f1, 1}});
    EXPECT_EQ(vac.TimerCounter(1), 6);
    EXPECT_EQ(Raw(vac, Q), 1);
    for (int t = 0; t < 6; ++t) vac.Tick();
    Scan();
    EXPECT_EQ(Raw(vac, Q), 0);
    // Factor inputs all 0: like a timer with preset 0.
    Scan({{A, 0}, {f0, 0}, {f1, 0}});
    Scan({{A, 1}});
    EXPECT_EQ(Raw(vac, Q), 1);
    EXPECT_EQ(vac.TimerCounter(1), 0);
    Scan();
    EXPECT_EQ(Raw(vac, Q), 0);
}

TEST_F(ElementTest, PredTimerCounterSaturatesInsteadOfOverflowing) {
    Builder b;
    b.Timers = 1;
    std::vector<uint16_t> factors = Bits(11, 40);
    b.PredTimer(A, B, factors, 0xFFFFF, 0, {Q});
    LoadOk(b);
    SetValue(vac, std::vector<uint16_t>(factors.begin(), factors.begin() + 30), 0x3FFFFFFF);
    SetRaw(vac, factors[39], 1);
    Scan({{A, 1}});
    EXPECT_EQ(vac.TimerCounter(0), INT32_MAX);
    EXPECT_EQ(Raw(vac, Q), 1);
}

TEST_F(ElementTest, CaseTablesPickTheFirstMatchingRowElseTheDefault) {
    const std::vector<uint16_t> in8 = Bits(10, 8), in16 = Bits(10, 16), q = Bits(20, 4);
    struct Case {
        const char* what;
        std::function<void(Builder&)> build;
        std::vector<std::pair<int, int>> valueToOutputs;
    };
    const Case cases[] = {
        {"cdec",
         [&](Builder& b) { b.CaseTable(14, in8, {{5, 0xA}, {5, 0xB}, {7, 0xC}, {300, 0x1}}, 0xF, q); },
         {{5, 0xA}, {7, 0xC}, {1, 0xF}, {44, 0xF}, {255, 0xF}}},
        {"cdec16",
         [&](Builder& b) { b.CaseTable(17, in16, {{0x1234, 0x5}, {0xFFFF, 0x6}, {0x1234, 0x9}}, 0x7, q); },
         {{0x1234, 0x5}, {0xFFFF, 0x6}, {0, 0x7}, {0x34, 0x7}}},
        {"cMask: a triple beats a pair",
         [&](Builder& b) { b.CMask(in16, {{0x10, 0xF0, 1}, {0x03, 0x0F, 4}}, {{0x13, 2}, {0x23, 3}}, 9, q); },
         {{0x13, 1}, {0x23, 4}, {0x1F, 1}, {0x33, 4}, {0x42, 9}, {0x110, 1}}},
        {"cMask with pairs only", [&](Builder& b) { b.CMask(in16, {}, {{0x13, 2}, {0x23, 3}}, 9, q); },
         {{0x13, 2}, {0x23, 3}, {0x33, 9}}},
        {"cMask with the default only", [&](Builder& b) { b.CMask(in16, {}, {}, 6, q); }, {{0, 6}, {0xFFFF, 6}}},
        {"cDiap: bounds in either order",
         [&](Builder& b) { b.CDiap(in16, {{1, 2}, {3, 4}, {10, 5}}, q); },
         {{7, 3}, {0, 0}, {2, 1}, {3, 2}, {5, 3}, {10, 3}, {11, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Builder b;
        c.build(b);
        LoadOk(b);
        for (auto [v, expected] : c.valueToOutputs) {
            SetValue(vac, in16, v);
            vac.Run();
            EXPECT_EQ(RawValue(vac, q), expected) << v;
        }
    }
}

TEST_F(ElementTest, CommutPassesGroupAOnSelectOneElseGroupB) {
    Builder b;
    const std::vector<uint16_t> ga = Bits(10, 3), gb = Bits(11, 3), q = Bits(20, 3);
    const uint16_t select = Op(12, 0);
    b.Commut(ga, gb, select, q);
    LoadOk(b);
    SetValue(vac, ga, 5);
    SetValue(vac, gb, 2);
    Scan({{select, 1}});
    EXPECT_EQ(RawValue(vac, q), 5);
    Scan({{select, 0}});
    EXPECT_EQ(RawValue(vac, q), 2);
}

TEST_F(ElementTest, IfGotoSkipsTheNextRecordsOnlyWhenTrue) {
    Builder b;
    const uint16_t q0 = Op(20, 0), q1 = Op(20, 1), q2 = Op(20, 2);
    b.IfGoto(A, 2);
    b.And({}, {q0});
    b.Timers = 1;
    b.Timer(B, C, 4, 0, {q1}); // a timer record: sized by its own rule
    b.And({}, {q2});
    LoadOk(b);
    Scan({{A, 1}});
    EXPECT_EQ(Raw(vac, q0), 0);
    EXPECT_EQ(Raw(vac, q1), 0);
    EXPECT_EQ(Raw(vac, q2), 1);
    Scan({{A, 0}, {B, 1}});
    EXPECT_EQ(Raw(vac, q0), 1);
    EXPECT_EQ(Raw(vac, q1), 1);
    EXPECT_EQ(Raw(vac, q2), 1);
}

} // namespace

namespace {
using InputBuild = std::function<void(Builder&, const std::vector<uint16_t>&)>;
} // namespace

// The inputs whose value at the end of the last scan a record reads are
// exactly those the table of edge inputs names (PreviousRead, which the
// translator's warning about edges never seen relies on): an input's old
// value changes what the record does, for some value of the other inputs,
// only where the table says so. Every record type has a row; a jump's deed is
// whether the record after it runs.
TEST_F(ElementTest, ARecordReadsTheOldValueOfExactlyTheInputsTheEdgeTableNames) {
    const std::vector<uint16_t> outs = Bits(20, 8);
    auto generic = [&](int type, int outputs) -> InputBuild {
        return [=](Builder& b, const std::vector<uint16_t>& in) {
            b.Record(type, in, std::vector<uint16_t>(outs.begin(), outs.begin() + outputs));
        };
    };
    // CASE rows and ranges that tell every input apart: bit j alone gives
    // j + 1 and no bit the default 0 (cMask's triples take the lowest bit of
    // the low byte, cDiap's ranges the highest bit).
    auto singleBits = [](int from, int to) {
        std::vector<std::pair<uint16_t, uint16_t>> rows;
        for (int j = from; j < to; ++j) rows.push_back({uint16_t(1 << j), uint16_t(j + 1)});
        return rows;
    };
    std::vector<Builder::Triple> bitSet; // {value, mask}: bit j is set
    for (int j = 0; j < 8; ++j) bitSet.push_back({uint16_t(1 << j), uint16_t(1 << j), uint16_t(j + 1)});
    std::vector<std::pair<uint16_t, uint16_t>> highestBit;
    for (int j = 0; j < 16; ++j) highestBit.push_back({uint16_t(1 << j), uint16_t((2 << j) - 1)});
    // State 1 goes to state j + 2 on input j and to state 5 on the reset
    // pattern; each state shows its own outputs.
    Machine machine;
    machine.Outputs = {outs[0], outs[1], outs[2]};
    machine.Initial = 1;
    machine.ResetPattern = "111";
    machine.ResetState = 5;
    machine.States = {{"000", {{"1XX", 2}, {"X1X", 3}, {"XX1", 4}}}, {"100", {}}, {"010", {}}, {"001", {}},
                      {"111", {}}};
    const std::vector<std::tuple<int, int, InputBuild>> cases = {
        {etAnd, 2, generic(etAnd, 1)},
        {etOr, 2, generic(etOr, 1)},
        {etXor, 3, generic(etXor, 1)},
        {etTrigger, 2, generic(etTrigger, 2)},
        {etDTrigger, 2, generic(etDTrigger, 2)},
        {etCnt, 2, generic(etCnt, 4)},
        {etDcd, 4, generic(etDcd, 8)},
        {etDrsTrigger, 4, generic(etDrsTrigger, 2)},
        {etD8Trigger, 10, generic(etD8Trigger, 8)},
        {etD8RsCnt, 11, generic(etD8RsCnt, 8)},
        {etCByte, 16, generic(etCByte, 3)},
        {etRCnt, 3, generic(etRCnt, 4)},
        {etTimer, 2,
         [](Builder& b, const std::vector<uint16_t>& in) {
             b.Timers = 1;
             b.Timer(in[0], in[1], 5, 0, {Q});
         }},
        {etPredTimer, 4,
         [](Builder& b, const std::vector<uint16_t>& in) {
             b.Timers = 1;
             b.PredTimer(in[0], in[1], {in[2], in[3]}, 5, 0, {Q});
         }},
        {etFilter, 5,
         [&](Builder& b, const std::vector<uint16_t>& in) { b.Filter({in[0], in[1], in[2], in[3]}, in[4], 0, Bits(20, 4)); }},
        {etCommut, 5,
         [](Builder& b, const std::vector<uint16_t>& in) { b.Commut({in[0], in[1]}, {in[2], in[3]}, in[4], {Q, Q2}); }},
        {etCDec, 8,
         [&](Builder& b, const std::vector<uint16_t>& in) { b.CaseTable(etCDec, in, singleBits(0, 8), 0, outs); }},
        {etCDec16, 16,
         [&](Builder& b, const std::vector<uint16_t>& in) {
             b.CaseTable(etCDec16, in, singleBits(0, 16), 0, outs);
         }},
        {etCMask, 16,
         [&](Builder& b, const std::vector<uint16_t>& in) { b.CMask(in, bitSet, singleBits(8, 16), 0, outs); }},
        {etCDiap, 16, [&](Builder& b, const std::vector<uint16_t>& in) { b.CDiap(in, highestBit, outs); }},
        {etIfGoto, 1,
         [](Builder& b, const std::vector<uint16_t>& in) {
             b.IfGoto(in[0], 1);
             b.And({}, {Q});
         }},
        {etMachine, 3,
         [&](Builder& b, const std::vector<uint16_t>& in) {
             Machine m = machine;
             m.Inputs = in;
             b.StateMachine(m);
         }},
    };
    std::set<int> covered;
    for (const auto& c : cases) covered.insert(std::get<0>(c));
    for (int type = 0; type < kElementTypeCount; ++type)
        EXPECT_EQ(covered.count(type), type == etDelay ? 0u : 1u) << "type " << type; // the delay has no record
    // What one scan of the loaded file leaves (image, record state, timer)
    // with the other inputs at 0, at 1 (others == -1) or all 0 but one
    // (others), input at 1 now and at old at the end of the last scan. The
    // file is loaded afresh, so that every scan starts from the states it
    // holds.
    auto scan = [&](int inputs, int input, int others, int old) {
        EXPECT_EQ(vac.Load(), kLoadOk);
        const std::vector<uint16_t> in = Bits(10, inputs);
        for (int k = 0; k < inputs; ++k)
            SetRaw(vac, in[std::size_t(k)], k == input ? old : others == -1 || others == k);
        vac.SavePrevious();
        SetRaw(vac, in[std::size_t(input)], 1);
        vac.Run();
        std::vector<uint8_t> seen(vac.ImageBytes(), vac.ImageBytes() + 64);
        seen.insert(seen.end(), vac.Code().begin(), vac.Code().end());
        seen.push_back(uint8_t(vac.TimerCounter(0)));
        return seen;
    };
    for (const auto& [type, inputs, build] : cases) {
        SCOPED_TRACE("type " + std::to_string(type));
        Builder b;
        build(b, Bits(10, inputs));
        LoadOk(b);
        for (int input = 0; input < inputs; ++input) {
            SCOPED_TRACE("input " + std::to_string(input));
            bool readsOld = false;
            for (int others = -1; others <= inputs; ++others)
                readsOld = readsOld || scan(inputs, input, others, 0) != scan(inputs, input, others, 1);
            EXPECT_EQ(readsOld, PreviousRead(type, input, inputs) != TPreviousRead::None);
        }
    }
}
